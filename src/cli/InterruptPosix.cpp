#include "Interrupt.h"

#include <atomic>
#include <csignal>

namespace {

std::atomic<bool> interruptSeen{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

extern "C" void noteInterrupt(int)
{
    interruptSeen.store(true);
}

} // namespace

void watchForInterrupt()
{
    struct sigaction action {};
    action.sa_handler = noteInterrupt;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a read of standard input ends with EINTR instead of waiting on.
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

bool interrupted()
{
    return interruptSeen.load();
}
