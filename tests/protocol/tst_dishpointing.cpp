// Where a dish points to see a geostationary satellite, and the positioner message for it.
// The expected figures were worked out apart from the code, with the closed forms of dish
// installation guides: the hour angle atan2(r sin dL, r cos dL - N cos(lat)) (r = 42,164 km,
// N the WGS84 prime vertical radius, dL the satellite's longitude less the site's), exact for
// a satellite in the equator's plane; azimuth, elevation and skew on a spherical Earth of
// radius 6,371 km (elevation atan((cos dL cos lat - 0.1511) / sqrt(1 - cos^2 dL cos^2 lat)),
// azimuth 180 - atan2(tan dL, sin lat) in the north, skew atan(sin dL / tan lat)), which the
// ellipsoid moves by a few hundredths of a degree in azimuth and elevation and by a few
// tenths in skew.
#include "protocol/DishPointing.h"
#include "protocol/GeoCoordinates.h"

#include "doctest.h"

#include <cstdlib>

TEST_CASE("the figures and the message for sites in both hemispheres, east and west of them")
{
    const struct {
        const char* name;
        GeoSite site;
        double satellite;
        double azimuth, elevation, skew;
        int sixteenths;
        std::uint8_t high; // the message's direction nibble and the count's top bits
    } rows[] = {
        {"Berlin to 19.2E", {52.52, 13.40}, 19.2, 172.706, 29.715, -4.43, 102, 0xE0},
        {"Madrid to 30W", {40.42, -3.70}, -30.0, 217.316, 36.020, 27.49, 473, 0xD1},
        // South of the equator the mount faces north: a satellite east of the site is a
        // turn the box counts as west, and one west of it as east.
        {"Sydney to 156E", {-33.87, 151.21}, 156.0, 8.551, 50.294, 7.09, 88, 0xD0},
        {"Rio de Janeiro to 61W", {-22.90, -43.20}, -61.0, 320.474, 56.510, -35.89, 330, 0xE1},
    };
    for (const auto& row : rows) {
        CAPTURE(row.name);
        const DishPointing pointing = pointDish(row.site, row.satellite);
        CHECK(pointing.visible());
        CHECK(std::abs(pointing.azimuth - row.azimuth) < 0.1);
        CHECK(std::abs(pointing.elevation - row.elevation) < 0.1);
        CHECK(std::abs(pointing.lnbSkew - row.skew) < 0.3);
        CHECK(std::abs(pointing.motorSixteenths - row.sixteenths) <= 1);
        const int count = pointing.motorSixteenths;
        const std::array<std::uint8_t, 5> message = {0xE0, 0x31, 0x6E, static_cast<std::uint8_t>((row.high & 0xF0) | (count >> 8)),
                                                     static_cast<std::uint8_t>(count & 0xFF)};
        CHECK(pointing.message == message);
    }
}

TEST_CASE("a satellite due south is straight ahead: angle 0, no skew")
{
    const DishPointing pointing = pointDish({52.52, 13.40}, 13.40);
    CHECK(std::abs(pointing.azimuth - 180.0) < 1e-9);
    CHECK(std::abs(pointing.lnbSkew) < 1e-9);
    CHECK(pointing.message == std::array<std::uint8_t, 5>{0xE0, 0x31, 0x6E, 0xE0, 0x00});
}

TEST_CASE("a satellite beyond the site's horizon, and sites where no satellite rises")
{
    CHECK_FALSE(pointDish({-33.87, 151.21}, 19.2).visible());
    CHECK_FALSE(pointDish({52.52, 13.40}, -120.0).visible());
    // The arc reaches the horizon at acos(6378 / 42164), about 81.3 degrees of latitude.
    CHECK(geostationaryArcVisible({80.0, 0.0}));
    CHECK_FALSE(geostationaryArcVisible({83.0, 0.0}));
    CHECK_FALSE(geostationaryArcVisible({-83.0, 0.0}));
}

TEST_CASE("coordinates as a user types them, and as they are shown")
{
    CHECK(parseLongitude("19.2E") == 19.2);
    CHECK(parseLongitude("0.8w") == -0.8);
    CHECK(parseLongitude(" -30 ") == -30.0);
    CHECK(parseLatitude("33.87S") == -33.87);
    for (const char* wrong : {"", "E", "19.2X", "-19.2E", "181E", "1e2", "inf", "19,2E", "1.2.3"})
        CHECK_FALSE(parseLongitude(wrong));
    CHECK_FALSE(parseLatitude("90.5N"));
    CHECK_FALSE(parseLatitude("13E"));

    const std::optional<GeoSite> site = parseSite("52.52N,13.40E");
    REQUIRE(site);
    CHECK(formatSite(*site) == "52.52N,13.4E");
    CHECK(formatSite({-33.87, 151.21}) == "33.87S,151.21E");
    CHECK(formatLongitude(-30.0) == "30W");
    CHECK_FALSE(parseSite("52.52N"));
}
