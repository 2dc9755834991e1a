#include "cli/Interrupt.h"

#include <atomic>
#include <csignal>

#include <windows.h>

namespace {

std::atomic<bool> unanswered{false};

// Runs on a thread of its own that the system starts for the event. Closing the console or
// logging off are left to the system, which ends the program.
BOOL WINAPI noteInterrupt(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    unanswered.store(true);
    return TRUE;
}

} // namespace

void watchForInterrupt()
{
    SetConsoleCtrlHandler(noteInterrupt, TRUE);
}

bool interrupted()
{
    return unanswered.load();
}

void answerInterrupt()
{
    unanswered.store(false);
}

// Only the keyboard's two interrupts are handled.
bool interruptedFromKeyboard()
{
    return true;
}

// Ctrl+Break ends a run as Ctrl+C does.
int interruptedStatus()
{
    return 128 + SIGINT;
}
