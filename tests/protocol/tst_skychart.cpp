// The sky's picture laid out: marks where their azimuth and elevation put them, in both
// hemispheres. The azimuths and elevations are tests/protocol/tst_dishpointing.cpp's hand-worked
// figures (Berlin to 19.2E 172.706 and 29.715, Sydney to 156E 8.551 and 50.294); the arc's
// highest point, due south of Berlin, is atan((cos 52.52 - 0.1511) / sin 52.52) = 29.96 up.
// Across, 180 degrees of azimuth fill the width with the centre (south, or north in the south)
// in the middle; up, 90 degrees of elevation fill the height above the horizon at the bottom.
#include "protocol/SatelliteList.h"
#include "protocol/SkyChart.h"

#include "doctest.h"

#include <algorithm>
#include <cmath>

TEST_CASE("the sky's marks and arc stand where their azimuth and elevation put them")
{
    const SatelliteList list = SatelliteList::fromText("[satellites]\n13E = South\n19.2E = Astra\n156E = Optus\n");
    // 1 pixel a degree: the north's picture from x 0 (azimuth 90) to 180 (270), the zenith at y 0.
    const SkyChart north = skyChart({52.52, 13.40}, list, 19.2, {0.0, 0.0, 180.0, 90.0});
    REQUIRE(north.marks.size() == 2); // 156E is below Berlin's horizon
    CHECK(north.marks[1].longitude == 19.2);
    REQUIRE(north.chosen);
    CHECK(std::abs(north.chosen->at.x - (90.0 + 172.706 - 180.0)) < 0.1);
    CHECK(std::abs(north.chosen->at.y - (90.0 - 29.715)) < 0.1);
    CHECK(north.description == "19.2E at azimuth 172.7, elevation 29.7; 2 of 3 positions above the horizon");
    REQUIRE(!north.arc.empty());
    const auto highest = std::min_element(north.arc.begin(), north.arc.end(),
                                          [](const SkyPoint& a, const SkyPoint& b) { return a.y < b.y; });
    CHECK(std::abs(highest->x - 90.0) < 0.5);
    CHECK(std::abs(highest->y - (90.0 - 29.96)) < 0.1);
    for (const SkyPoint& point : north.arc)
        CHECK((point.x >= 0.0 && point.x <= 180.0 && point.y >= 0.0 && point.y <= 90.0));

    // Facing north in Sydney, in a picture at (10, 20) of 360 by 180: azimuth 8.551 is right of
    // the middle by 8.551 / 180 of the width.
    const SkyChart south = skyChart({-33.87, 151.21}, list, 156.0, {10.0, 20.0, 360.0, 180.0});
    REQUIRE(south.chosen);
    CHECK(std::abs(south.chosen->at.x - (10.0 + 180.0 + 8.551 * 2.0)) < 0.2);
    CHECK(std::abs(south.chosen->at.y - (20.0 + 180.0 - 50.294 * 2.0)) < 0.2);
    CHECK(south.description == "156E at azimuth 8.6, elevation 50.3; 1 of 3 positions above the horizon");
}
