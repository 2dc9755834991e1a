// The serial port of the main window: opening on first activation, "Open COM port",
// "Close COM port", release at the end, and the request/reply transaction.
#include "Unit1.h"

#include "ByteFormat.h"
#include "PortSetup.h"
#include "SystemMessage.h"
#include "TReadThread.h"
#include "Transaction.h"
#include "Unitx.h"
#include "UserPaths.h"

#include <QLabel>

#include <chrono>
#include <thread>

namespace {

constexpr int StopPauseMs = 500;
constexpr auto SettleBeforeFlush = std::chrono::milliseconds(100);

// A failed step's name followed by the system message.
void reportPortError(const std::string& text)
{
    ErrorBox(fromSystem(text));
}

} // namespace

void TForm1::runStopSequence()
{
    if (!Link.ReadThread)
        return;
    Link.ReadThread->stop();
    Link.ComHandle.setEventMask(0);
    WaitMs(StopPauseMs);
}

// The stop sequence's pause runs GUI events, so an open started from it may have put a new
// reader on the handle about to be closed: whichever reader is current stops first.
bool TForm1::closeComHandle()
{
    if (Link.ReadThread)
        Link.ReadThread->stop();
    return Link.ComHandle.close();
}

bool TForm1::OpenPort()
{
    runStopSequence();
    if (Link.ComHandle.handle() != serial::NoHandle)
        closeComHandle(); // a successful close leaves no handle
    if (!ConfigurePort(Link.ComHandle, settingsFilePath(), reportPortError))
        return false;
    if (!Link.ComHandle.setEventMask(serial::EventRxChar))
        ErrorBox(QStringLiteral("ComHandle SetCommMask ") + fromSystem(systemMessage()));
    std::this_thread::sleep_for(SettleBeforeFlush);
    FlushInput(Link.ComHandle);
    Link.ReadThread = std::make_unique<TReadThread>(
        Link.ComHandle, RxBuffer, Link, [this](const QString& line) { if (!m_destroyed) AddLog(line); },
        [](const QString& message) { ErrorBox(message); }, this);
    Link.ReadThread->start();
    Link.PortOpen = true;
    AddLog(QStringLiteral("COM port opened"));
    return true;
}

void TForm1::ClosePort()
{
    runStopSequence();
    if (Link.ComHandle.handle() != serial::NoHandle && closeComHandle())
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
    Link.ComHandle.setRts(false);
    Link.ComHandle.setDtr(false);
    // The reader is stopped before its handle goes, so it never reads a closed or reused one.
    if (Link.ReadThread)
        Link.ReadThread->stop();
    if (Link.ComHandle.handle() != serial::NoHandle)
        Link.ComHandle.close();
}

void TForm1::SendRequest(const std::string& request, std::uint8_t expectedLength)
{
    if (!Link.PortOpen)
        OpenPort();
    const std::string packet = padToPacket(request);
    sbPanel1->setText(QStringLiteral("Sending data..."));
    AddLog(QStringLiteral("S: ") + fromAnsi(packetDump(packet)));
    std::string error;
    if (!WritePort(Link.ComHandle, RxBuffer, packet, error)) {
        ErrorBox(fromSystem(error));
    } else if (!WaitForReply(RxBuffer, expectedLength)) {
        AddLog(QStringLiteral("Receive error!"));
        prompts().beep();
    }
    sbPanel1->clear();
}
