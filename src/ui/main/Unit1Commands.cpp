// The fixed commands of the "Reader" menu: hardware, remote control, positioner and the
// fixed DiSEqC messages. Each handler sends its command's requests as BoxCommands describes
// them, each through the window's transaction.
#include "ui/main/Unit1.h"

#include "app/Unitx.h"
#include "protocol/BoxCommands.h"
#include "protocol/IntegerInput.h"

#include <QAction>

bool TForm1::sendBoxCommand(const BoxCommand& command, std::uint8_t argument)
{
    if (command.askFirst && !QuestionBox(QStringLiteral("Are you sure?")))
        return false;
    for (const BoxRequest& request : command.requests(argument))
        sendBoxRequest(request);
    return true;
}

// Asks for the command's number in an input box and sends it; nothing when cancelled. A text
// that does not parse raises the integer error.
void TForm1::sendBoxCommandAsking(const BoxCommand& command, const QString& caption)
{
    const auto text = prompts().inputBox(caption, QString(), QString());
    if (text)
        sendBoxCommand(command, static_cast<std::uint8_t>(parseIntegerOrThrow(trimControls(toAnsi(*text)))));
}

void TForm1::Info1Click()
{
    sendBoxCommand(BoxCommands::HardwareInfo);
}

void TForm1::Test22kHz1Click()
{
    sendBoxCommand(BoxCommands::Test22kHz, Test22kHz1->isChecked());
}

void TForm1::dsqon1Click()
{
    sendBoxCommand(BoxCommands::DsqPower, dsqon1->isChecked());
}

void TForm1::Analyse1Click()
{
    sendBoxCommand(BoxCommands::Analyse, Analyse1->isChecked());
}

void TForm1::reset2Click()
{
    if (!sendBoxCommand(BoxCommands::SoftwareReset))
        return;
    dsqon1->setChecked(false);
    Test22kHz1->setChecked(false);
}

void TForm1::IRValueDetectEnable1Click()
{
    sendBoxCommand(BoxCommands::IrDetect, true);
}

void TForm1::IRValueDetectDisable1Click()
{
    sendBoxCommand(BoxCommands::IrDetect, false);
}

void TForm1::IRValueSet1Click()
{
    sendBoxCommandAsking(BoxCommands::SetIrValue, QStringLiteral("Enter IR Value"));
}

void TForm1::IRValueGet1Click()
{
    sendBoxCommand(BoxCommands::GetIrValue);
}

void TForm1::StepUp1Click()
{
    sendBoxCommand(BoxCommands::StepUp);
}

void TForm1::StepDown1Click()
{
    sendBoxCommand(BoxCommands::StepDown);
}

void TForm1::Setposition1Click()
{
    sendBoxCommandAsking(BoxCommands::SetPosition, QStringLiteral("Enter positioner position"));
}

void TForm1::Reset1Click()
{
    sendBoxCommand(BoxCommands::DiseqcReset);
}

void TForm1::SwitchperipheralpowerON1Click()
{
    sendBoxCommand(BoxCommands::PeripheralPowerOn);
}

void TForm1::DrivePolarMotorto01Click()
{
    sendBoxCommand(BoxCommands::DriveToZero);
}

void TForm1::DriveStepMotorEastE03168FF1Click()
{
    sendBoxCommand(BoxCommands::StepEast);
}

void TForm1::DriveStepMotorWestE03169FF1Click()
{
    sendBoxCommand(BoxCommands::StepWest);
}

void TForm1::RecalculateSatellitePositionsE0316F001Click()
{
    sendBoxCommand(BoxCommands::Recalculate);
}
