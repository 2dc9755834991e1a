// The dish's known angle as each message sent leaves it, and the time a move takes. The
// messages are written out byte by byte from the positioner command set: E0 31 (E1 a repeat,
// 30 any positioner), 60 halt, 68/69 drive east/west (01-7F seconds, 80-FF steps), 6A store
// (00: limits on), 6B goto a stored position (0 the reference), 6E goto an angle (direction
// nibble E east, D west, then 12 bits of sixteenths; 6E 00 alone is the reference), 6F
// recalculate; the box's own 04 00 N (its position N) and 05 00/01 (a step). Expected times
// are worked by hand: angle / speed + 1 s, from the farther end of the 75-degree travel when
// a place is unknown.
#include "protocol/InputError.h"
#include "protocol/MotorEstimate.h"
#include "protocol/MotorMemory.h"

#include "doctest.h"

#include <cmath>
#include <initializer_list>

namespace {

// The box's request 03 n b1..bn carrying a DiSEqC message.
BoxRequest onBus(std::initializer_list<int> message)
{
    std::string bytes{'\x03', static_cast<char>(message.size())};
    for (const int byte : message)
        bytes += static_cast<char>(byte);
    return {bytes, 2};
}

BoxRequest boxOwn(std::initializer_list<int> request)
{
    std::string bytes;
    for (const int byte : request)
        bytes += static_cast<char>(byte);
    return {bytes, 2};
}

constexpr double Unknown = -999; // in the table: no angle

std::optional<double> angle(double value)
{
    return value == Unknown ? std::nullopt : std::optional<double>(value);
}

} // namespace

TEST_CASE("every motor message sets the known angle, whatever sent it")
{
    const struct {
        const char* what;
        BoxRequest request;
        double before;
        MotorChange change;
        double after;
    } rows[] = {
        {"drive to 0 (6E 00)", onBus({0xE0, 0x31, 0x6E, 0x00}), Unknown, MotorChange::Turned, 0},
        {"0x066 = 102 sixteenths east", onBus({0xE0, 0x31, 0x6E, 0xE0, 0x66}), 0, MotorChange::Turned, 6.375},
        {"0x2F5 = 757 sixteenths west", onBus({0xE0, 0x31, 0x6E, 0xD2, 0xF5}), 6.375, MotorChange::Turned, -47.3125},
        {"a repeat to any positioner", onBus({0xE1, 0x30, 0x6E, 0xE0, 0x10}), Unknown, MotorChange::Turned, 1},
        {"no direction nibble", onBus({0xE0, 0x31, 0x6E, 0x00, 0x10}), 3, MotorChange::Turned, Unknown},
        {"halt", onBus({0xE0, 0x31, 0x60}), 6.375, MotorChange::Lost, Unknown},
        {"drive 10 steps east", onBus({0xE0, 0x31, 0x68, 0xF6}), 6.375, MotorChange::Lost, Unknown},
        {"drive for ever", onBus({0xE0, 0x31, 0x69, 0x00}), 6.375, MotorChange::Lost, Unknown},
        {"recalculate", onBus({0xE0, 0x31, 0x6F, 0x00}), 6.375, MotorChange::Lost, Unknown},
        {"the box's position 5", boxOwn({0x04, 0x00, 0x05}), 6.375, MotorChange::Lost, Unknown},
        {"the box's step up", boxOwn({0x05, 0x00}), 6.375, MotorChange::Lost, Unknown},
        {"the box's step down", boxOwn({0x05, 0x01}), 6.375, MotorChange::Lost, Unknown},
        {"limits on (6A 00)", onBus({0xE0, 0x31, 0x6A, 0x00}), 6.375, MotorChange::None, 6.375},
        {"east limit", onBus({0xE0, 0x31, 0x66}), 6.375, MotorChange::None, 6.375},
        {"a switch", onBus({0xE0, 0x10, 0x38, 0xF6}), 6.375, MotorChange::None, 6.375},
        {"a reply to the framing (E4)", onBus({0xE4, 0x31, 0x60}), 6.375, MotorChange::None, 6.375},
        {"HW Info", boxOwn({0x01}), 6.375, MotorChange::None, 6.375},
    };
    for (const auto& row : rows) {
        CAPTURE(row.what);
        MotorMemory memory{angle(row.before), {}};
        const MotorEffect effect = applySentRequest(row.request, memory);
        CHECK(effect.change == row.change);
        CHECK(memory.angle == angle(row.after));
        if (row.change == MotorChange::Turned) {
            REQUIRE(effect.move);
            CHECK(effect.move->from == angle(row.before));
            CHECK(effect.move->to == angle(row.after));
        }
    }
}

TEST_CASE("a drive for a time is a move of that time, and leaves the angle unknown")
{
    MotorMemory memory{6.375, {}};
    const MotorEffect effect = applySentRequest(onBus({0xE0, 0x31, 0x69, 0x0A}), memory);
    CHECK(effect.change == MotorChange::Turned);
    REQUIRE(effect.move);
    CHECK(effect.move->seconds == 10);
    CHECK_FALSE(memory.angle);
    CHECK(moveSeconds(*effect.move, 1.5) == 10);
}

TEST_CASE("a store remembers the angle for its slot, and goto slot finds it")
{
    MotorMemory memory{6.375, {}};
    CHECK(applySentRequest(onBus({0xE0, 0x31, 0x6A, 0x03}), memory).change == MotorChange::Stored);
    CHECK(memory.storedAngles.at(3) == 6.375);
    memory.angle = -10;
    CHECK(applySentRequest(onBus({0xE0, 0x31, 0x6B, 0x03}), memory).move->from == -10);
    CHECK(memory.angle == 6.375);
    applySentRequest(onBus({0xE0, 0x31, 0x6B, 0x00}), memory); // the reference
    CHECK(memory.angle == 0);
    applySentRequest(onBus({0xE0, 0x31, 0x6B, 0x07}), memory); // never stored
    CHECK_FALSE(memory.angle);
    // A store from an unknown place forgets the slot; a recalculation forgets them all.
    memory.storedAngles[4] = 1;
    applySentRequest(onBus({0xE0, 0x31, 0x6A, 0x03}), memory);
    CHECK(memory.storedAngles.count(3) == 0);
    applySentRequest(onBus({0xE0, 0x31, 0x6F, 0x00}), memory);
    CHECK(memory.storedAngles.empty());
}

TEST_CASE("a motor message the box did not confirm leaves the angle unknown")
{
    MotorMemory memory{0, {}};
    CHECK(applySentRequest(onBus({0xE0, 0x31, 0x6E, 0xE0, 0x66}), memory, false).change == MotorChange::Lost);
    CHECK_FALSE(memory.angle);
    memory = {6.375, {{3, 1.0}}};
    applySentRequest(onBus({0xE0, 0x31, 0x6A, 0x03}), memory, false);
    CHECK(memory.storedAngles.count(3) == 0); // it may or may not have been stored
    CHECK(memory.angle == 6.375);      // a store does not move the dish
}

TEST_CASE("the move's time: the angle to go over the speed, and a second to start and settle")
{
    const struct {
        MotorMove move;
        double speed;
        double seconds;
        const char* text;
    } rows[] = {
        // Berlin to 19.2E from the reference: 6.375 / 1.5 + 1 = 5.25, said rounded up.
        {{0.0, 6.375, {}}, 1.5, 5.25, "turning 6.4 degrees east: 5.3 s at 1.5 degrees/s"},
        // 20 west to 30 east: 50 / 2.5 + 1.
        {{-20.0, 30.0, {}}, 2.5, 21, "turning 50.0 degrees east: 21.0 s at 2.5 degrees/s"},
        {{30.0, -20.0, {}}, 2.3, 50 / 2.3 + 1, "turning 50.0 degrees west: 22.8 s at 2.3 degrees/s"},
        // From an unknown place the far end, 75 west: (75 + 6.375) / 1.5 + 1 = 55.25.
        {{{}, 6.375, {}}, 1.5, 55.25,
         "turning to 6.4 degrees east from an unknown position: at most 56 s at 1.5 degrees/s"},
        {{-6.375, {}, {}}, 1.5, 55.25, "turning to an unknown position: at most 56 s at 1.5 degrees/s"},
        // Both unknown: the whole travel, 150 / 2 + 1.
        {{{}, {}, {}}, 2, 76, "turning to an unknown position: at most 76 s at 2.0 degrees/s"},
        {{{}, {}, 10}, 1.5, 10, "driving for 10 s"},
    };
    for (const auto& row : rows) {
        CAPTURE(row.text);
        CHECK(moveSeconds(row.move, row.speed) == doctest::Approx(row.seconds));
        CHECK(estimateText(row.move, row.speed) == row.text);
    }
}

TEST_CASE("a motor speed is above 0 and at most 10 degrees/s")
{
    CHECK(parseMotorSpeed("2.3") == 2.3);
    CHECK(parseMotorSpeed("10") == 10);
    for (const char* bad : {"0", "-1", "abc", "10.5", "", "1,5"}) {
        CAPTURE(bad);
        CHECK_THROWS_AS(parseMotorSpeed(bad), InputError);
    }
}

TEST_CASE("the speed a timed turn shows: only between known places 10 degrees apart")
{
    // 20 degrees in 11 s, a second of it to start and settle: 2 degrees/s.
    CHECK(measuredSpeed({0.0, 20.0, {}}, 11) == 2.0);
    CHECK(measuredSpeed({5.0, -5.0, {}}, 6) == 2.0);
    CHECK_FALSE(measuredSpeed({0.0, 6.375, {}}, 5));
    CHECK_FALSE(measuredSpeed({{}, 20.0, {}}, 11));
    CHECK_FALSE(measuredSpeed({0.0, 20.0, {}}, 1));
}

TEST_CASE("the countdown reads the clock it is given")
{
    using namespace std::chrono;
    steady_clock::time_point now{};
    MoveCountdown countdown([&now] { return now; });
    CHECK_FALSE(countdown.running());
    countdown.start({0.0, 6.375, {}}, 1.5); // 5.25 s
    CHECK(countdown.running());
    now += milliseconds(1200);
    CHECK(countdown.elapsedSeconds() == doctest::Approx(1.2));
    CHECK(countdown.secondsLeft() == doctest::Approx(4.05));
    CHECK(countdown.text() == "turning 6.4 degrees east: 5 s left");
    now += seconds(5);
    CHECK(countdown.secondsLeft() == 0);
    CHECK(countdown.text() == "turning 6.4 degrees east: 0 s left");
    countdown.stop();
    CHECK_FALSE(countdown.running());
}
