#include "cli/Interrupt.h"

#include <atomic>
#include <csignal>

#include <windows.h>

namespace {

std::atomic<bool> interruptSeen{false};

// Runs on a thread of its own that the system starts for the event.
BOOL WINAPI noteInterrupt(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    interruptSeen.store(true);
    return TRUE;
}

} // namespace

void watchForInterrupt()
{
    SetConsoleCtrlHandler(noteInterrupt, TRUE);
}

bool interrupted()
{
    return interruptSeen.load();
}

// Ctrl+Break ends a run as Ctrl+C does.
int interruptedStatus()
{
    return 128 + SIGINT;
}
