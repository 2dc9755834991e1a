#include "protocol/DishPointing.h"

#include "protocol/Wgs84.h"

#include <cmath>

// The geometry is plain vector algebra in the Earth-centred frame (x towards longitude 0 on
// the equator, z along the axis to the north pole): the site on the WGS84 ellipsoid at sea
// level, the satellite on the geostationary orbit of radius 42,164 km in the equator's plane.
// Azimuth and elevation are the line of sight in the site's east-north-up frame; the
// polarisation skew is the angle between the site's vertical and the satellite's (parallel to
// the Earth's axis) seen along that line. A polar mount turns about an axis parallel to the
// Earth's, so its angle is the satellite's hour angle at the site: the angle, in the equator's
// plane, between the site's meridian and the line of sight. The positioner command carries it
// in sixteenths of a degree.

namespace {

using Wgs84::degrees;
using Wgs84::EquatorialRadiusKm;
using Wgs84::radians;

constexpr double GeostationaryRadiusKm = 42164.0;

struct Vector {
    double x, y, z;
};

double dot(const Vector& a, const Vector& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vector cross(const Vector& a, const Vector& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Vector minus(const Vector& a, const Vector& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vector scaled(const Vector& a, double factor) { return {a.x * factor, a.y * factor, a.z * factor}; }
// `a` without its part along the unit vector `along`.
Vector across(const Vector& a, const Vector& along) { return minus(a, scaled(along, dot(a, along))); }

// The site's place, and the unit vectors of its east-north-up frame (up is the ellipsoid's
// normal, which the geodetic latitude measures).
struct SiteFrame {
    Vector position;
    Vector east, north, up;
};

SiteFrame siteFrame(const GeoSite& site)
{
    const double lat = radians(site.latitude);
    const double lon = radians(site.longitude);
    const Wgs84::MeridianPlace place = Wgs84::meridianPlace(lat, 0.0);
    SiteFrame frame;
    frame.position = {place.fromAxis * std::cos(lon), place.fromAxis * std::sin(lon), place.alongAxis};
    frame.east = {-std::sin(lon), std::cos(lon), 0.0};
    frame.north = {-std::sin(lat) * std::cos(lon), -std::sin(lat) * std::sin(lon), std::cos(lat)};
    frame.up = {std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)};
    return frame;
}

Vector satellitePosition(double longitude)
{
    const double lon = radians(longitude);
    return {GeostationaryRadiusKm * std::cos(lon), GeostationaryRadiusKm * std::sin(lon), 0.0};
}

} // namespace

DishPointing pointDish(const GeoSite& site, double satelliteLongitude)
{
    const SiteFrame frame = siteFrame(site);
    const Vector sight = minus(satellitePosition(satelliteLongitude), frame.position);
    const double east = dot(sight, frame.east);
    const double north = dot(sight, frame.north);
    const double up = dot(sight, frame.up);

    DishPointing pointing{};
    pointing.azimuth = std::fmod(degrees(std::atan2(east, north)) + 360.0, 360.0);
    pointing.elevation = degrees(std::atan2(up, std::hypot(east, north)));

    const Vector toward = scaled(sight, 1.0 / std::sqrt(dot(sight, sight)));
    const Vector siteUpright = across(frame.up, toward);
    const Vector satelliteUpright = across(Vector{0.0, 0.0, 1.0}, toward);
    // A turn about the line of sight by the right-hand rule is clockwise to an eye behind the
    // dish. A polarisation is a line, not an arrow: the skew is the smaller turn, within ±90°.
    double skew = degrees(std::atan2(dot(toward, cross(siteUpright, satelliteUpright)),
                                     dot(siteUpright, satelliteUpright)));
    if (skew > 90.0)
        skew -= 180.0;
    else if (skew <= -90.0)
        skew += 180.0;
    pointing.lnbSkew = skew;

    // The hour angle: in the equator's plane the meridian points away from the axis (x, y of
    // the site's up) and the satellite is east of it along the site's east.
    const double hourAngle = degrees(std::atan2(dot(sight, frame.east),
                                                sight.x * std::cos(radians(site.longitude))
                                                    + sight.y * std::sin(radians(site.longitude))));
    pointing.motorSixteenths = static_cast<int>(std::lround(std::fabs(hourAngle) * 16.0));
    // A satellite due south is sent as east 0.
    const bool satelliteEast = hourAngle > 0.0 || pointing.motorSixteenths == 0;
    // South of the equator the mount faces north: the motor turns the dish west to look east.
    pointing.motorEast = site.latitude >= 0.0 || pointing.motorSixteenths == 0 ? satelliteEast : !satelliteEast;
    return pointing;
}

bool geostationaryArcVisible(const GeoSite& site)
{
    // The arc is highest at the site's own longitude.
    return pointDish(site, site.longitude).visible();
}

MotorMounting motorMounting(double latitude)
{
    // The motor's axis is parallel to the Earth's; the arc, seen from the site on a spherical
    // Earth, lies below the plane square to that axis by atan(Re sin φ / (Rs - Re cos φ)).
    const double lat = radians(std::fabs(latitude));
    const double declination
        = degrees(std::atan(EquatorialRadiusKm * std::sin(lat) / (GeostationaryRadiusKm - EquatorialRadiusKm * std::cos(lat))));
    return {std::fabs(latitude), declination, 90.0 - std::fabs(latitude) - declination};
}
