// The command line's commands: each checked before the box is reached, then run over an
// open session.
#pragma once

#include "cli/ConsoleSession.h"
#include "cli/ExitStatus.h"
#include "protocol/DishPointing.h"

#include <chrono>
#include <cstdint>
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

// What a command may need beyond its words; each is looked up only by a command that needs
// it, and throws UsageError when it cannot be had.
struct CommandContext {
    std::function<GeoSite()> site;
    std::function<ProgramSettings()> settings;
    std::optional<std::chrono::milliseconds> replyTimeout; // --timeout
};

// The command in `words` (its name and arguments); throws UsageError.
PlannedCommand planCommand(const std::vector<std::string>& words, const CommandContext& context);

// "positions" and "remote": `words` after the table's name.
PlannedCommand planTableCommand(const std::string& table, const std::vector<std::string>& words);

// "aim": prints where the dish points and the message "goto" sends; opens no port.
PlannedCommand planAim(const std::vector<std::string>& words, const std::function<GeoSite()>& site);
// "goto": the DiSEqC message that turns a polar mount to the satellite in `words`.
std::string gotoMessage(const std::vector<std::string>& words, const std::function<GeoSite()>& site);
// The site of --site, or of the [site] section of a settings file; throws UsageError.
GeoSite siteFromOption(const std::string& text);
GeoSite siteFromSettings(const std::string& settingsFile);

// "ports --probe": every listed port asked whether the box answers on it.
PlannedCommand planPortProbe(std::int32_t baud, std::chrono::milliseconds timeout);
