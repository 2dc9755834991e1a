#include "BoxSession.h"

#include "PortSetup.h"
#include "ReceiveBuffer.h"
#include "SystemMessage.h"
#include "TemporaryDisplayMode.h"

#include <optional>

#include <thread>

namespace {

constexpr auto StopPause = std::chrono::milliseconds(500);
constexpr auto SettleBeforeFlush = std::chrono::milliseconds(100);

} // namespace

std::string padToPacket(std::string request)
{
    if (request.size() < PacketSize)
        request.resize(PacketSize, '\0');
    return request;
}

BoxSession::BoxSession(serial::Port& port, ReceiveBuffer& buffer, std::atomic<DisplayMode>& display,
                       BoxSessionHost& host)
    : m_port(port)
    , m_buffer(buffer)
    , m_display(display)
    , m_host(host)
{
}

void BoxSession::runStopSequence()
{
    if (!m_host.hasReader())
        return;
    m_host.stopReader();
    m_port.setEventMask(0);
    m_host.pauseAfterStop(StopPause);
}

// The window's stop pause runs its events, so an open started from it may have put a new
// reader on the handle about to be closed: whichever reader is current stops first.
bool BoxSession::closeHandle()
{
    m_host.stopReader();
    return m_port.close();
}

bool BoxSession::open()
{
    runStopSequence();
    if (m_port.handle() != serial::NoHandle)
        closeHandle(); // a successful close leaves no handle
    if (!ConfigurePort(m_port, m_host.portSettings(), [this](const std::string& text) { m_host.reportPortError(text); }))
        return false;
    if (!m_port.setEventMask(serial::EventRxChar))
        m_host.reportPortError("ComHandle SetCommMask " + systemMessage());
    std::this_thread::sleep_for(SettleBeforeFlush);
    FlushInput(m_port);
    m_host.startReader();
    return true;
}

bool BoxSession::close()
{
    runStopSequence();
    return m_port.handle() != serial::NoHandle && closeHandle();
}

void BoxSession::release()
{
    m_port.setRts(false);
    m_port.setDtr(false);
    m_host.stopReader();
    if (m_port.handle() != serial::NoHandle)
        m_port.close();
}

BoxSession::Sent BoxSession::send(const BoxRequest& request)
{
    const std::string packet = padToPacket(request.bytes);
    m_host.showSent(packetDump(packet));
    std::optional<TemporaryDisplayMode> asText;
    if (request.textReply)
        asText.emplace(m_display, DisplayMode::Ascii);
    m_buffer.reset();
    std::uint32_t written = 0;
    if (!m_port.write(packet.data(), static_cast<std::uint32_t>(packet.size()), written))
        return {Exchange::WriteFailed, {}, systemMessage()};
    const bool replied = m_host.waitForReply(request.replyLength);
    return {replied ? Exchange::Replied : Exchange::NoReply, m_buffer.contents(), {}};
}
