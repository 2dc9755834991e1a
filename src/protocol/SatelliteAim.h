// A dish at the user's site aimed at a satellite the user names: the figures to set it up
// with and the message that turns a polar mount there, in the words both front ends show.
#pragma once

#include "protocol/CalendarDate.h"
#include "protocol/DiseqcMessages.h"
#include "protocol/DishPointing.h"

#include <optional>
#include <string>
#include <vector>

struct SatelliteAim {
    GeoSite site;
    double satelliteLongitude;
    DishPointing pointing;
    DiseqcMessage gotoMessage; // E0 31 6E with the motor's angle
};

// Throws InputError: no geostationary satellite above the site's horizon, or this one below it.
SatelliteAim aimAt(const GeoSite& site, double satelliteLongitude);

// The figures an installer reads: azimuth, the compass bearing on `date` (empty without one),
// elevation, LNB skew, the motor's angle, its mounting (elevation scale, the dish's tilt on its
// arm, the elevation at its centre) and the message, each as a label and its text ("azimuth",
// "172.7 degrees from true north").
struct AimFigure {
    std::string label;
    std::string text;
};
std::vector<AimFigure> aimFigures(const SatelliteAim& aim, const std::optional<CalendarDate>& date);

struct MagneticField;
// A compass's reading where its needle feels `field` on `date`, for a dish at `azimuth` from
// true north, in words: none where the field is too weak to turn a needle (under 2000 nT
// across), a warning under 6000 nT.
std::string compassFigure(double azimuth, const MagneticField& field, const CalendarDate& date);
// At the site from the World Magnetic Model; outside its years none, and the years it covers.
std::string compassFigure(double azimuth, const GeoSite& site, const CalendarDate& date);
