// The command line's commands: each checked before the box is reached, then run over an
// open session.
#pragma once

#include "cli/ConsoleSession.h"
#include "cli/ExitStatus.h"

#include <functional>
#include <string>
#include <vector>

class ConsoleOutput;

struct PlannedCommand {
    // What can fail without the box (a table file read), before the port is opened.
    std::function<ExitStatus(ConsoleOutput&)> prepare = [](ConsoleOutput&) { return Done; };
    std::function<ExitStatus(ConsoleSession&, ConsoleOutput&)> run;
    bool opensPort = true;              // false: `prepare` is the whole command
    bool tableOnStandardOutput = false; // the log lines then go to standard error
};

// Folds one request's outcome into a command's exit status: a port that failed outweighs a
// reply that did not come.
void noteOutcome(ConsoleSession::Outcome outcome, ExitStatus& status);

// The command in `words` (its name and arguments); throws UsageError.
PlannedCommand planCommand(const std::vector<std::string>& words);

// "positions" and "remote": `words` after the table's name.
PlannedCommand planTableCommand(const std::string& table, const std::vector<std::string>& words);
