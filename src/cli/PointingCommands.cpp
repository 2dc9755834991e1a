// "aim", "goto" and "satellites": where a dish at the user's site points to see a satellite
// (with the compass bearing on a date and the motor's mounting), the positioner message that
// turns a polar mount there, and the satellites known by name, with where each is in the site's
// sky when a site is known. A value that does not make sense (a malformed longitude or date, a
// name found at several positions, a satellite below the horizon) is a usage error, and nothing
// is sent.
#include "cli/CliCommands.h"

#include "cli/ConsoleOutput.h"
#include "protocol/CalendarDate.h"
#include "protocol/GeoCoordinates.h"
#include "protocol/SatelliteAim.h"
#include "protocol/SatelliteList.h"

#include <cstdio>

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
    const SatelliteAim aim = aimFor("aim", words, context);
    PlannedCommand command;
    command.opensPort = false;
    command.sendsNothing = true;
    command.prepare = [aim, date](ConsoleOutput& output) {
        if (output.quiet()) {
            output.reply(Diseqc::messageText(aim.gotoMessage));
            return Done;
        }
        for (const AimFigure& figure : aimFigures(aim, date)) {
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
