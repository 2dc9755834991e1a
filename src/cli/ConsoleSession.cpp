#include "cli/ConsoleSession.h"

#include "app/SystemMessage.h"
#include "cli/ConsoleOutput.h"
#include "cli/Interrupt.h"
#include "link/PortSetup.h"

#include <algorithm>

namespace {

using Clock = std::chrono::steady_clock;

// How often a wait looks for Ctrl+C; a reply wakes it at once.
constexpr auto InterruptLook = std::chrono::milliseconds(50);

// A read ends at the line's quiet gap or after this long: a busy bus (a receiver scanning)
// never falls quiet, and a monitor streams. The window's reads keep the port's time-outs alone.
constexpr auto LongestRead = std::chrono::milliseconds(200);

// A reply as --quiet prints it. Without --crlf the ASCII form too writes CR and LF as they are
// (the line's end drops trailing ones), not as tokens.
std::string replyText(const std::vector<std::uint8_t>& reply, DisplayMode display, bool showCRLF)
{
    std::string text;
    for (const std::uint8_t byte : reply) {
        if (display == DisplayMode::Ascii && !showCRLF && (byte == '\r' || byte == '\n'))
            text += static_cast<char>(byte);
        else
            appendReceivedByte(text, byte, display, showCRLF);
    }
    return text;
}

} // namespace

ConsoleSession::ConsoleSession(ProgramSettings settings, ConsoleOutput& output, DisplayMode display, bool showCRLF,
                               std::chrono::milliseconds replyTimeout)
    : m_settings(std::move(settings))
    , m_output(output)
    , m_displayMode(display)
    , m_showCRLF(showCRLF)
    , m_replyDisplay(display)
    , m_replyTimeout(replyTimeout)
    , m_session(m_port, m_buffer, {m_displayMode, m_showCRLF, m_ending, LongestRead}, *this)
{
}

// As the window does at its end: the modem lines dropped, the reader ended, the port closed.
ConsoleSession::~ConsoleSession()
{
    m_session.release();
}

bool ConsoleSession::open()
{
    return m_session.open(m_settings);
}

ConsoleSession::Outcome ConsoleSession::send(const BoxRequest& request, ReplyLength length)
{
    {
        const std::lock_guard<std::mutex> lock(m_arrivalMutex);
        m_shownCount = 0;
    }
    m_collectingReply = m_output.quiet();
    const auto noteSent = [&](bool replied) {
        if (m_sentWatcher)
            m_sentWatcher(request, replied);
    };
    BoxSession::Sent sent;
    try {
        sent = m_session.send(request, m_replyTimeout);
    } catch (const Interrupted&) {
        noteSent(false);
        throw;
    }
    m_collectingReply = false;
    if (sent.outcome == BoxSession::Exchange::WriteFailed) {
        m_output.error(sent.writeError);
        return Outcome::WriteFailed;
    }
    noteSent(sent.outcome == BoxSession::Exchange::Replied);
    const std::vector<std::uint8_t>& reply = sent.reply;
    if (m_output.quiet() && !reply.empty())
        m_output.reply(replyText(reply, m_replyDisplay, m_showCRLF));
    if (sent.outcome == BoxSession::Exchange::NoReply) {
        m_output.error(ReceiveErrorText);
        return Outcome::NoReply;
    }
    if (length == ReplyLength::Exact && reply.size() > request.replyLength) {
        m_output.error("reply too long: " + std::to_string(reply.size()) + " bytes, "
                       + std::to_string(request.replyLength) + " expected");
        return Outcome::TooLong;
    }
    return Outcome::Replied;
}

void ConsoleSession::listen(std::optional<std::chrono::milliseconds> duration)
{
    const Clock::time_point end = duration ? Clock::now() + *duration : Clock::time_point::max();
    waitUntil([] { return false; }, end);
    if (interrupted())
        throw Interrupted();
}

template <typename Condition>
bool ConsoleSession::waitUntil(Condition done, Clock::time_point deadline)
{
    std::unique_lock<std::mutex> lock(m_arrivalMutex);
    for (;;) {
        if (done())
            return true;
        const Clock::time_point now = Clock::now();
        if (now >= deadline || interrupted())
            return false;
        m_arrived.wait_until(lock, deadline - now < InterruptLook ? deadline : now + InterruptLook);
    }
}

// The reader's lines are printed on its own thread, as they come.
void ConsoleSession::post(std::function<void()> job)
{
    job();
}

// Nothing waits to be shown here once the reader has ended.
void ConsoleSession::pause(std::chrono::milliseconds)
{
}

bool ConsoleSession::waitForReply(std::uint32_t count, std::chrono::milliseconds timeout)
{
    // The bytes count once their line is out too, so that a reply's "R: " line always
    // precedes whatever the main thread prints next.
    const auto replied = [&] { return std::min(m_buffer.count(), m_shownCount) >= count; };
    if (waitUntil(replied, Clock::now() + timeout))
        return true;
    if (interrupted())
        throw Interrupted();
    return false;
}

// The reader stores a read before it shows it, and stores the next only after.
void ConsoleSession::showSent(const std::string& packetDump)
{
    m_output.sent(packetDump);
}

void ConsoleSession::showReceived(const std::string& text)
{
    if (!m_collectingReply)
        m_output.received(text);
    const std::lock_guard<std::mutex> lock(m_arrivalMutex);
    m_shownCount = m_buffer.count();
    m_arrived.notify_all();
}

// The window shows a failed open's step in its own fixed words; the command line says which
// port failed and why, in the system's terms.
void ConsoleSession::showError(const std::string& message)
{
    const int code = lastSystemError();
    m_output.error(message == PortOpenFailed ? portOpenFailureDetail(m_settings.port, code) : message);
}
