#include "protocol/SatelliteAim.h"

#include "protocol/GeoCoordinates.h"
#include "protocol/InputError.h"
#include "protocol/MagneticModel.h"

#include <cmath>
#include <cstdio>

namespace {

// Nanotesla of the field's horizontal part: below the first a compass points nowhere useful,
// below the second it may be pulled off by the dish's own steel.
constexpr double NoCompassBelow = 2000.0;
constexpr double UnreliableCompassBelow = 6000.0;

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

std::string compassFigure(double azimuth, const MagneticField& field, const CalendarDate& date)
{
    const double horizontal = field.horizontal();
    const std::string strength = degrees(horizontal, 0) + " nT";
    if (horizontal < NoCompassBelow)
        return "none: the magnetic field's horizontal part is " + strength + " here, too weak for a compass ("
             + formatDate(date) + ")";
    const double declination = field.declination();
    const double bearing = std::fmod(azimuth - declination + 360.0, 360.0);
    const std::string side = std::fabs(declination) < 0.05 ? "" : declination > 0 ? " east" : " west";
    return degrees(bearing, 1) + " degrees (declination " + degrees(std::fabs(declination), 1) + " degrees" + side
         + ", " + formatDate(date) + ")"
         + (horizontal < UnreliableCompassBelow
                ? "; a compass is unreliable here, the field's horizontal part being " + strength
                : "");
}

std::string compassFigure(double azimuth, const GeoSite& site, const CalendarDate& date)
{
    const MagneticModel& model = builtInMagneticModel();
    const double year = decimalYear(date);
    if (!model.covers(year))
        return "none for " + formatDate(date) + ": the magnetic model covers " + degrees(model.firstYear(), 0) + " to "
             + degrees(model.endYear() - 1.0, 0);
    // At the site's ground: the ellipsoid's height is near enough for a compass.
    return compassFigure(azimuth, model.fieldAt(site, 0.0, year), date);
}

std::vector<AimFigure> aimFigures(const SatelliteAim& aim, const std::optional<CalendarDate>& date)
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
    const MotorMounting mounting = motorMounting(aim.site.latitude);
    return {
        {"azimuth", degrees(pointing.azimuth, 1) + " degrees from true north"},
        {"compass", date ? compassFigure(pointing.azimuth, aim.site, *date) : ""},
        {"elevation", degrees(pointing.elevation, 1) + " degrees"},
        {"LNB skew", degrees(skew, 1) + " degrees"
                         + (std::fabs(skew) < 0.05 ? ""
                            : skew > 0         ? " (clockwise seen from behind the dish)"
                                               : " (counter-clockwise seen from behind the dish)")},
        {"motor", degrees(pointing.motorSixteenths / 16.0, 2) + " degrees " + (pointing.motorEast ? "east" : "west")
                      + mirrored},
        {"scale", degrees(mounting.elevationScale, 1) + " degrees on the motor's elevation scale ("
                      + degrees(90.0 - mounting.elevationScale, 1) + " where it is marked from the vertical)"},
        {"dish tilt", degrees(mounting.dishDeclination, 1) + " degrees down on the motor's arm (the dish's declination)"},
        {"centre", degrees(mounting.centreElevation, 1)
                       + " degrees elevation with the motor at its centre (to check with an inclinometer)"},
        {"diseqc", Diseqc::messageText(aim.gotoMessage)},
    };
}
