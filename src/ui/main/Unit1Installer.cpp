// The "Installer" menu: the dialogs that work out the dish's figures and the switch and
// single-cable messages, sending through the window's own transaction.
#include "ui/main/Unit1.h"

#include "app/RememberedDish.h"
#include "app/SettingsFile.h"
#include "link/SendInTurn.h"
#include "app/SystemString.h"
#include "ui/installer/PointDishDialog.h"
#include "ui/installer/SwitchesDialog.h"
#include "ui/main/GuiWaits.h"

#include <QScopedValueRollback>

void TForm1::createInstallerDialogs()
{
    const DiseqcSender send = [this](const std::vector<DiseqcMessage>& messages, std::chrono::milliseconds gap,
                                     const QWidget* from) { sendDiseqcMessages(messages, gap, from); };
    m_pointDish = new PointDishDialog(this, settingsFilePath(), send);
    m_switches = new SwitchesDialog(this, send);
}

void TForm1::closeInstallerDialogs()
{
    m_pointDish->hide();
    m_switches->hide();
}

void TForm1::sendDiseqcMessages(const std::vector<DiseqcMessage>& messages, std::chrono::milliseconds gap,
                                const QWidget* from)
{
    // A transaction's wait runs the window's events: a second one started meanwhile would
    // clear the receive buffer under the first.
    if (m_inTransaction) {
        prompts().beep();
        AddLog(QStringLiteral("Busy: a request still waits for its reply; nothing sent."));
        return;
    }
    const QScopedValueRollback<bool> busy(m_inTransaction, true);
    std::vector<BoxRequest> requests;
    for (const DiseqcMessage& message : messages)
        requests.push_back(BoxRequests::diseqcMessage(message));
    sendInTurn(
        requests, gap,
        [this, from](const BoxRequest& request) {
            return from->isVisible() && sendBoxRequest(request).outcome != BoxSession::Exchange::WriteFailed;
        },
        [](std::chrono::milliseconds duration) { WaitMs(static_cast<int>(duration.count())); });
}

void TForm1::followDish(const BoxRequest& request, bool replied)
{
    const DishNote note = noteSentToDish(settingsFilePath(), request, replied);
    if (!note.problem.empty())
        AddLog(fromSystem(note.problem));
    m_pointDish->followMotor(note.effect);
}

void TForm1::PointtheDish1Click()
{
    m_pointDish->showDialog();
}

void TForm1::SwitchesandSingleCable1Click()
{
    m_switches->showDialog();
}
