#include "protocol/SatelliteAim.h"

#include "protocol/GeoCoordinates.h"
#include "protocol/InputError.h"

#include <cmath>
#include <cstdio>

namespace {

std::string degrees(double value, int decimals)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

} // namespace

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
