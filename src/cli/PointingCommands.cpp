// "aim" and "goto": where a dish at the user's site points to see a satellite, and the
// positioner message that turns a polar mount there. A value that does not make sense (a
// malformed longitude, a satellite below the horizon) is a usage error, and nothing is sent.
#include "cli/CliCommands.h"

#include "app/IniProfile.h"
#include "cli/CliOptions.h"
#include "cli/ConsoleOutput.h"
#include "protocol/ByteFormat.h"
#include "protocol/GeoCoordinates.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr const char* SiteExample = "52.52N,13.40E or 52.52,13.40";

GeoSite siteOf(const std::string& latitudeText, const std::string& longitudeText, const std::string& where)
{
    const std::optional<double> latitude = parseLatitude(latitudeText);
    if (!latitude)
        throw UsageError("'" + latitudeText + "'" + where + " is not a latitude (90S to 90N, or -90 to 90)");
    const std::optional<double> longitude = parseLongitude(longitudeText);
    if (!longitude)
        throw UsageError("'" + longitudeText + "'" + where + " is not a longitude (180W to 180E, or -180 to 180)");
    return {*latitude, *longitude};
}

struct Aim {
    GeoSite site;
    DishPointing pointing;
};

Aim aimFor(const std::vector<std::string>& words, const std::function<GeoSite()>& site)
{
    if (words.size() != 2)
        throw UsageError(words[0] + " takes the satellite's longitude (19.2E, 30W)");
    const std::optional<double> satellite = parseLongitude(words[1]);
    if (!satellite)
        throw UsageError("'" + words[1] + "' is not a satellite's longitude (19.2E, 30W, or -30 for 30W)");
    const GeoSite here = site();
    if (!geostationaryArcVisible(here))
        throw UsageError("no geostationary satellite rises above the horizon at " + formatSite(here));
    const DishPointing pointing = pointDish(here, *satellite);
    if (!pointing.visible())
        throw UsageError(formatLongitude(*satellite) + " is below the horizon at " + formatSite(here));
    return {here, pointing};
}

std::string messageText(const DishPointing& pointing)
{
    std::string text;
    for (const std::uint8_t byte : pointing.message)
        text += (text.empty() ? "" : " ") + hexByte(byte);
    return text;
}

std::string degrees(double value, int decimals)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

} // namespace

GeoSite siteFromOption(const std::string& text)
{
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos)
        throw UsageError("--site takes LAT,LON (" + std::string(SiteExample) + "), not '" + text + "'");
    return siteOf(text.substr(0, comma), text.substr(comma + 1), "");
}

GeoSite siteFromSettings(const std::string& settingsFile)
{
    const IniProfile profile = IniProfile::load(settingsFile);
    const std::string latitude = profile.readString("site", "latitude", "");
    const std::string longitude = profile.readString("site", "longitude", "");
    if (latitude.empty() && longitude.empty())
        throw UsageError("no site: give --site LAT,LON (" + std::string(SiteExample)
                         + "), or latitude and longitude in the [site] section of " + settingsFile);
    return siteOf(latitude, longitude, " in " + settingsFile);
}

PlannedCommand planAim(const std::vector<std::string>& words, const std::function<GeoSite()>& site)
{
    const Aim aim = aimFor(words, site);
    PlannedCommand command;
    command.opensPort = false;
    command.prepare = [aim](ConsoleOutput& output) {
        const DishPointing& pointing = aim.pointing;
        if (output.quiet()) {
            output.reply(messageText(pointing));
            return Done;
        }
        const double skew = pointing.lnbSkew;
        output.reply("azimuth:   " + degrees(pointing.azimuth, 1) + " degrees from true north");
        output.reply("elevation: " + degrees(pointing.elevation, 1) + " degrees");
        output.reply("LNB skew:  " + degrees(skew, 1) + " degrees"
                     + (std::fabs(skew) < 0.05 ? "" : skew > 0 ? " (clockwise seen from behind the dish)"
                                                                 : " (counter-clockwise seen from behind the dish)"));
        output.reply("motor:     " + degrees(pointing.motorSixteenths / 16.0, 2) + " degrees "
                     + (pointing.motorEast ? "east" : "west")
                     + (aim.site.latitude < 0 && pointing.motorSixteenths > 0
                            ? pointing.motorEast ? " (the mount faces north here: the motor's east turns the dish west)"
                                                 : " (the mount faces north here: the motor's west turns the dish east)"
                            : ""));
        output.reply("diseqc:    " + messageText(pointing));
        return Done;
    };
    return command;
}

std::string gotoMessage(const std::vector<std::string>& words, const std::function<GeoSite()>& site)
{
    const DishPointing pointing = aimFor(words, site).pointing;
    return std::string(pointing.message.begin(), pointing.message.end());
}
