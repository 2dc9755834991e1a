// Satellites by name: what a name the user types finds, and the list a user's own file makes.
#include "protocol/GeoCoordinates.h"
#include "protocol/InputError.h"
#include "protocol/SatelliteList.h"

#include "doctest.h"

namespace {

std::vector<std::string> positionsOf(const SatelliteList& list, const char* name)
{
    std::vector<std::string> found;
    for (const SatellitePosition* position : list.find(name))
        found.push_back(formatLongitude(position->longitude));
    return found;
}

const char* const Sample = "; a list\n"
                           "[other]\n"
                           "1E = Not This\n"
                           "[Satellites]\n"
                           "19.2E = Astra 1KR, Astra 1L\r\n"
                           "28.2E = Astra 2E\n"
                           "7E = Eutelsat 7B\n"
                           "70.5E = Eutelsat 70B\n"
                           "13E = Hot Bird 13F\n"
                           "101W = SES 1\n"
                           "87W = SES 11\n"
                           "bogus = Nothing\n"
                           "5E =\n";

} // namespace

TEST_CASE("a name is found whole or by a start that ends at a word or a number")
{
    const SatelliteList list = SatelliteList::fromText(Sample);
    REQUIRE(list.positions().size() == 7);
    CHECK(formatLongitude(list.positions().front().longitude) == "101W"); // west to east
    CHECK(positionsOf(list, "hotbird") == std::vector<std::string>{"13E"});
    CHECK(positionsOf(list, "HOT-BIRD 13f") == std::vector<std::string>{"13E"});
    CHECK(positionsOf(list, "astra") == std::vector<std::string>{"19.2E", "28.2E"});
    CHECK(positionsOf(list, "astra 1") == std::vector<std::string>{"19.2E"});
    CHECK(positionsOf(list, "Eutelsat 7") == std::vector<std::string>{"7E"}); // not 70B
    CHECK(positionsOf(list, "SES 1") == std::vector<std::string>{"101W"});   // whole, not SES 11
    CHECK(positionsOf(list, "astr").empty());
    CHECK(positionsOf(list, "Not This").empty()); // another section
    CHECK(positionsOf(list, " ").empty());
    // The names a position was found by: the starts the words make, or the whole name alone.
    CHECK(SatelliteList::namesFound(*list.find("astra 1").front(), "astra 1")
          == std::vector<std::string>{"Astra 1KR", "Astra 1L"});
    CHECK(SatelliteList::namesFound(list.positions()[0], "SES 1") == std::vector<std::string>{"SES 1"});

    CHECK(satelliteLongitude("Hot Bird", list) == 13.0);
    CHECK(satelliteLongitude("30W", list) == -30.0);
    CHECK_THROWS_WITH_AS(satelliteLongitude("astra", list), doctest::Contains("19.2E, 28.2E"), InputError);
    CHECK_THROWS_AS(satelliteLongitude("Nowhere Sat", list), InputError);
}

TEST_CASE("a user's own list renames a position and adds new ones")
{
    SatelliteList list = SatelliteList::fromText(Sample);
    list.overlay(SatelliteList::fromText("\xEF\xBB\xBF[satellites]\n13.0E = Hotbird Home\n30W = Hispasat\n"));
    CHECK(positionsOf(list, "hot bird 13F").empty());
    CHECK(positionsOf(list, "hotbird home") == std::vector<std::string>{"13E"});
    CHECK(positionsOf(list, "hispasat") == std::vector<std::string>{"30W"});
    CHECK(list.positions().size() == 8);
}

TEST_CASE("each line of a user's list replaces the position it names or adds one, west to east")
{
    // Four positions a few hundredths apart: only 19.20E names the built-in 19.2E.
    SatelliteList list = SatelliteList::fromText("[satellites]\n19.2E = Astra 1KR\n19.3E = Next\n");
    list.overlay(SatelliteList::fromText("[satellites]\n19.20E = a\n19.26E = b\n19.24E = c\n19.28E = d\n"));
    std::string lines;
    for (const SatellitePosition& position : list.positions())
        lines += formatLongitude(position.longitude) + " " + position.names.front() + "\n";
    CHECK(lines == "19.2E a\n19.24E c\n19.26E b\n19.28E d\n19.3E Next\n");
}

TEST_CASE("a list with Windows line ends reads as one with plain ones")
{
    const SatelliteList list = SatelliteList::fromText("[satellites]\r\n13E = Hotbird Home\r\n30W = Hispasat\r\n");
    REQUIRE(list.positions().size() == 2);
    CHECK(list.positions()[1].names == std::vector<std::string>{"Hotbird Home"});
    CHECK(positionsOf(list, "hispasat") == std::vector<std::string>{"30W"});
}

TEST_CASE("the list the programs carry covers the world and finds the names installers use")
{
    const SatelliteList& list = builtInSatellites();
    CHECK(list.positions().size() >= 60);
    CHECK(satelliteLongitude("Hotbird", list) == 13.0);
    CHECK(satelliteLongitude("hot bird", list) == 13.0);
    CHECK_THROWS_WITH_AS(satelliteLongitude("Astra", list), doctest::Contains("19.2E, 23.5E, 28.2E"), InputError);
}
