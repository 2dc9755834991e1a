// "aim", "goto" and "satellites": where a dish at the user's site points to see a satellite
// (with the compass bearing on a date and the motor's mounting), the positioner message that
// turns a polar mount there, and the satellites known by name, with where each is in the site's
// sky when a site is known. A value that does not make sense (a malformed longitude or date, a
// name found at several positions, a satellite below the horizon) is a usage error, and nothing
// is sent.
#include "cli/CliCommands.h"

#include "cli/ConsoleOutput.h"
#include "protocol/ByteFormat.h"
#include "protocol/CalendarDate.h"
#include "protocol/GeoCoordinates.h"
#include "protocol/MotorEstimate.h"
#include "protocol/SatelliteAim.h"
#include "protocol/SatelliteList.h"

#include <cstdio>

namespace {

// The position a satellite was found at, and the names there that the words found: "13E
// (Hot Bird 13F)".
std::string satelliteFound(const std::string& satellite, const SatelliteList& list, double longitude)
{
    std::string names;
    for (const SatellitePosition* position : list.find(satellite)) {
        if (position->longitude != longitude) // a longitude typed that also starts a name
            continue;
        for (const std::string& name : SatelliteList::namesFound(*position, satellite))
            names += (names.empty() ? "" : ", ") + name;
    }
    return formatLongitude(longitude) + (names.empty() ? "" : " (" + names + ")");
}

struct Aimed {
    SatelliteAim aim;
    std::string satellite; // as satelliteFound() says it
};

// A name may come as several words: aim hot bird.
Aimed aimFor(const std::string& command, const std::vector<std::string>& words, const CommandContext& context)
{
    if (words.empty())
        throw UsageError(command + " takes a satellite: its longitude (19.2E, 30W) or its name (Hot Bird)");
    std::string satellite;
    for (const std::string& word : words)
        satellite += (satellite.empty() ? "" : " ") + word;
    const SatelliteList list = context.satellites();
    const double longitude = checkedInput([&] { return satelliteLongitude(satellite, list); });
    const GeoSite site = context.site();
    return {checkedInput([&] { return aimAt(site, longitude); }), satelliteFound(satellite, list, longitude)};
}

void printFigure(ConsoleOutput& output, const std::string& label, const std::string& text)
{
    std::string line = label + ":";
    line.resize(std::max<std::size_t>(line.size() + 1, 11), ' ');
    output.reply(line + text);
}

// --date YYYY-MM-DD, or today.
CalendarDate compassDate(CommandOptions& options)
{
    const std::optional<std::string> text = options.take("--date");
    return text ? checkedInput([&] { return dateFromText(*text); }) : today();
}

std::string degreesText(double value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%5.1f", value);
    return text;
}

} // namespace

PlannedCommand planAim(const std::vector<std::string>& words, CommandOptions& options, const CommandContext& context)
{
    const CalendarDate date = compassDate(options);
    const Aimed aimed = aimFor("aim", words, context);
    PlannedCommand command;
    command.opensPort = false;
    command.sendsNothing = true;
    command.prepare = [aimed, date, memory = context.motorMemory, speed = context.motorSpeed](ConsoleOutput& output) {
        if (output.quiet()) {
            // The bytes as diseqc takes them: diseqc $(vantorel-cli --quiet aim 19.2E).
            output.reply(packetDump(std::string(aimed.aim.gotoMessage.begin(), aimed.aim.gotoMessage.end())));
            return Done;
        }
        printFigure(output, "satellite", aimed.satellite);
        std::vector<AimFigure> figures = aimFigures(aimed.aim, date);
        // The move goto would make from where the dish was sent last.
        std::string problem;
        MotorMemory motor = memory(problem);
        const MotorEffect effect = applySentRequest(BoxRequests::diseqcMessage(aimed.aim.gotoMessage), motor);
        figures.push_back({"move", estimateText(*effect.move, speed(problem))});
        if (!problem.empty())
            output.error(problem);
        for (const AimFigure& figure : figures)
            printFigure(output, figure.label, figure.text);
        return Done;
    };
    return command;
}

PlannedCommand planGoto(const std::vector<std::string>& words, const CommandContext& context)
{
    return sendingMessages({aimFor("goto", words, context).aim.gotoMessage});
}

PlannedCommand planSatelliteList(const SatelliteList& list, const std::optional<GeoSite>& site, bool visibleOnly)
{
    if (visibleOnly && !site)
        throw UsageError("satellites --visible needs a site: --site LAT,LON, the settings' [site], or one typed once "
                         "in the window's Point the Dish");
    PlannedCommand command;
    command.opensPort = false;
    command.sendsNothing = true;
    command.prepare = [list, site, visibleOnly](ConsoleOutput& output) {
        for (const SatellitePosition& position : list.positions()) {
            std::string line = formatLongitude(position.longitude);
            line.resize(std::max<std::size_t>(line.size() + 1, 8), ' ');
            if (site) {
                const DishPointing pointing = pointDish(*site, position.longitude);
                if (visibleOnly && !pointing.visible())
                    continue;
                line += "azimuth " + degreesText(pointing.azimuth) + ", elevation " + degreesText(pointing.elevation)
                    + "   ";
            }
            for (std::size_t i = 0; i < position.names.size(); ++i)
                line += (i ? ", " : "") + position.names[i];
            output.reply(line);
        }
        return Done;
    };
    return command;
}
