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

// Options that only some commands take (monitor's --seconds, switch's --repeat, --lnb...), as
// given. A command takes those it understands; one left over is a usage error.
class CommandOptions {
public:
    void add(const std::string& name, std::string value);
    // The last value given for `name` (empty for a flag), taken out; nothing when not given.
    std::optional<std::string> take(const std::string& name);
    bool takeFlag(const std::string& name) { return take(name).has_value(); }
    // Throws UsageError naming an option `command` did not take.
    void requireAllTaken(const std::string& command) const;

private:
    std::vector<std::pair<std::string, std::string>> m_given;
};

struct CliOptions {
    std::optional<std::string> port;
    std::optional<std::int32_t> baud;
    std::optional<std::string> settingsFile;
    std::optional<std::chrono::milliseconds> replyTimeout;
    std::optional<std::string> site; // --site LAT,LON, as typed
    std::optional<double> motorSpeed; // --speed, degrees/s
    DisplayMode display = DisplayMode::Hex;
    bool showCRLF = false;
    LineForm lineForm;
    bool dryRun = false; // print what would be sent, open no port
    bool help = false;
    bool version = false;
    CommandOptions commandOptions;
    std::vector<std::string> command; // the command's word and its arguments
};

// The --help text.
std::string cliUsage();

// Options may stand anywhere, before or after the command and its arguments; "--" ends them.
// A word that starts with "-" and a digit is a negative number, and "-" alone a word (standard
// input or output). Throws UsageError.
CliOptions parseCliOptions(const std::vector<std::string>& arguments);

// A number under the program's integer rule; throws UsageError.
std::int32_t integerArgument(const std::string& text);
// One that must fit a byte; throws UsageError.
std::uint8_t byteArgument(const std::string& text);
