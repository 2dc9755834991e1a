// Where a dish points to see a geostationary satellite, and the positioner message for it.
// The expected figures were worked out apart from the code, with the closed forms of dish
// installation guides: the hour angle atan2(r sin dL, r cos dL - N cos(lat)) (r = 42,164 km,
// N the WGS84 prime vertical radius, dL the satellite's longitude less the site's), exact for
// a satellite in the equator's plane; azimuth and elevation on a spherical Earth of radius
// 6,371 km (k = 6371 / 42164 = 0.1511; elevation atan((cos dL cos lat - k) / sqrt(1 - cos^2 dL
// cos^2 lat)), azimuth 180 - atan2(tan dL, sin lat) in the north), which the ellipsoid moves by
// a few hundredths of a degree. The skew, the angle seen along the line of sight between the
// site's vertical and the Earth's axis, on that sphere: with c = cos lat cos dL,
// tan(skew) = -(sin dL / tan lat) sqrt(1 - 2kc + k^2) / (1 - kc), clockwise positive (the
// guides' atan(sin dL / tan lat) is its limit for a satellite infinitely far, up to 0.2 degree
// off here). The motor's count is that hour angle times 16, rounded: Berlin 6.388 (102.2),
// Madrid -29.562 (472.99), Sydney 5.478 (87.64), Rio -20.613 (329.81); the message carries it
// after the direction nibble, E east, D west.
#include "protocol/DishPointing.h"
#include "protocol/GeoCoordinates.h"
#include "protocol/InputError.h"
#include "protocol/SatelliteAim.h"

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
        DiseqcMessage message;
    } rows[] = {
        {"Berlin to 19.2E", {52.52, 13.40}, 19.2, 172.706, 29.715, -4.469, 102, {0xE0, 0x31, 0x6E, 0xE0, 0x66}},
        {"Madrid to 30W", {40.42, -3.70}, -30.0, 217.316, 36.020, 27.662, 473, {0xE0, 0x31, 0x6E, 0xD1, 0xD9}},
        // South of the equator the mount faces north: a satellite east of the site is a
        // turn the box counts as west, and one west of it as east.
        {"Sydney to 156E", {-33.87, 151.21}, 156.0, 8.551, 50.294, 7.125, 88, {0xE0, 0x31, 0x6E, 0xD0, 0x58}},
        {"Rio de Janeiro to 61W", {-22.90, -43.20}, -61.0, 320.474, 56.510, -35.988, 330, {0xE0, 0x31, 0x6E, 0xE1, 0x4A}},
    };
    for (const auto& row : rows) {
        CAPTURE(row.name);
        const SatelliteAim aim = aimAt(row.site, row.satellite);
        const DishPointing& pointing = aim.pointing;
        CHECK(std::abs(pointing.azimuth - row.azimuth) < 0.1);
        CHECK(std::abs(pointing.elevation - row.elevation) < 0.1);
        CHECK(std::abs(pointing.lnbSkew - row.skew) < 0.05);
        CHECK(pointing.motorSixteenths == row.sixteenths);
        CHECK(aim.gotoMessage == row.message);
    }
}

TEST_CASE("a satellite due south is straight ahead: angle 0, no skew")
{
    const SatelliteAim aim = aimAt({52.52, 13.40}, 13.40);
    CHECK(std::abs(aim.pointing.azimuth - 180.0) < 1e-9);
    CHECK(std::abs(aim.pointing.lnbSkew) < 1e-9);
    CHECK(aim.gotoMessage == DiseqcMessage{0xE0, 0x31, 0x6E, 0xE0, 0x00});
}

TEST_CASE("the figures as an installer reads them")
{
    // Berlin to 19.2E: the figures above to a tenth (the skew's -4.469 is -4.5), the motor's
    // 102 sixteenths as 6.38 degrees, and its mounting as the next case works it out.
    const std::vector<AimFigure> figures = aimFigures(aimAt({52.52, 13.40}, 19.2), std::nullopt);
    std::vector<std::string> labels;
    for (const AimFigure& figure : figures)
        labels.push_back(figure.label);
    CHECK(labels
          == std::vector<std::string>{"azimuth", "compass", "elevation", "LNB skew", "motor", "scale", "dish tilt",
                                      "centre", "diseqc"});
    CHECK(figures[0].text == "172.7 degrees from true north");
    CHECK(figures[1].text.empty()); // no date, no compass
    CHECK(figures[2].text == "29.7 degrees");
    CHECK(figures[3].text == "-4.5 degrees (counter-clockwise seen from behind the dish)");
    CHECK(figures[4].text == "6.38 degrees east");
    CHECK(figures[5].text == "52.5 degrees on the motor's elevation scale (37.5 where it is marked from the vertical)");
    CHECK(figures[6].text == "7.5 degrees down on the motor's arm (the dish's declination)");
    CHECK(figures[7].text.find("29.9 degrees elevation with the motor at its centre") == 0);
    CHECK(figures[8].text == "E0 31 6E E0 66");
    // Sydney to 156E: the motor's west turns the dish east.
    CHECK(aimFigures(aimAt({-33.87, 151.21}, 156.0), std::nullopt)[4].text.find(
              "5.50 degrees west (the mount faces north here")
          == 0);
}

TEST_CASE("a polar mount's elevation scale, the dish's declination and its elevation at the centre")
{
    // δ = atan(Re sin φ / (Rs - Re cos φ)), Re = 6378.137 km, Rs = 42164.2 km, worked out by
    // hand: 50° gives 7.314 and 32.686; Berlin's 52.52° 7.531 and 29.949; Sydney's 33.87° south
    // 5.507 and 50.623, the same tilt towards the equator as at 33.87° north.
    const struct {
        double latitude, scale, declination, centre;
    } rows[] = {{50.0, 50.0, 7.314, 32.686}, {52.52, 52.52, 7.531, 29.949}, {-33.87, 33.87, 5.507, 50.623}};
    for (const auto& row : rows) {
        CAPTURE(row.latitude);
        const MotorMounting mounting = motorMounting(row.latitude);
        CHECK(mounting.elevationScale == doctest::Approx(row.scale));
        CHECK(std::abs(mounting.dishDeclination - row.declination) < 0.01);
        CHECK(std::abs(mounting.centreElevation - row.centre) < 0.01);
    }
}

TEST_CASE("a satellite beyond the site's horizon, and sites where no satellite rises")
{
    CHECK_FALSE(pointDish({-33.87, 151.21}, 19.2).visible());
    CHECK_FALSE(pointDish({52.52, 13.40}, -120.0).visible());
    CHECK_THROWS_WITH_AS(aimAt({-33.87, 151.21}, 19.2), "19.2E is below the horizon at 33.87S,151.21E", InputError);
    CHECK_THROWS_AS(aimAt({83.0, 0.0}, 0.0), InputError);
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

    CHECK(formatSite(siteFromText("52.52N,13.40E")) == "52.52N,13.4E");
    CHECK(formatSite({-33.87, 151.21}) == "33.87S,151.21E");
    CHECK(formatLongitude(-30.0) == "30W");
    CHECK(siteFromText("-33.87,151.21").latitude == -33.87);
    CHECK_THROWS_WITH_AS(siteFromText("91N,13E"), doctest::Contains("'91N' is not a latitude"), InputError);
    CHECK_THROWS_AS(siteFromText("52.52N"), InputError);
}
