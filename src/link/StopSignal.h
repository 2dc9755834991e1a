// A one-way flag that wakes a thread blocked in a port read or a hand-off at once.
#pragma once

#include <atomic>

class StopSignal {
public:
    StopSignal();
    ~StopSignal();
    StopSignal(const StopSignal&) = delete;
    StopSignal& operator=(const StopSignal&) = delete;

    void raise();
    bool raised() const { return m_raised.load(std::memory_order_acquire); }

    // A descriptor that becomes readable once the signal is raised (for poll()).
    int pollDescriptor() const { return m_descriptor; }

private:
    std::atomic<bool> m_raised{false};
    int m_descriptor = -1;
};
