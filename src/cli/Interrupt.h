// Ctrl+C, and a request to terminate, while the command line runs: the handler only notes it,
// so that a wait ends at its next look and the port is released before the program exits.
#pragma once

// Installs the handler (once, at start-up). A closed output pipe then fails the write instead
// of ending the program, so that a command is carried out whatever happens to its output.
void watchForInterrupt();

// Whether a signal to stop came since the handler was installed, or since the last one was
// answered (any thread).
bool interrupted();

// The program has taken note of the signal and does one more thing before it ends (it halts
// the dish): its waits run again, until another signal comes.
void answerInterrupt();

// Whether the signal was Ctrl+C (or Ctrl+Break), not a request to terminate or a hang-up.
bool interruptedFromKeyboard();

// The exit status of a run that such a signal ended: 128 + its number, as shells report it
// (130 for Ctrl+C, 143 for a request to terminate, 129 for a hang-up).
int interruptedStatus();
