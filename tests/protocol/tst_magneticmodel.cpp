// The World Magnetic Model 2025 against NOAA's own test values for it (WMM2025 test values,
// NOAA NCEI: date, height above the WGS84 ellipsoid, geodetic latitude and longitude, and the
// declination they give, to 0.01 degree), the dates it is asked on, and the compass figure
// worked out from a field given by hand.
#include "protocol/CalendarDate.h"
#include "protocol/InputError.h"
#include "protocol/MagneticModel.h"
#include "protocol/SatelliteAim.h"

#include "doctest.h"

#include <cmath>

TEST_CASE("the built-in model gives NOAA's declinations, at the ground and 100 km up")
{
    const struct {
        double year, heightKm, latitude, longitude, declination;
    } rows[] = {
        {2025.0, 0.0, 80.0, 0.0, 1.28},      {2025.0, 0.0, 0.0, 120.0, -0.16},    {2025.0, 0.0, -80.0, 240.0, 68.78},
        {2025.0, 100.0, 80.0, 0.0, 0.85},    {2025.0, 100.0, 0.0, 120.0, -0.15},  {2025.0, 100.0, -80.0, 240.0, 68.21},
        {2027.5, 0.0, 80.0, 0.0, 2.59},      {2027.5, 0.0, 0.0, 120.0, -0.24},    {2027.5, 0.0, -80.0, 240.0, 68.49},
        {2027.5, 100.0, 80.0, 0.0, 2.16},    {2027.5, 100.0, 0.0, 120.0, -0.23},  {2027.5, 100.0, -80.0, 240.0, 67.93},
    };
    const MagneticModel& model = builtInMagneticModel();
    CHECK(model.firstYear() == 2025.0);
    for (const auto& row : rows) {
        CAPTURE(row.year);
        CAPTURE(row.heightKm);
        CAPTURE(row.latitude);
        // 240E is 120W: the model takes either.
        const double longitude = row.longitude > 180.0 ? row.longitude - 360.0 : row.longitude;
        const double declination = model.fieldAt({row.latitude, longitude}, row.heightKm, row.year).declination();
        CHECK(std::abs(declination - row.declination) <= 0.005 + 1e-9);
    }
}

TEST_CASE("a model of one axial dipole, and texts that are no model")
{
    // g10 = -30000 nT, growing by 10 a year: on the equator at longitude 0 the field points
    // north at -g10 (a / r)^3, a = 6371.2 and r = 6378.137 km, and neither east nor down.
    const MagneticModel dipole = MagneticModel::fromText("    2025.0  ONE-DIPOLE  01/01/2025\n"
                                                         "  1  0  -30000.0  0.0  10.0  0.0\n"
                                                         "999999999999999999999999999999\n");
    const MagneticField now = dipole.fieldAt({0.0, 0.0}, 0.0, 2025.0);
    CHECK(now.north == doctest::Approx(29902.22).epsilon(1e-6));
    CHECK(std::abs(now.east) < 1e-6);
    CHECK(std::abs(now.down) < 1e-6);
    CHECK(dipole.fieldAt({0.0, 0.0}, 0.0, 2027.0).north == doctest::Approx(29882.29).epsilon(1e-6));
    CHECK(dipole.covers(2029.99));
    CHECK_FALSE(dipole.covers(2030.0));

    CHECK_THROWS_AS(MagneticModel::fromText(""), InputError);
    CHECK_THROWS_AS(MagneticModel::fromText("2025.0 WMM\n 1 0 -29351.8 0.0 twelve 0.0\n"), InputError);
    CHECK_THROWS_AS(MagneticModel::fromText("2025.0 WMM\n 1 2 -29351.8 0.0 12.0 0.0\n"), InputError);
}

TEST_CASE("dates as typed, and as years")
{
    for (const char* wrong : {"2026-13-01", "tomorrow", "2026-02-30", "2025-02-29", "2026-2-01", "2026-02-01 ", "",
                              "2026/02/01", "0000-01-01"})
        CHECK_FALSE(parseDate(wrong));
    const std::optional<CalendarDate> leapDay = parseDate("2028-02-29");
    REQUIRE(leapDay);
    CHECK(formatDate(*leapDay) == "2028-02-29");
    // 182 days before 2 July in 2027; 183 in the leap year 2028, half of its 366.
    CHECK(decimalYear({2027, 7, 2}) == doctest::Approx(2027.0 + 182.0 / 365.0));
    CHECK(decimalYear({2028, 7, 2}) == 2028.5);
    CHECK(decimalYear({2026, 1, 1}) == 2026.0);
}

TEST_CASE("the compass figure: east and west declinations, a weak field, the model's years")
{
    const CalendarDate date{2026, 12, 9};
    // atan2(1000, 20000) = 2.862 east: 172.7 - 2.862 = 169.838.
    CHECK(compassFigure(172.7, MagneticField{20000.0, 1000.0, 40000.0}, date)
          == "169.8 degrees (declination 2.9 degrees east, 2026-12-09)");
    // atan2(-3000, 4000) = 36.870 west: 10 + 36.870; 5000 nT across.
    CHECK(compassFigure(10.0, MagneticField{4000.0, -3000.0, 60000.0}, date)
          == "46.9 degrees (declination 36.9 degrees west, 2026-12-09); a compass is unreliable here, the field's "
             "horizontal part being 5000 nT");
    // 350 - 15 wraps past north: atan2(-5176.4, 19318.5) is 15.0 west.
    CHECK(compassFigure(350.0, MagneticField{19318.5, -5176.4, 0.0}, date).find("5.0 degrees (declination 15.0 degrees west")
          == 0);
    CHECK(compassFigure(90.0, MagneticField{1200.0, 900.0, 60000.0}, date)
          == "none: the magnetic field's horizontal part is 1500 nT here, too weak for a compass (2026-12-09)");

    const GeoSite berlin{52.52, 13.40};
    for (const CalendarDate outside : {CalendarDate{2024, 12, 31}, CalendarDate{2030, 1, 1}})
        CHECK(compassFigure(172.7, berlin, outside).find(": the magnetic model covers 2025 to 2029") != std::string::npos);
    CHECK(compassFigure(172.7, berlin, {2029, 12, 31}).find(" degrees (declination ") != std::string::npos);
}
