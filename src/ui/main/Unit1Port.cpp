// The serial port of the main window: opening on first activation, "Open COM port",
// "Close COM port", release at the end, and the request/reply transaction. The steps are the
// box session's; the window shows them in its log, status bar and message boxes.
#include "ui/main/Unit1.h"

#include "app/SettingsFile.h"
#include "app/Unitx.h"
#include "protocol/ByteFormat.h"
#include "ui/main/GuiWaits.h"

#include <QLabel>
#include <QMetaObject>
#include <QScopedValueRollback>

void TForm1::post(std::function<void()> job)
{
    QMetaObject::invokeMethod(this, std::move(job), Qt::QueuedConnection);
}

void TForm1::showReceived(const std::string& text)
{
    if (!m_destroyed)
        AddLog(QStringLiteral("R: ") + QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

void TForm1::showError(const std::string& message)
{
    ErrorBox(fromSystem(message));
}

void TForm1::pause(std::chrono::milliseconds duration)
{
    WaitMs(static_cast<int>(duration.count()));
}

bool TForm1::waitForReply(std::uint32_t count, std::chrono::milliseconds timeout)
{
    return WaitForReply(RxBuffer, count, timeout);
}

bool TForm1::OpenPort()
{
    if (!Session.open(readProgramSettings(settingsFilePath())))
        return false;
    AddLog(QStringLiteral("COM port opened"));
    return true;
}

void TForm1::ClosePort()
{
    Session.close();
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
    const QScopedValueRollback<bool> busy(m_inTransaction, true);
    if (!Session.PortOpen())
        OpenPort();
    const BoxSession::Sent sent = Session.send(request, ReplyTimeout);
    if (sent.outcome != BoxSession::Exchange::WriteFailed)
        followDish(request, sent.outcome == BoxSession::Exchange::Replied);
    switch (sent.outcome) {
    case BoxSession::Exchange::WriteFailed:
        ErrorBox(fromSystem(sent.writeError));
        break;
    case BoxSession::Exchange::NoReply:
        AddLog(QString::fromLatin1(ReceiveErrorText));
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
