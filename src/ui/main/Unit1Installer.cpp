// The "Installer" menu: the dialogs that work out the dish's figures and the switch and
// single-cable messages, sending through the window's own transaction.
#include "ui/main/Unit1.h"

#include "app/RememberedDish.h"
#include "app/SettingsFile.h"
#include "app/SystemString.h"
#include "ui/installer/PointDishDialog.h"
#include "ui/installer/SwitchesDialog.h"
#include "ui/main/GuiWaits.h"

void TForm1::createInstallerDialogs()
{
    const DiseqcSender send = [this](const std::vector<DiseqcMessage>& messages) { sendDiseqcMessages(messages); };
    m_pointDish = new PointDishDialog(this, settingsFilePath(), send);
    m_switches = new SwitchesDialog(this, send);
}

void TForm1::closeInstallerDialogs()
{
    m_pointDish->hide();
    m_switches->hide();
}

void TForm1::sendDiseqcMessages(const std::vector<DiseqcMessage>& messages)
{
    for (std::size_t i = 0; i < messages.size(); ++i) {
        if (i > 0)
            WaitMs(static_cast<int>(Diseqc::MessageGap.count()));
        if (sendBoxRequest(Diseqc::request(messages[i])).outcome == BoxSession::Exchange::WriteFailed)
            return;
    }
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
