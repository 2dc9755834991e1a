// The serial port of the main window: opening on first activation, "Open COM port",
// "Close COM port", release at the end, and the request/reply transaction. The steps are the
// box session's; the window shows them in its log, status bar and message boxes.
#include "Unit1.h"

#include "ByteFormat.h"
#include "SettingsFile.h"
#include "SystemMessage.h"
#include "TReadThread.h"
#include "GuiWaits.h"
#include "Unitx.h"

#include <QLabel>

ProgramSettings TForm1::portSettings()
{
    return readProgramSettings(settingsFilePath());
}

void TForm1::reportPortError(const std::string& text)
{
    ErrorBox(fromSystem(text));
}

void TForm1::startReader()
{
    Link.ReadThread = std::make_unique<TReadThread>(
        Link.ComHandle, RxBuffer, Link, [this](const QString& line) { if (!m_destroyed) AddLog(line); },
        [](const QString& message) { ErrorBox(message); }, this);
    Link.ReadThread->start();
}

bool TForm1::hasReader() const
{
    return Link.ReadThread != nullptr;
}

void TForm1::stopReader()
{
    if (Link.ReadThread)
        Link.ReadThread->stop();
}

void TForm1::pauseAfterStop(std::chrono::milliseconds pause)
{
    WaitMs(static_cast<int>(pause.count()));
}

bool TForm1::waitForReply(std::uint8_t count)
{
    return WaitForReply(RxBuffer, count);
}

bool TForm1::OpenPort()
{
    if (!Session.open())
        return false;
    Link.PortOpen = true;
    AddLog(QStringLiteral("COM port opened"));
    return true;
}

void TForm1::ClosePort()
{
    if (Session.close())
        Link.PortOpen = false;
    AddLog(QStringLiteral("COM port closed"));
}

void TForm1::Open1Click()
{
    OpenPort();
}

void TForm1::Close1Click()
{
    ClosePort();
}

void TForm1::FormActivate()
{
    if (!Link.OpenOnActivate)
        return;
    Link.OpenOnActivate = false;
    OpenPort();
}

void TForm1::FormDestroy()
{
    if (m_destroyed)
        return;
    m_destroyed = true;
    Session.release();
}

void TForm1::SendRequest(const std::string& request, std::uint8_t expectedLength)
{
    sendBoxRequest(BoxRequest{request, expectedLength});
}

BoxSession::Sent TForm1::sendBoxRequest(const BoxRequest& request)
{
    if (!Link.PortOpen)
        OpenPort();
    const BoxSession::Sent sent = Session.send(request);
    switch (sent.outcome) {
    case BoxSession::Exchange::WriteFailed:
        ErrorBox(fromSystem(sent.writeError));
        break;
    case BoxSession::Exchange::NoReply:
        AddLog(QStringLiteral("Receive error!"));
        prompts().beep();
        break;
    case BoxSession::Exchange::Replied:
        break;
    }
    showInStatusPanel(sbPanel1, QString());
    return sent;
}

void TForm1::showSent(const std::string& packetDump)
{
    showInStatusPanel(sbPanel1, QStringLiteral("Sending data..."));
    AddLog(QStringLiteral("S: ") + fromAnsi(packetDump));
}
