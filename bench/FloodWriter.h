// Pours a block of bytes into the master side of a pseudo-terminal from a thread of its own,
// as fast as the terminal takes them: a device that streams without a pause.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

class FloodWriter {
public:
    using Clock = std::chrono::steady_clock;

    // `master` must be non-blocking; it stays owned by the caller.
    FloodWriter(int master, std::vector<std::uint8_t> bytes);
    ~FloodWriter();
    FloodWriter(const FloodWriter&) = delete;
    FloodWriter& operator=(const FloodWriter&) = delete;

    void start();
    // Gives up on the bytes not yet written and joins the thread.
    void stop();

    std::size_t written() const { return m_written.load(); }
    // When the first byte went in (meaningful once written() > 0).
    Clock::time_point firstWrite() const { return Clock::time_point(Clock::duration(m_firstWrite.load())); }

private:
    void run();

    int m_master;
    std::vector<std::uint8_t> m_bytes;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<std::size_t> m_written{0};
    std::atomic<Clock::rep> m_firstWrite{0};
};
