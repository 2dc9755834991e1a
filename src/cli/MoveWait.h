// --wait: the time a move of the dish takes, waited for once its message went.
#pragma once

#include "cli/ExitStatus.h"
#include "protocol/MotorMemory.h"

class ConsoleOutput;
class ConsoleSession;

// Says the estimate, counts it down on standard error when that is a terminal, and says when
// the dish should be in place. Ctrl+C (or another signal to stop) meanwhile halts the dish
// (E0 31 60), so that one heading for an obstacle stops, and then throws Interrupted.
ExitStatus waitForMove(ConsoleSession& session, const MotorMove& move, double speed, ConsoleOutput& output);
