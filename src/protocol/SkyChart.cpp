#include "protocol/SkyChart.h"

#include "protocol/GeoCoordinates.h"
#include "protocol/SatelliteList.h"

#include <cmath>
#include <cstdio>

namespace {

// The picture's width spans this much azimuth, half each side of its centre.
constexpr double AzimuthSpan = 180.0;
// Along the arc, in degrees of the satellites' longitude: smooth at any size the dialog takes.
constexpr double ArcStep = 0.5;
// No satellite is seen beyond 81.3 degrees of longitude from the site (acos(6378 / 42164)).
constexpr double ArcReach = 82.0;

std::string oneDecimal(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

SkyMark markAt(const GeoSite& site, double longitude, double centreAzimuth, const SkyArea& area)
{
    const DishPointing pointing = pointDish(site, longitude);
    return {longitude, pointing.azimuth, pointing.elevation,
            skyPoint(pointing.azimuth, pointing.elevation, centreAzimuth, area)};
}

} // namespace

double skyCentreAzimuth(const GeoSite& site) { return site.latitude >= 0.0 ? 180.0 : 0.0; }

SkyPoint skyPoint(double azimuth, double elevation, double centreAzimuth, const SkyArea& area)
{
    // The azimuth's offset from the centre, within -180..180: clockwise is rightwards.
    const double offset = std::remainder(azimuth - centreAzimuth, 360.0);
    return {area.left + (offset / AzimuthSpan + 0.5) * area.width, area.top + (1.0 - elevation / 90.0) * area.height};
}

SkyChart skyChart(const GeoSite& site, const SatelliteList& list, std::optional<double> chosenLongitude,
                  const SkyArea& area)
{
    SkyChart chart;
    chart.centreAzimuth = skyCentreAzimuth(site);
    for (double step = -ArcReach; step <= ArcReach; step += ArcStep) {
        const DishPointing pointing = pointDish(site, site.longitude + step);
        if (pointing.visible())
            chart.arc.push_back(skyPoint(pointing.azimuth, pointing.elevation, chart.centreAzimuth, area));
    }
    for (const SatellitePosition& position : list.positions()) {
        const SkyMark mark = markAt(site, position.longitude, chart.centreAzimuth, area);
        if (mark.elevation >= 0.0)
            chart.marks.push_back(mark);
    }
    std::string chosenWords;
    if (chosenLongitude) {
        const SkyMark mark = markAt(site, *chosenLongitude, chart.centreAzimuth, area);
        if (mark.elevation >= 0.0)
            chart.chosen = mark;
        chosenWords = formatLongitude(*chosenLongitude)
            + (chart.chosen ? " at azimuth " + oneDecimal(mark.azimuth) + ", elevation " + oneDecimal(mark.elevation)
                            : " below the horizon")
            + "; ";
    }
    chart.description = chosenWords + std::to_string(chart.marks.size()) + " of "
        + std::to_string(list.positions().size()) + " positions above the horizon";
    return chart;
}
