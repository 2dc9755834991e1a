// The command line's commands: each checked before the box is reached, then run over an
// open session.
#pragma once

#include "cli/CliOptions.h"
#include "cli/ConsoleSession.h"
#include "cli/ExitStatus.h"
#include "protocol/DiseqcMessages.h"
#include "protocol/GeoCoordinates.h"
#include "protocol/InputError.h"
#include "protocol/MotorMemory.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class ConsoleOutput;
class SatelliteList;

struct PlannedCommand {
    // What can fail without the box (a table file read), before the port is opened.
    std::function<ExitStatus(ConsoleOutput&)> prepare = [](ConsoleOutput&) { return Done; };
    std::function<ExitStatus(ConsoleSession&, ConsoleOutput&)> run;
    // What the command sends, known once `prepare` has run: --dry-run prints it. None for a
    // command that only listens, or asks every port.
    std::function<std::vector<BoxRequest>()> requests;
    bool opensPort = true;              // false: `prepare` is the whole command
    bool sendsNothing = false;          // a command that only prints (aim): --dry-run runs it
    bool tableOnStandardOutput = false; // the log lines then go to standard error
    bool turnsDish = false;    // it sends a move that can be waited for (a goto, a drive for a time)
    bool waitsForMove = false; // --wait: the move's time waited for once it is sent
};

// Folds one request's outcome into a command's exit status: a port that failed outweighs a
// reply that did not come.
void noteOutcome(ConsoleSession::Outcome outcome, ExitStatus& status);

// What a command may need beyond its words; each is looked up only by a command that needs
// it, and throws UsageError when it cannot be had.
struct CommandContext {
    std::function<GeoSite()> site;
    std::function<ProgramSettings()> settings;
    std::function<SatelliteList()> satellites;
    std::optional<std::chrono::milliseconds> replyTimeout; // --timeout
    // The dish's motor as last sent, and the motor's speed; what could not be read is said
    // in `problem`.
    std::function<MotorMemory(std::string& problem)> motorMemory;
    std::function<double(std::string& problem)> motorSpeed;
    std::function<std::optional<GeoSite>()> siteIfKnown;    // none where site() would say so
};

// The command in `words` (its name and arguments) with the options only some commands take;
// throws UsageError, for an option the command does not take too (--wait goes with a command
// that turns the dish).
PlannedCommand planCommand(const std::vector<std::string>& words, CommandOptions options,
                           const CommandContext& context);

// A command that sends `messages` in turn, with `gap` between them.
PlannedCommand sendingMessages(const std::vector<DiseqcMessage>& messages,
                               std::chrono::milliseconds gap = Diseqc::MessageGap);

// "positions" and "remote": `words` after the table's name.
PlannedCommand planTableCommand(const std::string& table, const std::vector<std::string>& words);

// "aim" prints where the dish points, the compass bearing on --date (today without it) and the
// message "goto" sends, and opens no port; "goto" sends that message. `words` after the
// command's name: a longitude or a satellite's name.
PlannedCommand planAim(const std::vector<std::string>& words, CommandOptions& options, const CommandContext& context);
PlannedCommand planGoto(const std::vector<std::string>& words, const CommandContext& context);
// "satellites": the list, one position a line, with each one's azimuth and elevation from the
// site when there is one, and only those above its horizon when `visibleOnly`.
PlannedCommand planSatelliteList(const SatelliteList& list, const std::optional<GeoSite>& site, bool visibleOnly);

// "switch", "scr" and the positioner's commands; `words` after the command's name. Each
// takes its own options out of `options`.
PlannedCommand planSwitch(const std::vector<std::string>& words, CommandOptions& options);
PlannedCommand planSingleCable(const std::vector<std::string>& words, CommandOptions& options);
PlannedCommand planPositioner(const std::string& name, const std::vector<std::string>& words);

// Runs a builder of the bus's messages, its InputError turned into a UsageError.
template <typename Build>
auto checkedInput(Build build) -> decltype(build())
{
    try {
        return build();
    } catch (const InputError& error) {
        throw UsageError(error.what());
    }
}

// "ports --probe": every listed port asked whether the box answers on it.
PlannedCommand planPortProbe(std::int32_t baud, std::chrono::milliseconds timeout);
