// --wait: the time a move of the dish takes, waited for once its message went.
#pragma once

#include "cli/ExitStatus.h"
#include "protocol/MotorMemory.h"

class ConsoleOutput;
class ConsoleSession;

// Says the estimate, counts it down on standard error when that is a terminal, and says when
// the dish should be in place; throws Interrupted on Ctrl+C or another signal to stop.
ExitStatus waitForMove(ConsoleSession& session, const MotorMove& move, double speed, ConsoleOutput& output);

// After such a signal in a command that waits for its move: the dish is halted (E0 31 60), so
// that one heading for an obstacle stops before the program ends.
void haltAfterInterrupt(ConsoleSession& session, ConsoleOutput& output);
