// What the box does with one request line of its control channel (ControlWire.h): the call
// on the simulator it stands for, and the reply line, without its LF.
#pragma once

#include "BoxSimulator.h"

#include <string>
#include <string_view>

std::string answerControlLine(BoxSimulator& box, std::string_view line);
