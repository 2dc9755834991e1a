// The box session as the command line runs it: a reader thread that prints each read as a
// "R: " line, waits that block until the reply is in (or Ctrl+C), errors on standard error.
#pragma once

#include "BoxSession.h"
#include "BoxRequests.h"
#include "ByteFormat.h"
#include "ReceiveBuffer.h"
#include "ReceiveSink.h"
#include "SerialIo.h"
#include "StopSignal.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <thread>

class ConsoleOutput;

// Thrown out of a wait (or a read of standard input) that Ctrl+C ended; the session still
// releases its port.
struct Interrupted : std::runtime_error {
    Interrupted() : std::runtime_error("interrupted") {}
};

class ConsoleSession final : private BoxSessionHost, private ReceiveSink {
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
    // how it went: "Receive error!" when the reply is missing, short or late, and "reply too
    // long" when more came than the request expects. Under --quiet the whole reply is printed
    // once, in the display form asked for.
    Outcome send(const BoxRequest& request, ReplyLength length = ReplyLength::Exact);

    // The bytes the reader has stored since the last request.
    const ReceiveBuffer& buffer() const { return m_buffer; }

    // Prints what arrives until `duration` has passed (for ever without one) or Ctrl+C.
    void monitor(std::optional<std::chrono::milliseconds> duration);

private:
    ProgramSettings portSettings() override;
    void reportPortError(const std::string& text) override;
    void startReader() override;
    bool hasReader() const override;
    void stopReader() override;
    void pauseAfterStop(std::chrono::milliseconds pause) override;
    bool waitForReply(std::uint8_t count) override;
    void showSent(const std::string& packetDump) override;

    void showReceived(const std::string& text) override;
    void showError(const std::string& message) override;

    // Waits until `done` holds, `deadline` passes or Ctrl+C is pressed: true when `done` held.
    template <typename Condition>
    bool waitUntil(Condition done, std::chrono::steady_clock::time_point deadline);

    const ProgramSettings m_settings;
    ConsoleOutput& m_output;
    std::atomic<DisplayMode> m_displayMode;
    const std::atomic<bool> m_showCRLF;
    const DisplayMode m_replyDisplay; // --quiet prints replies in it, text replies too
    const std::chrono::milliseconds m_replyTimeout;
    std::atomic<bool> m_collectingReply{false}; // under --quiet, reads are printed as one reply
    ReceiveBuffer m_buffer;
    serial::Port m_port;
    BoxSession m_session{m_port, m_buffer, m_displayMode, *this};

    std::unique_ptr<StopSignal> m_stopReader;
    std::thread m_reader;
    std::mutex m_arrivalMutex; // guards m_shownCount; pairs with m_arrived
    std::condition_variable m_arrived;
    std::uint32_t m_shownCount = 0; // the buffer's count when the reader last printed a read
};
