#include "ConsoleSession.h"

#include "ConsoleOutput.h"
#include "Interrupt.h"
#include "ReceiveLoop.h"
#include "TemporaryDisplayMode.h"

#include <algorithm>

namespace {

using Clock = std::chrono::steady_clock;

// How often a wait looks for Ctrl+C; a reply wakes it at once.
constexpr auto InterruptLook = std::chrono::milliseconds(50);

} // namespace

ConsoleSession::ConsoleSession(ProgramSettings settings, ConsoleOutput& output, DisplayMode display, bool showCRLF)
    : m_settings(std::move(settings))
    , m_output(output)
    , m_displayMode(display)
    , m_showCRLF(showCRLF)
{
}

// As the window does at its end: the modem lines dropped, the reader ended, the port closed.
ConsoleSession::~ConsoleSession()
{
    m_session.release();
}

bool ConsoleSession::open()
{
    return m_session.open();
}

ConsoleSession::Outcome ConsoleSession::send(const BoxRequest& request)
{
    const std::string packet = padToPacket(request.bytes);
    m_output.sent(packetDump(packet));
    std::optional<TemporaryDisplayMode> asText;
    if (request.textReply)
        asText.emplace(m_displayMode, DisplayMode::Ascii);
    {
        const std::lock_guard<std::mutex> lock(m_arrivalMutex);
        m_shownCount = 0;
    }
    std::string error;
    switch (m_session.exchange(packet, request.replyLength, error)) {
    case BoxSession::Exchange::Replied:
        return Outcome::Replied;
    case BoxSession::Exchange::WriteFailed:
        m_output.error(error);
        return Outcome::WriteFailed;
    case BoxSession::Exchange::NoReply:
        break;
    }
    m_output.error("Receive error!");
    return Outcome::NoReply;
}

void ConsoleSession::monitor(std::optional<std::chrono::milliseconds> duration)
{
    const Clock::time_point end = duration ? Clock::now() + *duration : Clock::time_point::max();
    waitUntil([] { return false; }, end);
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

ProgramSettings ConsoleSession::portSettings()
{
    return m_settings;
}

void ConsoleSession::reportPortError(const std::string& text)
{
    m_output.error(text);
}

void ConsoleSession::startReader()
{
    m_stopReader = std::make_unique<StopSignal>();
    m_reader = std::thread([this] {
        runReceiveLoop({m_port, m_buffer, m_displayMode, m_showCRLF, *this, *m_stopReader, [] { return false; }});
    });
}

bool ConsoleSession::hasReader() const
{
    return m_reader.joinable();
}

void ConsoleSession::stopReader()
{
    if (!m_reader.joinable())
        return;
    m_stopReader->raise();
    m_reader.join();
}

// Nothing waits to be shown here once the reader has ended.
void ConsoleSession::pauseAfterStop(std::chrono::milliseconds)
{
}

bool ConsoleSession::waitForReply(std::uint8_t count)
{
    // The bytes count once their line is out too, so that a reply's "R: " line always
    // precedes whatever the main thread prints next.
    const auto replied = [&] { return std::min(m_buffer.count(), m_shownCount) >= count; };
    if (waitUntil(replied, Clock::now() + ReplyTimeout))
        return true;
    if (interrupted())
        throw Interrupted();
    return false;
}

// The reader stores a read before it shows it, and stores the next only after.
void ConsoleSession::showReceived(const std::string& text)
{
    m_output.received(text);
    const std::lock_guard<std::mutex> lock(m_arrivalMutex);
    m_shownCount = m_buffer.count();
    m_arrived.notify_all();
}

void ConsoleSession::showError(const std::string& message)
{
    m_output.error(message);
}
