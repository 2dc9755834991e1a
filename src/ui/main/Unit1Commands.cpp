// The fixed commands of the "Reader" menu: hardware, remote control, positioner and the
// fixed DiSEqC messages. Each sends one request (two for "IR Value Set") through SendRequest.
#include "Unit1.h"

#include "BoxRequests.h"
#include "IntegerInput.h"
#include "TemporaryDisplayMode.h"
#include "Unitx.h"

#include <QAction>

// Text replies are logged as text: ASCII display for the transaction, then the mode before
// it is written back, even if the user chose another one meanwhile.
void TForm1::sendRequest(const BoxRequest& request)
{
    if (!request.textReply) {
        SendRequest(request.bytes, request.replyLength);
        return;
    }
    const TemporaryDisplayMode asText(Link.DisplayMode, DisplayMode::Ascii);
    SendRequest(request.bytes, request.replyLength);
}

bool TForm1::askByte(const QString& caption, std::uint8_t& value)
{
    const auto text = prompts().inputBox(caption, QString(), QString());
    if (!text)
        return false;
    value = static_cast<std::uint8_t>(parseIntegerOrThrow(trimControls(toAnsi(*text))));
    return true;
}

void TForm1::Info1Click()
{
    sendRequest(BoxRequests::hardwareInfo());
}

void TForm1::Test22kHz1Click()
{
    sendRequest(BoxRequests::test22kHz(Test22kHz1->isChecked()));
}

void TForm1::dsqon1Click()
{
    sendRequest(BoxRequests::dsqPower(dsqon1->isChecked()));
}

void TForm1::Analyse1Click()
{
    sendRequest(BoxRequests::analyse(Analyse1->isChecked()));
}

void TForm1::reset2Click()
{
    if (!QuestionBox(QStringLiteral("Are you sure?")))
        return;
    sendRequest(BoxRequests::softwareReset());
    dsqon1->setChecked(false);
    Test22kHz1->setChecked(false);
}

void TForm1::IRValueDetectEnable1Click()
{
    sendRequest(BoxRequests::irDetect(true));
}

void TForm1::IRValueDetectDisable1Click()
{
    sendRequest(BoxRequests::irDetect(false));
}

void TForm1::IRValueSet1Click()
{
    std::uint8_t value = 0;
    if (!askByte(QStringLiteral("Enter IR Value"), value))
        return;
    sendRequest(BoxRequests::setIrValue(value));
    sendRequest(BoxRequests::followUp());
}

void TForm1::IRValueGet1Click()
{
    sendRequest(BoxRequests::readIrValue());
}

void TForm1::StepUp1Click()
{
    sendRequest(BoxRequests::stepUp());
}

void TForm1::StepDown1Click()
{
    sendRequest(BoxRequests::stepDown());
}

void TForm1::Setposition1Click()
{
    std::uint8_t position = 0;
    if (askByte(QStringLiteral("Enter positioner position"), position))
        sendRequest(BoxRequests::setPosition(position));
}

void TForm1::Reset1Click()
{
    sendRequest(BoxRequests::diseqcReset());
}

void TForm1::SwitchperipheralpowerON1Click()
{
    sendRequest(BoxRequests::diseqcPeripheralPowerOn());
}

void TForm1::DrivePolarMotorto01Click()
{
    sendRequest(BoxRequests::drivePolarMotorToZero());
}

void TForm1::DriveStepMotorEastE03168FF1Click()
{
    sendRequest(BoxRequests::driveStepMotorEast());
}

void TForm1::DriveStepMotorWestE03169FF1Click()
{
    sendRequest(BoxRequests::driveStepMotorWest());
}

void TForm1::RecalculateSatellitePositionsE0316F001Click()
{
    if (QuestionBox(QStringLiteral("Are you sure?")))
        sendRequest(BoxRequests::recalculateSatellitePositions());
}
