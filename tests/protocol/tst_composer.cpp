// The composer's lists and the request it builds from the selections and option edits.
#include "protocol/Composer.h"
#include "protocol/IntegerInput.h"

#include "doctest.h"

#include <clocale>
#include <cstring>
#include <locale>

using namespace std::string_literals;

namespace {

// One item a line, so that a failed comparison shows both lists.
std::string lines(const std::vector<std::string>& items)
{
    std::string text;
    for (const std::string& item : items)
        text += item + '\n';
    return text;
}

// Start-up selections: "V 1.2", "E0h Master First (NoReply)", "31h Polar/Azimuth Positioner",
// "6Bh 1.2 Drive Motor to Satellite Position nn".
constexpr int StartLevel = 2;
constexpr int StartFraming = 0;
constexpr int StartFamily = 10;
constexpr int StartCommand = 40;

// A decimal separator of "," for both the C and the C++ locale, as a user's regional
// settings could bring; the previous locales come back on destruction.
class CommaDecimalLocale {
public:
    CommaDecimalLocale()
        : m_previousCpp(std::locale::global(std::locale(std::locale::classic(), new CommaPunct)))
        , m_previousC(std::setlocale(LC_NUMERIC, nullptr))
    {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR"}) {
            if (std::setlocale(LC_NUMERIC, name))
                break;
        }
    }
    ~CommaDecimalLocale()
    {
        std::setlocale(LC_NUMERIC, m_previousC.c_str());
        std::locale::global(m_previousCpp);
    }

private:
    struct CommaPunct : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
    };
    std::locale m_previousCpp;
    std::string m_previousC;
};

} // namespace

TEST_CASE("the tables behind the four lists have their sizes")
{
    CHECK(FramingTable.size() == 8);
    CHECK(FamilyTable.size() == 18);
    CHECK(LevelTable.size() == 4);
    CHECK(CommandTable.size() == 65);
    CHECK(ComposedReplyLength == 2);
}

TEST_CASE("the framing list")
{
    CHECK(lines(framingItemTexts()) == lines({
        "E0h Master First (NoReply)",
        "E1h Master Repeat (NoReply)",
        "E2h Master First (ReqReply)",
        "E3h Master Repeat (ReqReply)",
        "E4h Slave Reply (OK)",
        "E5h Slave Reply (Cmd Supported)",
        "E6h Slave Reply (Parity Error)",
        "E7h Slave Reply (Cmd not recognized)",
    }));
    CHECK(framingItemText(FramingTable[4]) == "E4h Slave Reply (OK)");
}

TEST_CASE("the family list")
{
    CHECK(lines(familyItemTexts()) == lines({
        "00h Any device (Master to all)",
        "10h Any LNB, Switcher or SMATV (Master to all)",
        "11h LNB",
        "12h LNB with Loop-through switching",
        "14h Switcher (d.c. blocking)",
        "15h Switcher with d.c. Loop-through",
        "18h SMATV",
        "20h Any Polariser (Master to all Polarisers)",
        "21h Linear Polarisation (Skew) Controller",
        "30h Any Positioner (Master to all Positioners)",
        "31h Polar/Azimuth Positioner",
        "32h Elevation Positioner",
        "40h Any Installer Aid (Master to all Installer Aids)",
        "41h Signal-strenght analogue value",
        "60h Family reserved for address re-allocation",
        "70h Any Intelligent Slave Interfaces (Master to all)",
        "71h Interface for subscriber controlled headends",
        "F0h Reserved for OEM Extensions",
    }));
    CHECK(familyItemText(FamilyTable[10]) == "31h Polar/Azimuth Positioner");
}

TEST_CASE("the level list")
{
    CHECK(lines(levelItemTexts()) == lines({"V 1.0", "V 1.1", "V 1.2", "V 2.0"}));
    CHECK(levelItemText(LevelTable[3]) == "V 2.0");
}

// Every row but 0x64 is listed at "V 2.0", so this list checks code, level and text of each.
TEST_CASE("all commands at the top level")
{
    CHECK(lines(commandItemTexts(3)) == lines({
        "00h 1.0 Reset DISEqC microcontroller",
        "01h 2.0 Clear \"Reset\" flag",
        "02h 1.0 Switch peripheral power supply off",
        "03h 1.0 Switch peripheral power supply on",
        "04h 2.0 Set contention flag",
        "05h 2.0 Return address only if Contention flag is set",
        "06h 2.0 Clear contention flag",
        "07h 2.0 Return address unless Contention flag is set",
        "08h 2.0 Change address only if Contention flag is set",
        "09h 2.0 Change address unless Contention flag is set",
        "0Fh Reserved",
        "10h 2.0 Read Status register flag",
        "11h 2.0 Read Configuration flags (peripheral hardware)",
        "14h 2.0 Read Switching state flags (Committed port)",
        "15h 2.0 Read Switching state flags (Uncommitted port)",
        "16h 2.0 expansion option",
        "17h 2.0 expansion option",
        "20h 1.0 Select the Low Local Oscillator frequency",
        "21h 1.0 Select Vertical Polarisation (or Right circular)",
        "22h 1.0 Select Satellite position A (or position C)",
        "23h 1.0 Select Switch Option A (e.g. position A/B)",
        "24h 1.0 Select the High Local Oscillator frequency",
        "25h 1.0 Select Horizontal Polarisation (or Left circular)",
        "26h 1.0 Select Satellite position B (or position D)",
        "27h 1.0 Select Switch Option B (e.g. position C/D)",
        "28h 1.1 Select Switch S1 input A (deselect input B)",
        "29h 1.1 Select Switch S2 input A (deselect input B)",
        "2Ah 1.1 Select Switch S3 input A (deselect input B)",
        "2Bh 1.1 Select Switch S4 input A (deselect input B)",
        "2Ch 1.1 Select Switch S1 input B (deselect input A)",
        "2Dh 1.1 Select Switch S2 input B (deselect input A)",
        "2Eh 1.1 Select Switch S3 input B (deselect input A)",
        "2Fh 1.1 Select Switch S4 input B (deselect input A)",
        "30h 1.1 Ignore all bus command except \"Awake\"",
        "31h 1.1 Respond to future bus commands normaly",
        "38h 1.0 Write to Port group 0 (Committed switches)",
        "39h 1.1 Write to Port group 1 (Uncommitted switches)",
        "3Ah 1.1 expansion option",
        "3Bh 1.1 expansion option",
        "40h 2.0 Read Analogue value A0",
        "41h 2.0 Read Analogue value A1",
        "48h 1.2 Write Analogue value A0 (e.g. Skew)",
        "49h 1.2 Write Analogue value A1",
        "50h 2.0 Read current frequency (Reply=BCD string)",
        "51h 2.0 Read current frequency table entry number",
        "52h 2.0 Read Lo frequency table entry number",
        "53h 2.0 Read Hi frequency table entry number",
        "58h 1.1 Write channel frequency (BCD string)",
        "59h 1.1 Write (receiver's) selected channel number",
        "60h 1.2 Stop Positioner movement",
        "61h Reserved",
        "62h Reserved",
        "63h 1.2 Disable Limits",
        "65h Reserved",
        "66h 1.2 Set East Limit (&Enable recommended)",
        "67h 1.2 Set West Limit (&Enable recommended)",
        "68h 1.2 Drive Motor East (with optional timeout/steps)",
        "69h 1.2 Drive Motor West (with optional timeout/steps)",
        "6Ah 1.2 Store Satellite Position & Enable Limits",
        "6Bh 1.2 Drive Motor to Satellite Position nn",
        "6Ch Reserved",
        "6Dh Reserved",
        "6Eh 1.2 Drive Motor to Angular Position (\xB0" ")",
        "6Fh 1.2 (Re-)Calculate Satellite Positions",
    }));
}

TEST_CASE("each level lists the commands up to it")
{
    const int counts[] = {18, 33, 45, 64};
    for (int levelIndex = 0; levelIndex < 4; ++levelIndex)
        CHECK(commandItemTexts(levelIndex).size() == std::size_t(counts[levelIndex]));
}

TEST_CASE("command 0x64 is never offered")
{
    CHECK(CommandTable[53].Code == 0x64);
    for (int levelIndex = 0; levelIndex < int(LevelTable.size()); ++levelIndex) {
        for (const std::string& item : commandItemTexts(levelIndex))
            CHECK_MESSAGE(item.compare(0, 3, "64h") != 0, item);
    }
}

TEST_CASE("notable positions in the command lists")
{
    const struct {
        int levelIndex;
        int position;
        const char* item;
    } rows[] = {
        {0, 0, "00h 1.0 Reset DISEqC microcontroller"},
        {0, 3, "0Fh Reserved"},
        {0, 12, "38h 1.0 Write to Port group 0 (Committed switches)"},
        {0, 17, "6Dh Reserved"},
        {1, 32, "6Dh Reserved"},
        {2, 40, "6Bh 1.2 Drive Motor to Satellite Position nn"},
        {2, 44, "6Fh 1.2 (Re-)Calculate Satellite Positions"},
        {3, 1, "01h 2.0 Clear \"Reset\" flag"},
        {3, 40, "41h 2.0 Read Analogue value A1"},
        {3, 63, "6Fh 1.2 (Re-)Calculate Satellite Positions"},
    };
    for (const auto& row : rows)
        CHECK(commandItemTexts(row.levelIndex).at(std::size_t(row.position)) == row.item);
}

TEST_CASE("a command item shows its level as a figure, or none for level 0")
{
    const struct {
        int level;
        int code;
        const char* item;
    } rows[] = {
        {0, 0x0F, "0Fh x"},      {10, 0x00, "00h 1.0 x"}, {12, 0x6B, "6Bh 1.2 x"},    {20, 0x41, "41h 2.0 x"},
        {22, 0x64, "64h 2.2 x"}, {5, 0x01, "01h 0.5 x"},  {255, 0xFF, "FFh 25.5 x"},
    };
    for (const auto& row : rows)
        CHECK(commandItemText(tdescarray{std::uint8_t(row.level), std::uint8_t(row.code), "x"}) == row.item);
}

TEST_CASE("the degree sign is one byte")
{
    CHECK(CommandTable[63].Text == "Drive Motor to Angular Position (\xB0" ")"s);
    CHECK(std::strlen(CommandTable[63].Text) == 35);
    CHECK(static_cast<unsigned char>(CommandTable[63].Text[33]) == 0xB0);
    CHECK(commandItemTexts(2).at(43) == "6Eh 1.2 Drive Motor to Angular Position (\xB0" ")");
}

TEST_CASE("the level figure ignores the locale")
{
    const CommaDecimalLocale comma;
    CHECK(commandItemTexts(StartLevel).at(StartCommand) == "6Bh 1.2 Drive Motor to Satellite Position nn");
    CHECK(commandItemText(CommandTable[1]) == "01h 2.0 Clear \"Reset\" flag");
}

TEST_CASE("a selection beyond the list falls back to its last item")
{
    const struct {
        int wanted;
        int itemCount;
        int selected;
    } rows[] = {{40, 45, 40}, {44, 45, 44}, {45, 45, 44}, {40, 18, 17}, {0, 18, 0}, {-1, 18, -1}};
    for (const auto& row : rows)
        CHECK(clampCommandIndex(row.wanted, row.itemCount) == row.selected);
}

// A level change keeps the position in the command list, not the command code.
TEST_CASE("a level change keeps the position")
{
    const struct {
        int levelIndex;
        const char* item;
    } rows[] = {
        {3, "41h 2.0 Read Analogue value A1"},
        {0, "6Dh Reserved"},
        {1, "6Dh Reserved"},
        {2, "6Bh 1.2 Drive Motor to Satellite Position nn"},
    };
    for (const auto& row : rows) {
        const std::vector<std::string> items = commandItemTexts(row.levelIndex);
        CHECK(items.at(std::size_t(clampCommandIndex(StartCommand, int(items.size())))) == row.item);
    }
}

TEST_CASE("the request is built from the selections and the options")
{
    struct Selection {
        int level, command, framing, family;
    };
    constexpr Selection Start{StartLevel, StartCommand, StartFraming, StartFamily};
    const struct {
        const char* name;
        Selection selection;
        const char* opt1;
        const char* opt2;
        const char* opt3;
        std::string request;
    } rows[] = {
        {"start-up selections", Start, "1", "", "", "\x03\x04\xE0\x31\x6B\x01"},
        {"no options", Start, "", "", "", "\x03\x03\xE0\x31\x6B"},
        {"blank options", Start, " ", "  ", "\t", "\x03\x03\xE0\x31\x6B"},
        {"gap closes up", Start, "5", "", "7", "\x03\x05\xE0\x31\x6B\x05\x07"},
        {"only opt3", Start, "", "", " 9", "\x03\x04\xE0\x31\x6B\x09"},
        {"three options", Start, "1", "2", "3", "\x03\x06\xE0\x31\x6B\x01\x02\x03"},
        {"leading blank $1F", Start, " $1F", "", "", "\x03\x04\xE0\x31\x6B\x1F"},
        {"trailing blank $1F", Start, "$1F ", "", "", "\x03\x04\xE0\x31\x6B\x1F"},
        {"0x1F", Start, "0x1F", "", "", "\x03\x04\xE0\x31\x6B\x1F"},
        {"x1F", Start, "x1F", "", "", "\x03\x04\xE0\x31\x6B\x1F"},
        {"X1f", Start, "X1f", "", "", "\x03\x04\xE0\x31\x6B\x1F"},
        {"decimal 31", Start, "31", "", "", "\x03\x04\xE0\x31\x6B\x1F"},
        {"controls around", Start, "\t31\r\n", "", "", "\x03\x04\xE0\x31\x6B\x1F"},
        {"zero byte counted", Start, "0", "", "", "\x03\x04\xE0\x31\x6B\x00"s},
        {"256 keeps low byte", Start, "256", "", "", "\x03\x04\xE0\x31\x6B\x00"s},
        {"300 keeps low byte", Start, "300", "", "", "\x03\x04\xE0\x31\x6B\x2C"},
        {"-1 keeps low byte", Start, "-1", "", "", "\x03\x04\xE0\x31\x6B\xFF"},
        {"9999 keeps low byte", Start, "9999", "", "", "\x03\x04\xE0\x31\x6B\x0F"},
        {"$FFF keeps low byte", Start, "$FFF", "", "", "\x03\x04\xE0\x31\x6B\xFF"},
        {"slave reply framing", {StartLevel, StartCommand, 4, StartFamily}, "1", "", "", "\x03\x04\xE4\x31\x6B\x01"},
        {"last framing and family", {StartLevel, StartCommand, 7, 17}, "", "", "", "\x03\x03\xE7\xF0\x6B"},
        {"reset to all devices", {0, 0, 0, 0}, "", "", "", "\x03\x03\xE0\x00\x00"s},
        {"angular position 0", {StartLevel, 43, StartFraming, StartFamily}, "0", "", "", "\x03\x04\xE0\x31\x6E\x00"s},
        {"command of level 0", {3, 10, 1, 2}, "", "", "", "\x03\x03\xE1\x11\x0F"},
        {"command with letter digits", {3, 63, 2, 9}, "", "", "", "\x03\x03\xE2\x30\x6F"},
    };
    for (const auto& row : rows) {
        INFO(row.name);
        const Selection& at = row.selection;
        const std::string command = commandItemTexts(at.level).at(std::size_t(at.command));
        CHECK(composeDiseqcRequest(command, at.framing, at.family, row.opt1, row.opt2, row.opt3) == row.request);
    }
}

TEST_CASE("a bad option stops the request with an error naming its trimmed text")
{
    const struct {
        const char* opt1;
        const char* opt2;
        const char* opt3;
        const char* message;
    } rows[] = {
        {"1", "2", "abc", "'abc' is not a valid integer value"},
        {" abc ", "", "", "'abc' is not a valid integer value"},
        {"", "1.5", "", "'1.5' is not a valid integer value"},
        {"12h", "", "", "'12h' is not a valid integer value"},
        {"$", "", "", "'$' is not a valid integer value"},
        {"1 2", "", "", "'1 2' is not a valid integer value"},
        {"7", "x", "y", "'x' is not a valid integer value"},
    };
    const std::string command = commandItemTexts(StartLevel).at(StartCommand);
    for (const auto& row : rows)
        CHECK_THROWS_WITH_AS(composeDiseqcRequest(command, StartFraming, StartFamily, row.opt1, row.opt2, row.opt3),
                             row.message, ConvertError);
}
