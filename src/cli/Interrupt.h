// Ctrl+C, and a request to terminate, while the command line runs: the handler only notes it,
// so that a wait ends at its next look and the port is released before the program exits.
#pragma once

// Installs the handler (once, at start-up).
void watchForInterrupt();

// Whether Ctrl+C was pressed since the handler was installed (any thread).
bool interrupted();

// The exit status of a run that Ctrl+C ended: 128 + SIGINT, as shells report it.
constexpr int InterruptedStatus = 130;
