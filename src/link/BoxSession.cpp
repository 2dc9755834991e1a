#include "link/BoxSession.h"

#include "app/SystemMessage.h"
#include "link/PortSetup.h"
#include "link/ReceiveBuffer.h"
#include "link/TemporaryDisplayMode.h"

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

std::string sentPacketDump(const BoxRequest& request)
{
    return packetDump(padToPacket(request.bytes));
}

BoxSession::BoxSession(serial::Port& port, ReceiveBuffer& buffer, const ReaderOptions& options,
                       BoxSessionHost& host)
    : m_port(port)
    , m_buffer(buffer)
    , m_options(options)
    , m_host(host)
{
}

// Once a reader was started, every open and close stops it and pauses, even when it has
// already ended.
void BoxSession::runStopSequence()
{
    if (!m_reader)
        return;
    m_reader->stop();
    m_port.setEventMask(0);
    m_host.pause(StopPause);
}

// The window's stop pause runs its events, so an open started from it may have put a new
// reader on the handle about to be closed: whichever reader is current stops first.
bool BoxSession::closeHandle()
{
    if (m_reader)
        m_reader->stop();
    return m_port.close();
}

bool BoxSession::open(const ProgramSettings& settings)
{
    runStopSequence();
    if (m_port.handle() != serial::NoHandle)
        closeHandle(); // a successful close leaves no handle
    if (!ConfigurePort(m_port, settings, [this](const std::string& text) { m_host.showError(text); }))
        return false;
    if (!m_port.setEventMask(serial::EventRxChar))
        m_host.showError("ComHandle SetCommMask " + systemMessage());
    std::this_thread::sleep_for(SettleBeforeFlush);
    FlushInput(m_port);
    m_reader = std::make_unique<TReadThread>(m_port, m_buffer, m_options, m_host);
    m_open = true;
    return true;
}

bool BoxSession::close()
{
    runStopSequence();
    if (m_port.handle() == serial::NoHandle || !closeHandle())
        return false;
    m_open = false;
    return true;
}

void BoxSession::release()
{
    m_port.setRts(false);
    m_port.setDtr(false);
    if (m_reader)
        m_reader->stop();
    if (m_port.handle() != serial::NoHandle)
        m_port.close();
}

BoxSession::Sent BoxSession::send(const BoxRequest& request, std::chrono::milliseconds timeout)
{
    const std::string packet = padToPacket(request.bytes);
    m_host.showSent(sentPacketDump(request));
    std::optional<TemporaryDisplayMode> asText;
    if (request.textReply)
        asText.emplace(m_options.displayMode, DisplayMode::Ascii);
    m_buffer.reset();
    std::uint32_t written = 0;
    if (!m_port.write(packet.data(), static_cast<std::uint32_t>(packet.size()), written))
        return {Exchange::WriteFailed, {}, systemMessage()};
    const bool replied = m_host.waitForReply(request.replyLength, timeout);
    return {replied ? Exchange::Replied : Exchange::NoReply, m_buffer.contents(), {}};
}
