// The "Installer" menu: the dialogs that work out the dish's figures and the switch and
// single-cable messages, sending through the window's own transaction.
#include "ui/main/Unit1.h"

#include "app/RememberedDish.h"
#include "app/SettingsFile.h"
#include "app/SystemString.h"
#include "link/SendInTurn.h"
#include "ui/installer/PointDishDialog.h"
#include "ui/installer/SwitchesDialog.h"
#include "ui/main/GuiWaits.h"

#include <QScopedValueRollback>

DiseqcSender TForm1::installerSender()
{
    return [this](const std::vector<DiseqcMessage>& messages, std::chrono::milliseconds gap, const QWidget* from) {
        sendDiseqcMessages(messages, gap, from);
    };
}

void TForm1::closeInstallerDialogs()
{
    for (QWidget* dialog : std::initializer_list<QWidget*>{m_pointDish, m_switches}) {
        if (dialog)
            dialog->hide();
    }
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
    // A dialog not made yet counts nothing down; it reads the dish's state when it is made.
    if (m_pointDish)
        m_pointDish->followMotor(note.effect);
}

void TForm1::PointtheDish1Click()
{
    if (!m_pointDish)
        m_pointDish = new PointDishDialog(this, settingsFilePath(), installerSender());
    m_pointDish->showDialog();
}

void TForm1::SwitchesandSingleCable1Click()
{
    if (!m_switches)
        m_switches = new SwitchesDialog(this, installerSender());
    m_switches->showDialog();
}
