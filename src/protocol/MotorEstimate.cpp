#include "protocol/MotorEstimate.h"

#include "protocol/InputError.h"
#include "protocol/IntegerInput.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// The motor takes this long to start and to settle, whatever the distance.
constexpr double StartAndSettle = 1.0;

std::string decimal(double value, int decimals)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string angleText(double angle)
{
    return decimal(std::fabs(angle), 1) + " degrees" + (angle < 0 ? " west" : " east");
}

// A wait must not come short: tenths of a second are rounded up.
std::string secondsText(double seconds)
{
    return decimal(std::ceil(seconds * 10 - 1e-9) / 10, 1) + " s";
}

std::string wholeSecondsText(double seconds)
{
    return std::to_string(static_cast<long>(std::ceil(seconds - 1e-9))) + " s";
}

// From an unknown place the motor may stand at either end of its travel: the farther counts.
double farthestFrom(double angle)
{
    return std::max(std::fabs(angle - MotorTravel), std::fabs(angle + MotorTravel));
}

// Whether the move's time is the most it can take, a place being unknown.
bool isUpperBound(const MotorMove& move)
{
    return !move.seconds && !(move.from && move.to);
}

} // namespace

double parseMotorSpeed(std::string_view text)
{
    const std::optional<double> speed = parsePlainDecimal(text);
    if (!speed || !(*speed > 0) || *speed > MotorSpeed::Fastest)
        throw InputError("a motor speed is in degrees per second, above 0 and at most "
                         + decimal(MotorSpeed::Fastest, 0) + ", not '" + std::string(text) + "'");
    return *speed;
}

std::string motorSpeedText(double speed)
{
    std::string text = decimal(speed, 2);
    if (text.back() == '0')
        text.pop_back();
    return text + " degrees/s";
}

double moveSeconds(const MotorMove& move, double speed)
{
    if (move.seconds)
        return *move.seconds;
    double degrees = 2 * MotorTravel;
    if (move.from && move.to)
        degrees = std::fabs(*move.to - *move.from);
    else if (move.from || move.to)
        degrees = farthestFrom(move.from ? *move.from : *move.to);
    return degrees / speed + StartAndSettle;
}

std::string moveDescription(const MotorMove& move)
{
    if (move.seconds)
        return "driving for " + std::to_string(*move.seconds) + " s";
    if (!move.to)
        return "turning to an unknown position";
    if (!move.from)
        return "turning to " + angleText(*move.to) + " from an unknown position";
    return "turning " + angleText(*move.to - *move.from);
}

std::string estimateText(const MotorMove& move, double speed)
{
    const double seconds = moveSeconds(move, speed);
    if (move.seconds)
        return moveDescription(move);
    // The most a move can take is a rough figure: whole seconds.
    const std::string time = isUpperBound(move) ? "at most " + wholeSecondsText(seconds) : secondsText(seconds);
    return moveDescription(move) + ": " + time + " at " + motorSpeedText(speed);
}

std::optional<double> measuredSpeed(const MotorMove& move, double seconds)
{
    if (!move.from || !move.to || seconds <= StartAndSettle)
        return std::nullopt;
    const double degrees = std::fabs(*move.to - *move.from);
    if (degrees < ShortestTimedTurn)
        return std::nullopt;
    return degrees / (seconds - StartAndSettle);
}

MoveCountdown::MoveCountdown(Clock clock)
    : m_clock(std::move(clock))
{
}

void MoveCountdown::start(const MotorMove& move, double speed)
{
    m_move = move;
    m_total = moveSeconds(move, speed);
    m_start = m_clock();
    m_running = true;
}

double MoveCountdown::elapsedSeconds() const
{
    return std::chrono::duration<double>(m_clock() - m_start).count();
}

double MoveCountdown::secondsLeft() const
{
    return std::max(0.0, m_total - elapsedSeconds());
}

std::string MoveCountdown::text() const
{
    return moveDescription(m_move) + ": " + wholeSecondsText(secondsLeft()) + " left";
}
