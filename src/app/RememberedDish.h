// The dish's motor as Vantorel last sent it, and the motor's speed, kept in last-dish.ini
// beside the remembered site (the settings are only read), so that the window and the command
// line share them. Each is read when needed: a command line run or the window may have sent
// the dish elsewhere since. A file that cannot be read or written is said in words, and the
// angle is then unknown.
#pragma once

#include "protocol/MotorMemory.h"

#include <optional>
#include <string>

struct RememberedDish {
    MotorMemory motor;
    std::optional<double> speed; // the window's "Motor speed", as last set there
};

// What the file holds; what could not be read is said in `problem` (left as it was otherwise).
RememberedDish readRememberedDish(const std::string& settingsFile, std::string& problem);
// Empty once written, else the words that say it was not.
std::string writeRememberedDish(const std::string& settingsFile, const RememberedDish& dish);

// Keeps `speed` as the motor's speed last set; empty once written, else the words that say
// it was not.
std::string rememberMotorSpeed(const std::string& settingsFile, double speed);

// A request sent to the box, noted in the file when it concerns the motor.
struct DishNote {
    MotorEffect effect;
    std::string problem; // the file could not be read or written
};
DishNote noteSentToDish(const std::string& settingsFile, const BoxRequest& request, bool replied);

// The motor's speed in degrees/s: `given` (--speed), else the settings' [motor] speed, else
// the remembered one, else MotorSpeed::Default. One that does not read is said in `problem`
// and passed over.
double motorSpeedFor(const std::string& settingsFile, std::optional<double> given, std::string& problem);
