// Where a dish must point to see a geostationary satellite from a site on the Earth, and the
// angle a polar-mount positioner turns to for it: the figures an installer sets a dish up
// with.
#pragma once

#include "protocol/GeoCoordinates.h"

struct DishPointing {
    double azimuth;   // degrees from true north, clockwise
    double elevation; // degrees above the site's horizon; negative when the satellite is below
    // Degrees the LNB is turned from upright so that its polarisation matches the satellite's,
    // positive clockwise as seen from behind the dish looking at the satellite.
    double lnbSkew;
    // The polar mount's angle from due south (due north south of the equator), in sixteenths of
    // a degree as the positioner's message carries it, and whether the motor is told east.
    int motorSixteenths;
    bool motorEast;

    bool visible() const { return elevation >= 0.0; }
};

// The figures for a satellite at `satelliteLongitude` seen from `site` at sea level.
DishPointing pointDish(const GeoSite& site, double satelliteLongitude);

// Whether any geostationary satellite rises above the site's horizon: not at the poles.
bool geostationaryArcVisible(const GeoSite& site);

// How a polar-mount motor is set on its pole before its first turn, on either side of the
// equator: its elevation scale at the site's latitude, and the dish tilted down on the motor's
// arm by the declination that points it at the arc.
struct MotorMounting {
    double elevationScale;    // degrees, the latitude without its hemisphere
    double dishDeclination;   // degrees
    double centreElevation;   // the dish's elevation with the motor at its centre, degrees
};
MotorMounting motorMounting(double latitude);
