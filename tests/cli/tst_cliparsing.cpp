// The command line read before the box is reached: what is refused as a usage error, and
// how the outcomes of a command's requests fold into its exit status.
#include "cli/CliCommands.h"
#include "cli/CliOptions.h"
#include "protocol/SatelliteList.h"

#include "doctest.h"

namespace {

CliOptions parse(std::vector<std::string> arguments)
{
    return parseCliOptions(arguments);
}

// Planned as the program plans it, with the options wherever they stand; the site of a dish
// in Sydney, or no site at all.
PlannedCommand plan(std::vector<std::string> arguments, bool siteKnown = true)
{
    const CliOptions options = parseCliOptions(arguments);
    return planCommand(options.command, options.commandOptions,
                       {[] { return GeoSite{-33.87, 151.21}; }, [] { return ProgramSettings{}; },
                        [] { return builtInSatellites(); }, {}, {}, {},
                        [siteKnown] { return siteKnown ? std::optional<GeoSite>({-33.87, 151.21}) : std::nullopt; }});
}

// The requests the command would send, one after another.
std::vector<std::string> sent(std::vector<std::string> arguments)
{
    std::vector<std::string> requests;
    for (const BoxRequest& request : plan(std::move(arguments)).requests())
        requests.push_back(request.bytes);
    return requests;
}

} // namespace

TEST_CASE("options stand anywhere until --, and take only sensible numbers")
{
    const CliOptions options = parse({"--timeout", "250", "--baud=9600", "--", "--quiet"});
    CHECK(options.replyTimeout == std::chrono::milliseconds(250));
    CHECK(options.baud == 9600);
    CHECK_FALSE(options.lineForm.quiet);
    CHECK(options.command == std::vector<std::string>{"--quiet"});
    const CliOptions after = parse({"aim", "-30", "--site", "52.52N,13.40E", "--quiet"});
    CHECK(after.lineForm.quiet);
    CHECK(after.site == "52.52N,13.40E");
    CHECK(after.command == std::vector<std::string>{"aim", "-30"}); // a negative number is a word
    CHECK(parse({"positions", "put", "-"}).command.size() == 3);
    CHECK(parse({"info"}).display == DisplayMode::Hex);

    CHECK_THROWS_AS(parse({"--baud", "0", "info"}), UsageError);
    CHECK_THROWS_AS(parse({"--baud", "-9600", "info"}), UsageError);
    CHECK_THROWS_AS(parse({"--timeout", "0", "info"}), UsageError);
    CHECK_THROWS_AS(parse({"--"}), UsageError);
    CHECK_THROWS_AS(parse({"--port", "", "info"}), UsageError);
    CHECK_THROWS_AS(parse({"--port"}), UsageError);
}

TEST_CASE("arguments the box's protocol cannot carry are refused before anything is sent")
{
    CHECK_NOTHROW(plan({"set-position", "255"}));
    CHECK_THROWS_AS(plan({"set-position", "256"}), UsageError);
    CHECK_NOTHROW(plan({"diseqc", "0xE0", "0x31", "0x6B"}));
    CHECK_NOTHROW(plan({"diseqc", "0xE0", "0x31", "0x6B", "1", "2", "3"}));
    CHECK_THROWS_AS(plan({"diseqc", "0xE0", "0x31"}), UsageError);
    CHECK_THROWS_AS(plan({"diseqc", "0xE0", "0x31", "0x6B", "1", "2", "3", "4"}), UsageError);
    CHECK_THROWS_AS(plan({"ports", "all"}), UsageError);
    CHECK_NOTHROW(plan({"ports", "--probe"}));
    CHECK_NOTHROW(plan({"--seconds", "2", "monitor"}));
    CHECK_THROWS_WITH_AS(plan({"info", "--seconds", "2"}), "--seconds does not go with info", UsageError);
    CHECK_THROWS_WITH_AS(plan({"switch", "2", "11362H", "--jess"}), "--jess does not go with switch", UsageError);
    CHECK_THROWS_AS(plan({"scr", "1", "1210", "11362H", "--position", "C"}), UsageError);
    CHECK_THROWS_AS(plan({"drive", "north", "5"}), UsageError);
    CHECK_THROWS_AS(plan({"drive", "east", "0s"}), UsageError);
    CHECK_THROWS_AS(plan({"goto", "slot", "x"}), UsageError);
    CHECK_THROWS_AS(plan({"store", "256"}), UsageError);
    CHECK_THROWS_AS(plan({"switch", "2", "11362H", "--lnb", "10750"}), UsageError); // IF 612 MHz
    CHECK_THROWS_AS(plan({"positions", "send", "x.pos"}), UsageError);
    // From Sydney 156E (Optus 10) rises and 19.2E does not.
    CHECK_NOTHROW(plan({"goto", "156E"}));
    CHECK_NOTHROW(plan({"goto", "optus", "10"}));
    CHECK_THROWS_WITH_AS(plan({"goto", "19.2E"}), "19.2E is below the horizon at 33.87S,151.21E", UsageError);
    CHECK_THROWS_AS(plan({"aim", "200E"}), UsageError);
    CHECK_THROWS_AS(plan({"aim"}), UsageError);
    for (const char* date : {"2026-13-01", "tomorrow", "2026-02-30"})
        CHECK_THROWS_WITH_AS(plan({"aim", "156E", "--date", date}), doctest::Contains(("'" + std::string(date) + "' is not a day").c_str()),
                             UsageError);
    CHECK_THROWS_WITH_AS(plan({"goto", "156E", "--date", "2026-12-09"}), "--date does not go with goto", UsageError);
    CHECK_NOTHROW(plan({"satellites", "--visible"}));
    CHECK_NOTHROW(plan({"satellites"}, false));
    CHECK_THROWS_WITH_AS(plan({"satellites", "--visible"}, false), doctest::Contains("--visible needs a site"), UsageError);
}

TEST_CASE("single cable's tones and release, the positioner's limits, and the range's ends")
{
    using namespace std::string_literals;
    using Sent = std::vector<std::string>;
    // 03 and the length wrap each message: ODU_UBxSignal_ON E0 10 5B 00 00, with a PIN 5D and
    // the PIN (0 is one); ODU_PowerOFF of band 3, D1 = 010 00000; EN 50607's of band 1 with
    // PIN 7, 71 then D1 = 00000 000.
    CHECK(sent({"scr", "tones"}) == Sent{"\x03\x05\xE0\x10\x5B\x00\x00"s});
    CHECK(sent({"scr", "tones", "--pin", "0"}) == Sent{"\x03\x06\xE0\x10\x5D\x00\x00\x00"s});
    CHECK(sent({"scr", "off", "3"}) == Sent{"\x03\x05\xE0\x10\x5A\x40\x00"s});
    CHECK(sent({"scr", "off", "1", "--jess", "--pin", "7"}) == Sent{"\x03\x05\x71\x00\x00\x00\x07"s});
    CHECK(sent({"scr", "1", "1210", "11362H", "--pin", "0"}) == Sent{"\x03\x06\xE0\x10\x5C\x09\x64\x00"s});
    // The positioner's limits off (63) and on again (a store of 0: 6A 00).
    CHECK(sent({"limit", "off"}) == Sent{"\x03\x03\xE0\x31\x63"s});
    CHECK(sent({"limit", "on"}) == Sent{"\x03\x04\xE0\x31\x6A\x00"s});
    // 12750 MHz on the high oscillator is 2150 MHz, the cable's top: horizontal high band on
    // port 1 is 1111 0 0 1 1.
    CHECK(sent({"switch", "1", "12750H"}) == Sent{"\x03\x04\xE0\x10\x38\xF3"s});

    CHECK_THROWS_WITH_AS(plan({"scr", "off", "0"}), "user band 0 is outside 1-8 under EN 50494", UsageError);
    CHECK_THROWS_AS(plan({"scr", "off", "9"}), UsageError);
    CHECK_THROWS_WITH_AS(plan({"scr", "off", "33", "--jess"}), "user band 33 is outside 1-32 under EN 50607",
                         UsageError);
    CHECK_THROWS_WITH_AS(plan({"scr", "tones", "--jess"}), doctest::Contains("EN 50607 has no"), UsageError);
    CHECK_THROWS_AS(plan({"scr", "tones", "1"}), UsageError);
    CHECK_THROWS_WITH_AS(plan({"scr", "tones", "--position", "B"}), "--position does not go with scr", UsageError);
    CHECK_THROWS_WITH_AS(plan({"switch", "2", "11362H", "--gap", "5"}), "gap 5 is outside 15-1000 ms", UsageError);
    CHECK_THROWS_WITH_AS(plan({"scr", "tones", "--gap", "2000"}), "gap 2000 is outside 15-1000 ms", UsageError);
    CHECK_THROWS_AS(plan({"switch", "2", "11362H", "--committed-first"}), UsageError);
    CHECK_THROWS_WITH_AS(plan({"switch", "2", "11362H", "--lnb", "10600,9750,11700"}), doctest::Contains("10600 MHz"),
                         UsageError);
    CHECK_THROWS_WITH_AS(plan({"switch", "2", "11362H", "--lnb", "9750,10600,13000"}), doctest::Contains("13000 MHz"),
                         UsageError);
    CHECK_THROWS_WITH_AS(plan({"switch", "1", "0.0001H"}), doctest::Contains("0.0001H"), UsageError);
    CHECK_NOTHROW(plan({"scr", "1", "1210", "11362H", "--position", "b"}));
}

TEST_CASE("--wait goes with the commands that turn the dish to a place or for a time")
{
    for (const std::vector<std::string>& turning : std::vector<std::vector<std::string>>{
             {"goto", "156E", "--wait"},
             {"goto", "slot", "3", "--wait"},
             {"--wait", "drive", "west", "10s"},
             {"drive-to-zero", "--wait"},
             {"diseqc", "0xE0", "0x31", "0x6E", "0xE0", "0x66", "--wait"}}) {
        CAPTURE(turning.front());
        const PlannedCommand command = plan(turning);
        CHECK(command.turnsDish);
        CHECK(command.waitsForMove);
    }
    CHECK_FALSE(plan({"goto", "156E"}).waitsForMove);
    for (const std::vector<std::string>& other : std::vector<std::vector<std::string>>{
             {"drive", "east", "5", "--wait"}, // steps: no time to wait for
             {"halt", "--wait"},
             {"step-east", "--wait"},
             {"store", "3", "--wait"},
             {"switch", "2", "11362H", "--wait"}}) {
        CAPTURE(other.front());
        CHECK_THROWS_AS(plan(other), UsageError);
    }
    CHECK(parse({"--speed", "2.3", "goto", "19.2E"}).motorSpeed == 2.3);
    CHECK_THROWS_AS(parse({"--speed", "0", "goto", "19.2E"}), UsageError);
}

TEST_CASE("a port failure outweighs a reply that did not fit, which outweighs success")
{
    using Outcome = ConsoleSession::Outcome;
    ExitStatus status = Done;
    noteOutcome(Outcome::Replied, status);
    CHECK(status == Done);
    noteOutcome(Outcome::TooLong, status);
    CHECK(status == ReplyMissing);
    noteOutcome(Outcome::Replied, status);
    CHECK(status == ReplyMissing);
    noteOutcome(Outcome::WriteFailed, status);
    CHECK(status == PortFailed);
    noteOutcome(Outcome::NoReply, status);
    CHECK(status == PortFailed);
}
