// A one-way flag that wakes a thread blocked in a port read or a hand-off at once.
#pragma once

#include <atomic>
#include <cstdint>

class StopSignal {
public:
    StopSignal();
    ~StopSignal();
    StopSignal(const StopSignal&) = delete;
    StopSignal& operator=(const StopSignal&) = delete;

    void raise();
    bool raised() const { return m_raised.load(std::memory_order_acquire); }

    // What a blocked call waits on beside its port: a descriptor that becomes readable
    // (for poll()) on POSIX, an event that becomes signalled on Windows.
    std::intptr_t waitHandle() const { return m_waitHandle; }

private:
    std::atomic<bool> m_raised{false};
    std::intptr_t m_waitHandle = -1;
};
