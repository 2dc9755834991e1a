// The simulated box as a vantorel-boxsim process of its own, reached through its control
// channel with the program's own serial port layer, natively and under Wine alike. Reply
// hooks cannot cross into that process.
#pragma once

#include "TestBox.h"

#include <memory>
#include <string>

// Opens the control channel and resets the box to its state at start. `portName` is the
// box's port as the program names it. Null with `error` set when the channel does not open
// or answer.
std::unique_ptr<TestBox> openProcessBox(const std::string& portName, const std::string& controlName, std::string& error);
