// The options of vantorel-boxsim.
#pragma once

#include "BoxSimulator.h"

#include <string>

struct CommandLine {
    BoxSimulator::Options options;
    std::string controlLinkPath; // empty: no control channel
    bool help = false;
    bool version = false;
};

extern const char* const CommandLineUsage;

// False with `error` set for an unknown option, a missing or malformed value, or more
// than one fault.
bool parseCommandLine(int argc, char** argv, CommandLine& result, std::string& error);
