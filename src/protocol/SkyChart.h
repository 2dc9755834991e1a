// The sky seen from a site, laid out for a picture: azimuth across, centred on the
// geostationary arc (due south north of the equator, due north south of it) and 90 degrees
// either side, east on the left facing south and on the right facing north, as the installer
// facing the arc sees it; elevation up, from the horizon at the bottom to the zenith at the
// top. A window only paints what this places.
#pragma once

#include "protocol/DishPointing.h"

#include <optional>
#include <string>
#include <vector>

class SatelliteList;

struct SkyPoint {
    double x, y;
};

// The picture's part the sky fills, with y growing downwards as on a screen.
struct SkyArea {
    double left, top, width, height;
};

struct SkyMark {
    double longitude;
    double azimuth, elevation;
    SkyPoint at;
};

struct SkyChart {
    double centreAzimuth;         // in the middle of the picture
    std::vector<SkyPoint> arc;    // the arc above the horizon, in steps along it
    std::vector<SkyMark> marks;   // the list's positions above the horizon, west to east
    std::optional<SkyMark> chosen; // the satellite aimed at, when it is above the horizon
    // In words, for a screen reader: "19.2E at azimuth 172.7, elevation 29.7; 65 of 117
    // positions above the horizon".
    std::string description;
};

double skyCentreAzimuth(const GeoSite& site);
// Where a direction lands in `area`; one behind the installer's back lands beyond its sides.
SkyPoint skyPoint(double azimuth, double elevation, double centreAzimuth, const SkyArea& area);

SkyChart skyChart(const GeoSite& site, const SatelliteList& list, std::optional<double> chosenLongitude,
                  const SkyArea& area);
