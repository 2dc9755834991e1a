// "aim", "goto" and "satellites": where a dish at the user's site points to see a satellite,
// the positioner message that turns a polar mount there, and the satellites known by name. A
// value that does not make sense (a malformed longitude, a name found at several positions, a
// satellite below the horizon) is a usage error, and nothing is sent.
#include "cli/CliCommands.h"

#include "cli/ConsoleOutput.h"
#include "protocol/GeoCoordinates.h"
#include "protocol/MotorEstimate.h"
#include "protocol/SatelliteAim.h"
#include "protocol/SatelliteList.h"

namespace {

// A name may come as several words: aim hot bird.
SatelliteAim aimFor(const std::string& command, const std::vector<std::string>& words, const CommandContext& context)
{
    if (words.empty())
        throw UsageError(command + " takes a satellite: its longitude (19.2E, 30W) or its name (Hot Bird)");
    std::string satellite;
    for (const std::string& word : words)
        satellite += (satellite.empty() ? "" : " ") + word;
    const SatelliteList list = context.satellites();
    const double longitude = checkedInput([&] { return satelliteLongitude(satellite, list); });
    const GeoSite site = context.site();
    return checkedInput([&] { return aimAt(site, longitude); });
}

} // namespace

PlannedCommand planAim(const std::vector<std::string>& words, const CommandContext& context)
{
    const SatelliteAim aim = aimFor("aim", words, context);
    PlannedCommand command;
    command.opensPort = false;
    command.sendsNothing = true;
    command.prepare = [aim, memory = context.motorMemory, speed = context.motorSpeed](ConsoleOutput& output) {
        if (output.quiet()) {
            output.reply(Diseqc::messageText(aim.gotoMessage));
            return Done;
        }
        std::vector<AimFigure> figures = aimFigures(aim);
        // The move goto would make from where the dish was sent last.
        std::string problem;
        MotorMemory motor = memory(problem);
        const MotorEffect effect = applySentRequest(Diseqc::request(aim.gotoMessage), motor);
        figures.push_back({"move", estimateText(*effect.move, speed(problem))});
        if (!problem.empty())
            output.error(problem);
        for (const AimFigure& figure : figures) {
            std::string label = figure.label + ":";
            label.resize(std::max<std::size_t>(label.size() + 1, 11), ' ');
            output.reply(label + figure.text);
        }
        return Done;
    };
    return command;
}

PlannedCommand planGoto(const std::vector<std::string>& words, const CommandContext& context)
{
    return sendingMessages({aimFor("goto", words, context).gotoMessage});
}

PlannedCommand planSatelliteList(const SatelliteList& list)
{
    PlannedCommand command;
    command.opensPort = false;
    command.sendsNothing = true;
    command.prepare = [list](ConsoleOutput& output) {
        for (const SatellitePosition& position : list.positions()) {
            std::string line = formatLongitude(position.longitude);
            line.resize(std::max<std::size_t>(line.size() + 1, 8), ' ');
            for (std::size_t i = 0; i < position.names.size(); ++i)
                line += (i ? ", " : "") + position.names[i];
            output.reply(line);
        }
        return Done;
    };
    return command;
}
