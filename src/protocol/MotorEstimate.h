// How long a move of the dish takes: the angle still to go divided by the motor's speed, plus
// a second to start and settle. From an unknown place the move counts from the farther end of
// the motor's travel. The countdown reads a clock it is given, so that tests set the time.
#pragma once

#include "protocol/MotorMemory.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace MotorSpeed {
// Degrees per second: older motors turn at 1.0-1.5, newer ones about 1.7 at 13 V and 2.3 at 18 V.
constexpr double Default = 1.5;
constexpr double Fastest = 10.0;
} // namespace MotorSpeed

// How far the motor turns either side of its reference.
constexpr double MotorTravel = 75.0;
// The turns shorter than this are too short to time a motor by.
constexpr double ShortestTimedTurn = 10.0;

// "2.3": a speed above 0 and at most MotorSpeed::Fastest. Throws InputError naming the text.
double parseMotorSpeed(std::string_view text);
// "1.5 degrees/s".
std::string motorSpeedText(double speed);

// The seconds `move` takes at `speed`: the most it can take when a place is unknown.
double moveSeconds(const MotorMove& move, double speed);
// "turning 6.4 degrees east", "turning to 6.4 degrees east from an unknown position",
// "driving for 10 s".
std::string moveDescription(const MotorMove& move);
// The description with the time (a drive for a time says it already): "turning 6.4 degrees
// east: 5.3 s at 1.5 degrees/s", or
// "...from an unknown position: at most 56 s at 1.5 degrees/s".
std::string estimateText(const MotorMove& move, double speed);

// The speed a move of `seconds` shows, when it is a turn between known places of at least
// ShortestTimedTurn degrees that took longer than its start and settle; else none.
std::optional<double> measuredSpeed(const MotorMove& move, double seconds);

// A move under way: how long it has taken and how long it still takes.
class MoveCountdown {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    explicit MoveCountdown(Clock clock = &std::chrono::steady_clock::now);

    void start(const MotorMove& move, double speed);
    void stop() { m_running = false; }
    // Started and not stopped, whether or not its time is up.
    bool running() const { return m_running; }

    const MotorMove& move() const { return m_move; }
    double totalSeconds() const { return m_total; }
    double elapsedSeconds() const;
    // 0 once the time is up.
    double secondsLeft() const;
    // "turning 6.4 degrees east: 4 s left", whole seconds rounded up.
    std::string text() const;

private:
    Clock m_clock;
    MotorMove m_move;
    double m_total = 0;
    std::chrono::steady_clock::time_point m_start;
    bool m_running = false;
};
