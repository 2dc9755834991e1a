// The messages an installer sends from what they know. Every expected byte is worked out here
// by hand from the published bit layouts, written out field by field:
//   committed switch (DiSEqC 1.0, Write N0): E0 10 38, data 1111 option position pol band
//   uncommitted switch (DiSEqC 1.1, Write N1): E0 10 39, data 1111 then the port less one
//   repeats: framing E1 instead of E0
//   EN 50494 ODU_Channel_change: E0 10 5A (5C with a PIN), D1 = UB-1 (3 bits) position pol
//   band T9 T8, D2 = T7..T0, T = round((IF + fUB) / 4) - 350 from the exact IF; the
//   transponder lands on (T + 350) * 4 - IF. ODU_PowerOFF: the same with T = 0 and D1's low
//   five bits 0; ODU_UBxSignal_ON: E0 10 5B 00 00 (5D ... PIN with a PIN)
//   EN 50607: 70 (71 with a PIN), D1 = UB-1 (5 bits) T10..T8, D2 = T7..T0, D3 = position-1
//   (6 bits) pol band, T = round(IF) - 100, the transponder landing on fUB + T + 100 - IF;
//   power off: T = 0, D3 = 0
//   positioner (E0 31): 60 halt, 63 limits off, 66 east limit, 67 west limit, 68/69 drive
//   east/west (01-7F seconds, 80-FF 256 less the steps), 6A store (00: limits on), 6B goto,
//   6E angle
// with pol 1 for horizontal and band 1 for high.
#include "protocol/DiseqcMessages.h"
#include "protocol/InputError.h"

#include "doctest.h"

using namespace Diseqc;

namespace {

LnbTuning on(const char* transponder, Lnb lnb = UniversalLnb) { return tuneLnb(lnb, parseTransponder(transponder)); }

} // namespace

TEST_CASE("transponders and LNBs as typed, and the band and cable frequency they give")
{
    const struct {
        const char* transponder;
        Lnb lnb;
        bool high;
        Polarisation polarisation;
        double intermediate;
    } rows[] = {
        {"11362H", UniversalLnb, false, Polarisation::Horizontal, 1612},
        {"12603v", UniversalLnb, true, Polarisation::Vertical, 2003},
        {"11700L", UniversalLnb, true, Polarisation::Horizontal, 1100}, // the switch frequency is high
        {"11699.6R", UniversalLnb, false, Polarisation::Vertical, 1949.6},
        {"10744.5H", UniversalLnb, false, Polarisation::Horizontal, 994.5}, // exact: each message rounds
        {"10700H", UniversalLnb, false, Polarisation::Horizontal, 950},     // the cable's range includes
        {"12750V", UniversalLnb, true, Polarisation::Vertical, 2150},       // both its ends
        {"11900V", {10750, std::nullopt, 0}, false, Polarisation::Vertical, 1150},
        {"3800H", {5150, std::nullopt, 0}, false, Polarisation::Horizontal, 1350}, // C band: oscillator above
    };
    for (const auto& row : rows) {
        CAPTURE(row.transponder);
        const LnbTuning tuning = on(row.transponder, row.lnb);
        CHECK(tuning.highBand == row.high);
        CHECK(tuning.polarisation == row.polarisation);
        CHECK(tuning.intermediateMHz == doctest::Approx(row.intermediate));
    }
    const Lnb universal = parseLnb("9750,10600,11700");
    CHECK(universal.lowOscillatorMHz == 9750);
    CHECK(universal.highOscillatorMHz == 10600.0);
    CHECK(universal.switchMHz == 11700);
    CHECK_FALSE(parseLnb("10750").highOscillatorMHz);

    for (const char* wrong : {"", "H", "11362", "11362X", "-11362H", "1e4H", "11362 H", "11,362H"})
        CHECK_THROWS_AS(parseTransponder(wrong), InputError);
    for (const char* wrong : {"", "a", "9750,10600", "9750,,11700", "1,2,3,4", "-9750"})
        CHECK_THROWS_AS(parseLnb(wrong), InputError);
    // 10699 MHz on the low oscillator is 949 MHz, below the cable's range; 11362 on one
    // oscillator at 10750 is 612 MHz.
    CHECK_THROWS_WITH_AS(on("10699H"), doctest::Contains("949 MHz"), InputError);
    CHECK_THROWS_AS(on("11362H", parseLnb("10750")), InputError);
    // A value too small to print as a whole MHz is named as typed.
    CHECK_THROWS_WITH_AS(on("0.0001H"), doctest::Contains("0.0001H"), InputError);
}

TEST_CASE("an LNB that cannot be, and a transponder on the wrong side of the oscillator")
{
    // Low above high would take the high band's transponders to the low oscillator.
    CHECK_THROWS_WITH_AS(parseLnb("10600,9750,11700"), doctest::Contains("10600"), InputError);
    CHECK_THROWS_AS(parseLnb("9750,9750,11700"), InputError);
    // The bands are 9750 + 950-2150 = 10700-11900 and 10600 + 950-2150 = 11550-12750: a switch
    // at 13000 or at 10600 lies in neither, one at 11900 and 11550 at their ends.
    CHECK_THROWS_WITH_AS(parseLnb("9750,10600,13000"), doctest::Contains("13000"), InputError);
    CHECK_THROWS_AS(parseLnb("9750,10600,10600"), InputError);
    CHECK(parseLnb("9750,10600,11900").switchMHz == 11900);
    CHECK(parseLnb("9750,10600,11550").switchMHz == 11550);
    CHECK_THROWS_AS(switchedLnb(10600, 9750, 11700), InputError);
    // 8000 MHz lies 1750 below the 9750 oscillator, in the cable's range, but on the wrong side
    // of a Ku LNB; the C band below a 5150 oscillator is right there (the first case's row).
    CHECK_THROWS_WITH_AS(on("8000H"), doctest::Contains("8000H"), InputError);
    CHECK_THROWS_AS(on("9000V", parseLnb("10750")), InputError);

    CHECK(lnbCaption(UniversalLnb) == "9750/10600 MHz, switch at 11700");
    CHECK(lnbCaption(parseLnb("10750")) == "10750 MHz");
}

TEST_CASE("switch ports, cascades and repeats")
{
    CHECK(committedSwitch(1, on("10744V")) == DiseqcMessage{0xE0, 0x10, 0x38, 0xF0}); // 1111 0 0 0 0
    CHECK(committedSwitch(2, on("11362H")) == DiseqcMessage{0xE0, 0x10, 0x38, 0xF6}); // 1111 0 1 1 0
    CHECK(committedSwitch(3, on("12603V")) == DiseqcMessage{0xE0, 0x10, 0x38, 0xF9}); // 1111 1 0 0 1
    CHECK(committedSwitch(4, on("12603H")) == DiseqcMessage{0xE0, 0x10, 0x38, 0xFF}); // 1111 1 1 1 1
    CHECK(uncommittedSwitch(1) == DiseqcMessage{0xE0, 0x10, 0x39, 0xF0});
    CHECK(uncommittedSwitch(16) == DiseqcMessage{0xE0, 0x10, 0x39, 0xFF});

    // Uncommitted 5 (1111 0100), then port 2 for 11362H, each repeated once.
    const std::vector<DiseqcMessage> cascade = switchMessages({2, 5, 1}, on("11362H"));
    CHECK(cascade == std::vector<DiseqcMessage>{{0xE0, 0x10, 0x39, 0xF4}, {0xE1, 0x10, 0x39, 0xF4},
                                                {0xE0, 0x10, 0x38, 0xF6}, {0xE1, 0x10, 0x38, 0xF6}});
    CHECK(messageText(cascade[1]) == "E1 10 39 F4");
    // The committed message first, each still followed by its repeat.
    CHECK(switchMessages({2, 5, 1, true}, on("11362H"))
          == std::vector<DiseqcMessage>{{0xE0, 0x10, 0x38, 0xF6}, {0xE1, 0x10, 0x38, 0xF6},
                                        {0xE0, 0x10, 0x39, 0xF4}, {0xE1, 0x10, 0x39, 0xF4}});
    CHECK_THROWS_AS(switchMessages({2, std::nullopt, 0, true}, on("11362H")), InputError);

    // Only a first transmission has a repeat: E2 (reply wanted) becomes E3; EN 50607's 70
    // would become its PIN command 71.
    CHECK(repeated({0xE2, 0x10, 0x38, 0xF6}) == DiseqcMessage{0xE3, 0x10, 0x38, 0xF6});
    CHECK_THROWS_AS(repeated({0x70, 0x05, 0xE8, 0x02}), InputError);
    CHECK_THROWS_AS(repeated({0xE1, 0x10, 0x38, 0xF6}), InputError);

    // The bus's quiet is at least 15 ms; a second is the most the command line and the window offer.
    CHECK(messageGap(15) == std::chrono::milliseconds(15));
    CHECK(messageGap(1000) == std::chrono::milliseconds(1000));
    CHECK_THROWS_WITH_AS(messageGap(5), "gap 5 is outside 15-1000 ms", InputError);
    CHECK_THROWS_AS(messageGap(1001), InputError);

    CHECK_THROWS_WITH_AS(committedSwitch(0, on("11362H")), "switch port 0 is outside 1-4", InputError);
    CHECK_THROWS_AS(committedSwitch(5, on("11362H")), InputError);
    CHECK_THROWS_AS(uncommittedSwitch(17), InputError);
    CHECK_THROWS_AS(switchMessages({1, std::nullopt, 4}, on("11362H")), InputError);
}

TEST_CASE("single-cable channel changes and the frequency to tune to")
{
    const struct {
        const char* name;
        ChannelChoice choice;
        const char* transponder;
        DiseqcMessage message;
        double tune;
    } rows[] = {
        // IF 1612: T = round(2822 / 4) - 350 = 706 - 350 = 356 = 1 0110 0100; D1 000 0 1 0 01.
        {"EN 50494, UB 1", {SingleCable::En50494, 1, 1210, 1, {}}, "11362H", {0xE0, 0x10, 0x5A, 0x09, 0x64}, 1212},
        // IF 2003: T = round(3683 / 4) - 350 = 921 - 350 = 571 = 10 0011 1011; D1 111 1 0 1 10.
        {"EN 50494, UB 8, B, PIN", {SingleCable::En50494, 8, 1680, 2, 0x2A}, "12603V",
         {0xE0, 0x10, 0x5C, 0xF6, 0x3B, 0x2A}, 1681},
        // IF 994.5: T = round(2393.5 / 4) - 350 = round(598.375) - 350 = 248 = 1111 1000; the
        // transponder lands on 598 * 4 - 994.5 = 1397.5, 1.5 MHz from the band's centre.
        {"EN 50494, a half", {SingleCable::En50494, 1, 1399, 1, {}}, "10744.5H", {0xE0, 0x10, 0x5A, 0x08, 0xF8}, 1397.5},
        // A PIN is any byte, 0 too: as the first row, 5C and the PIN after.
        {"EN 50494, PIN 0", {SingleCable::En50494, 1, 1210, 1, 0}, "11362H", {0xE0, 0x10, 0x5C, 0x09, 0x64, 0x00}, 1212},
        // T = 1612 - 100 = 1512 = 101 1110 1000; D1 00000 101, D3 000000 1 0.
        {"EN 50607, UB 1", {SingleCable::En50607, 1, 1210, 1, {}}, "11362H", {0x70, 0x05, 0xE8, 0x02}, 1210},
        // T = 2003 - 100 = 1903 = 111 0110 1111; D1 11111 111, D3 111111 0 1.
        {"EN 50607, UB 32, position 64, PIN", {SingleCable::En50607, 32, 1680, 64, 0x2A}, "12603V",
         {0x71, 0xFF, 0x6F, 0xFD, 0x2A}, 1680},
        // IF 994.5: T = 995 - 100 = 895 = 011 0111 1111; the 1 MHz step lies 0.5 above the IF.
        {"EN 50607, a half", {SingleCable::En50607, 1, 1210, 1, {}}, "10744.5H", {0x70, 0x03, 0x7F, 0x02}, 1210.5},
    };
    for (const auto& row : rows) {
        CAPTURE(row.name);
        const ChannelChange change = channelChange(row.choice, on(row.transponder));
        CHECK(change.message == row.message);
        CHECK(change.tuneMHz == row.tune);
    }

    const auto refused = [](ChannelChoice choice, const char* transponder = "11362H") {
        CHECK_THROWS_AS(channelChange(choice, on(transponder)), InputError);
    };
    refused({SingleCable::En50494, 0, 1210, 1, {}});
    refused({SingleCable::En50494, 9, 1210, 1, {}});
    refused({SingleCable::En50607, 33, 1210, 1, {}});
    refused({SingleCable::En50494, 1, 949, 1, {}});
    refused({SingleCable::En50494, 1, 2151, 1, {}});
    refused({SingleCable::En50494, 1, 1210, 3, {}});
    refused({SingleCable::En50607, 1, 1210, 65, {}});
    refused({SingleCable::En50494, 1, 1210, 1, 256});
    // IF 2150 would need T = 2050, beyond EN 50607's eleven bits.
    refused({SingleCable::En50607, 1, 1210, 1, {}}, "12750H");
}

TEST_CASE("tones on all user bands, a band released, and what each standard counts")
{
    CHECK(userBandTones(SingleCable::En50494) == DiseqcMessage{0xE0, 0x10, 0x5B, 0x00, 0x00});
    CHECK(userBandTones(SingleCable::En50494, 0x2A) == DiseqcMessage{0xE0, 0x10, 0x5D, 0x00, 0x00, 0x2A});
    CHECK(userBandTones(SingleCable::En50494, 0) == DiseqcMessage{0xE0, 0x10, 0x5D, 0x00, 0x00, 0x00});
    CHECK_THROWS_WITH_AS(userBandTones(SingleCable::En50607), doctest::Contains("EN 50607"), InputError);

    // EN 50494: D1 = UB-1 then five 0 bits: band 3 is 010 00000, band 8 111 00000.
    CHECK(releaseUserBand(SingleCable::En50494, 3) == DiseqcMessage{0xE0, 0x10, 0x5A, 0x40, 0x00});
    CHECK(releaseUserBand(SingleCable::En50494, 8, 0x2A) == DiseqcMessage{0xE0, 0x10, 0x5C, 0xE0, 0x00, 0x2A});
    // EN 50607: D1 = UB-1 then three 0 bits: band 5 is 00100 000, band 32 11111 000.
    CHECK(releaseUserBand(SingleCable::En50607, 5, 7) == DiseqcMessage{0x71, 0x20, 0x00, 0x00, 0x07});
    CHECK(releaseUserBand(SingleCable::En50607, 32) == DiseqcMessage{0x70, 0xF8, 0x00, 0x00});
    CHECK_THROWS_WITH_AS(releaseUserBand(SingleCable::En50494, 0), "user band 0 is outside 1-8 under EN 50494",
                         InputError);
    CHECK_THROWS_AS(releaseUserBand(SingleCable::En50494, 9), InputError);
    CHECK_THROWS_WITH_AS(releaseUserBand(SingleCable::En50607, 33), "user band 33 is outside 1-32 under EN 50607",
                         InputError);
    CHECK_THROWS_AS(releaseUserBand(SingleCable::En50494, 1, 256), InputError);

    // EN 50494: 8 user bands, positions A and B; EN 50607: 32 user bands, positions 1-64.
    CHECK(userBandCount(SingleCable::En50494) == 8);
    CHECK(userBandCount(SingleCable::En50607) == 32);
    CHECK(positionCount(SingleCable::En50494) == 2);
    CHECK(positionCount(SingleCable::En50607) == 64);
    CHECK(positionName(SingleCable::En50494, 2) == "B");
    CHECK(positionName(SingleCable::En50607, 64) == "64");
}

TEST_CASE("the positioner's own commands")
{
    CHECK(motorHalt() == DiseqcMessage{0xE0, 0x31, 0x60});
    CHECK(motorLimit(Limit::East) == DiseqcMessage{0xE0, 0x31, 0x66});
    CHECK(motorLimit(Limit::West) == DiseqcMessage{0xE0, 0x31, 0x67});
    CHECK(motorLimit(Limit::Off) == DiseqcMessage{0xE0, 0x31, 0x63});
    CHECK(motorLimit(Limit::On) == DiseqcMessage{0xE0, 0x31, 0x6A, 0x00});
    CHECK(motorDriveSteps(Direction::East, 5) == DiseqcMessage{0xE0, 0x31, 0x68, 0xFB});
    CHECK(motorDriveSteps(Direction::East, 1) == DiseqcMessage{0xE0, 0x31, 0x68, 0xFF});
    CHECK(motorDriveSteps(Direction::West, 128) == DiseqcMessage{0xE0, 0x31, 0x69, 0x80});
    CHECK(motorDriveSeconds(Direction::West, 10) == DiseqcMessage{0xE0, 0x31, 0x69, 0x0A});
    CHECK(motorDriveSeconds(Direction::East, 127) == DiseqcMessage{0xE0, 0x31, 0x68, 0x7F});
    CHECK(motorStore(1) == DiseqcMessage{0xE0, 0x31, 0x6A, 0x01});
    CHECK(motorGotoSlot(0) == DiseqcMessage{0xE0, 0x31, 0x6B, 0x00});
    // 29.5625 degrees west: 473 sixteenths, D then 1 D9.
    CHECK(motorGotoAngle(473, Direction::West) == DiseqcMessage{0xE0, 0x31, 0x6E, 0xD1, 0xD9});

    CHECK_THROWS_AS(motorDriveSteps(Direction::East, 0), InputError);
    CHECK_THROWS_AS(motorDriveSteps(Direction::East, 129), InputError);
    CHECK_THROWS_AS(motorDriveSeconds(Direction::East, 128), InputError);
    CHECK_THROWS_AS(motorStore(0), InputError); // 6A 00 would turn the limits on
    CHECK_THROWS_WITH_AS(motorStore(256), "stored position 256 is outside 1-255", InputError);
    CHECK_THROWS_AS(motorGotoSlot(256), InputError);
}
