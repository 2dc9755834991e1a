// Hands a block of bytes to the log the way the reader does, 10000-byte chunks formatted in
// the current display mode through the synchronous hand-off, but without a port: no read,
// no pause between passes. What it reaches is what the log pane alone can take.
#pragma once

#include "link/GuiHandOff.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

class TForm1;
struct LinkState;

class LogFeeder {
public:
    using Clock = std::chrono::steady_clock;

    LogFeeder(TForm1& form, std::vector<std::uint8_t> bytes);
    ~LogFeeder();
    LogFeeder(const LogFeeder&) = delete;
    LogFeeder& operator=(const LogFeeder&) = delete;

    void start();
    // Abandons a hand-off in progress and joins the thread.
    void stop();

    Clock::time_point firstChunk() const { return m_start; }

private:
    void run();

    std::vector<std::uint8_t> m_bytes;
    const LinkState& m_link; // the display options the chunks are formatted in
    GuiHandOff m_handOff;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    Clock::time_point m_start;
};
