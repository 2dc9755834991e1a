// The box session as the command line runs it: each read printed as a "R: " line by the
// reader's thread, within a fraction of a second however busy the line, waits that block
// until the reply is in (or Ctrl+C), errors on standard error.
#pragma once

#include "link/BoxSession.h"
#include "link/ReceiveBuffer.h"
#include "link/SerialIo.h"
#include "protocol/BoxRequests.h"
#include "protocol/ByteFormat.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <stdexcept>

class ConsoleOutput;

// Thrown out of a wait (or a read of standard input) that Ctrl+C ended; the session still
// releases its port.
struct Interrupted : std::runtime_error {
    Interrupted() : std::runtime_error("interrupted") {}
};

class ConsoleSession final : private BoxSessionHost {
public:
    enum class Outcome { Replied, NoReply, TooLong, WriteFailed };
    // A reply may carry bytes beyond its length only where the box sends some unasked (the
    // bus analyser's traffic); elsewhere they are a late reply to an earlier request.
    enum class ReplyLength { Exact, AtLeast };

    ConsoleSession(ProgramSettings settings, ConsoleOutput& output, DisplayMode display, bool showCRLF,
                   std::chrono::milliseconds replyTimeout);
    ~ConsoleSession() override;
    ConsoleSession(const ConsoleSession&) = delete;
    ConsoleSession& operator=(const ConsoleSession&) = delete;

    // The open sequence; false after the failed step was printed.
    bool open();

    // Sends one request through the box session, as the window's menu item does, and tells
    // how it went: ReceiveErrorText when the reply is missing, short or late, and "reply too
    // long" when more came than the request expects. Under --quiet the whole reply is printed
    // once, in the display form asked for.
    Outcome send(const BoxRequest& request, ReplyLength length = ReplyLength::Exact);

    // The bytes the reader has stored since the last request.
    const ReceiveBuffer& buffer() const { return m_buffer; }

    // Prints what arrives until `duration` has passed (for ever without one); throws
    // Interrupted when Ctrl+C or another signal to stop comes first.
    void listen(std::optional<std::chrono::milliseconds> duration);

    // Called with each request written to the box, and whether the box confirmed it (a wait
    // that Ctrl+C ended did not see it confirmed).
    using SentWatcher = std::function<void(const BoxRequest& request, bool replied)>;
    void watchSends(SentWatcher watcher) { m_sentWatcher = std::move(watcher); }

private:
    void post(std::function<void()> job) override;
    void showSent(const std::string& packetDump) override;
    void showReceived(const std::string& text) override;
    void showError(const std::string& message) override;
    bool waitForReply(std::uint32_t count, std::chrono::milliseconds timeout) override;
    void pause(std::chrono::milliseconds duration) override;

    // Waits until `done` holds, `deadline` passes or Ctrl+C is pressed: true when `done` held.
    template <typename Condition>
    bool waitUntil(Condition done, std::chrono::steady_clock::time_point deadline);

    const ProgramSettings m_settings;
    ConsoleOutput& m_output;
    std::atomic<DisplayMode> m_displayMode;
    const std::atomic<bool> m_showCRLF;
    const std::atomic<bool> m_ending{false}; // the reader ends only when stopped
    const DisplayMode m_replyDisplay; // --quiet prints replies in it, text replies too
    const std::chrono::milliseconds m_replyTimeout;
    std::atomic<bool> m_collectingReply{false}; // under --quiet, reads are printed as one reply
    ReceiveBuffer m_buffer;
    serial::Port m_port;
    BoxSession m_session;
    SentWatcher m_sentWatcher;

    std::mutex m_arrivalMutex; // guards m_shownCount; pairs with m_arrived
    std::condition_variable m_arrived;
    std::uint32_t m_shownCount = 0; // the buffer's count when the reader last printed a read
};
