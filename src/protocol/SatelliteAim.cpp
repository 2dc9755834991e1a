#include "protocol/SatelliteAim.h"

#include "protocol/GeoCoordinates.h"
#include "protocol/InputError.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr const char* SiteExample = "52.52N,13.40E or 52.52,13.40";

std::string degrees(double value, int decimals)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

} // namespace

GeoSite siteFromText(std::string_view text)
{
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos)
        throw InputError("a site is LAT,LON (" + std::string(SiteExample) + "), not '" + std::string(text) + "'");
    return siteFromParts(text.substr(0, comma), text.substr(comma + 1), "");
}

GeoSite siteFromParts(std::string_view latitude, std::string_view longitude, const std::string& where)
{
    const std::optional<double> north = parseLatitude(latitude);
    if (!north)
        throw InputError("'" + std::string(latitude) + "'" + where + " is not a latitude (90S to 90N, or -90 to 90)");
    const std::optional<double> east = parseLongitude(longitude);
    if (!east)
        throw InputError("'" + std::string(longitude) + "'" + where
                         + " is not a longitude (180W to 180E, or -180 to 180)");
    return {*north, *east};
}

SatelliteAim aimAt(const GeoSite& site, double longitude)
{
    if (!geostationaryArcVisible(site))
        throw InputError("no geostationary satellite rises above the horizon at " + formatSite(site));
    const DishPointing pointing = pointDish(site, longitude);
    if (!pointing.visible())
        throw InputError(formatLongitude(longitude) + " is below the horizon at " + formatSite(site));
    return {site, longitude, pointing,
            Diseqc::motorGotoAngle(pointing.motorSixteenths,
                                   pointing.motorEast ? Diseqc::Direction::East : Diseqc::Direction::West)};
}

std::vector<AimFigure> aimFigures(const SatelliteAim& aim)
{
    const DishPointing& pointing = aim.pointing;
    const double skew = pointing.lnbSkew;
    const bool turned = pointing.motorSixteenths > 0;
    // South of the equator the mount faces north, and the motor's directions are the sky's
    // mirror image.
    const std::string mirrored = aim.site.latitude < 0 && turned
        ? pointing.motorEast ? " (the mount faces north here: the motor's east turns the dish west)"
                             : " (the mount faces north here: the motor's west turns the dish east)"
        : "";
    return {
        {"azimuth", degrees(pointing.azimuth, 1) + " degrees from true north"},
        {"elevation", degrees(pointing.elevation, 1) + " degrees"},
        {"LNB skew", degrees(skew, 1) + " degrees"
                         + (std::fabs(skew) < 0.05 ? ""
                            : skew > 0         ? " (clockwise seen from behind the dish)"
                                               : " (counter-clockwise seen from behind the dish)")},
        {"motor", degrees(pointing.motorSixteenths / 16.0, 2) + " degrees " + (pointing.motorEast ? "east" : "west")
                      + mirrored},
        {"diseqc", Diseqc::messageText(aim.gotoMessage)},
    };
}
