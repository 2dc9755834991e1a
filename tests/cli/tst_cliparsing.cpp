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
                        [] { return builtInSatellites(); }, {},
                        [siteKnown] { return siteKnown ? std::optional<GeoSite>({-33.87, 151.21}) : std::nullopt; }});
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
