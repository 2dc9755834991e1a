// The simulated box on a pseudo-terminal in the test's own process, named through a link in
// a folder of its own so that its port keeps its name when the box is unplugged.
#pragma once

#include "TestBox.h"

#include <memory>
#include <string>

// Null with `error` set where the system has no pseudo-terminals or the box does not start.
std::unique_ptr<TestBox> openInProcessBox(std::string& error);
