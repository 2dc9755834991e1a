// The Earth's figure as the dish's geometry and the magnetic model both take it: the WGS84
// ellipsoid, and where a site at a height above it stands in the plane of its meridian.
#pragma once

#include <cmath>

namespace Wgs84 {

constexpr double Pi = 3.14159265358979323846;
constexpr double EquatorialRadiusKm = 6378.137;
constexpr double Flattening = 1.0 / 298.257223563;
constexpr double EccentricitySquared = Flattening * (2.0 - Flattening);

constexpr double radians(double degrees) { return degrees * Pi / 180.0; }
constexpr double degrees(double radians) { return radians * 180.0 / Pi; }

// Kilometres from the Earth's axis and along it (north positive) of a site at geodetic
// `latitude` (radians) and `heightKm` above the ellipsoid.
struct MeridianPlace {
    double fromAxis;
    double alongAxis;
};

inline MeridianPlace meridianPlace(double latitude, double heightKm)
{
    const double sine = std::sin(latitude);
    const double primeVertical = EquatorialRadiusKm / std::sqrt(1.0 - EccentricitySquared * sine * sine);
    return {(primeVertical + heightKm) * std::cos(latitude), (primeVertical * (1.0 - EccentricitySquared) + heightKm) * sine};
}

} // namespace Wgs84
