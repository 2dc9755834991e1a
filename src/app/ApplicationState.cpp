#include "ApplicationState.h"

#include <atomic>

namespace {
std::atomic<bool> terminating{false}; // written by the GUI thread, read by the receive thread
}

bool applicationTerminating()
{
    return terminating.load(std::memory_order_acquire);
}

void setApplicationTerminating(bool value)
{
    terminating.store(value, std::memory_order_release);
}
