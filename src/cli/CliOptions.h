// The command line's options and its command, read from the arguments.
#pragma once

#include "cli/ConsoleOutput.h"
#include "protocol/ByteFormat.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// A command line that cannot be run; its message is printed after the program's name.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct CliOptions {
    std::optional<std::string> port;
    std::optional<std::int32_t> baud;
    std::optional<std::string> settingsFile;
    std::optional<std::chrono::milliseconds> replyTimeout;
    std::optional<std::string> site; // --site LAT,LON, as typed
    DisplayMode display = DisplayMode::Hex;
    bool showCRLF = false;
    LineForm lineForm;
    bool help = false;
    bool version = false;
    std::vector<std::string> command; // the command's word and its arguments
};

// The --help text.
std::string cliUsage();

// Options come before the command ("--" ends them); everything from the command on is the
// command's. Throws UsageError.
CliOptions parseCliOptions(const std::vector<std::string>& arguments);

// A number under the program's integer rule that must fit a byte; throws UsageError.
std::uint8_t byteArgument(const std::string& text);
