#include "cli/Interrupt.h"

#include <atomic>
#include <csignal>

namespace {

std::atomic<int> lastSignal{0};
std::atomic<bool> unanswered{false};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free,
              "set from a signal handler");

extern "C" void noteInterrupt(int signal)
{
    lastSignal.store(signal);
    unanswered.store(true);
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
    return unanswered.load();
}

void answerInterrupt()
{
    unanswered.store(false);
}

bool interruptedFromKeyboard()
{
    return lastSignal.load() == SIGINT;
}

int interruptedStatus()
{
    return 128 + lastSignal.load();
}
