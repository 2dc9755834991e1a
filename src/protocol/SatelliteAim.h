// A dish at the user's site aimed at a satellite the user names: the figures to set it up
// with and the message that turns a polar mount there, in the words both front ends show.
#pragma once

#include "protocol/DiseqcMessages.h"
#include "protocol/DishPointing.h"

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

// The figures an installer reads: azimuth, elevation, LNB skew, the motor's angle and the
// message, each as a label and its text ("azimuth", "172.7 degrees from true north").
struct AimFigure {
    std::string label;
    std::string text;
};
std::vector<AimFigure> aimFigures(const SatelliteAim& aim);
