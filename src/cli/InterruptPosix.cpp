#include "cli/Interrupt.h"

#include <atomic>
#include <csignal>

namespace {

std::atomic<int> signalSeen{0};
static_assert(std::atomic<int>::is_always_lock_free, "set from a signal handler");

extern "C" void noteInterrupt(int signal)
{
    signalSeen.store(signal);
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
    std::signal(SIGPIPE, SIG_IGN);
}

bool interrupted()
{
    return signalSeen.load() != 0;
}

int interruptedStatus()
{
    return 128 + signalSeen.load();
}
