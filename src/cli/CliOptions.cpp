#include "cli/CliOptions.h"

#include "protocol/BoxCommands.h"
#include "protocol/IntegerInput.h"

#include <algorithm>

namespace {

// Each of the box's fixed commands on a line of its own, as BoxCommands describes it.
std::string boxCommandLines()
{
    std::string lines;
    for (const BoxCommand* command : BoxCommands::all()) {
        std::string usage = command->name;
        if (command->argument == CommandArgument::OnOff)
            usage += " on|off";
        else if (command->argument == CommandArgument::Byte)
            usage += " N";
        usage.resize(std::max<std::size_t>(usage.size() + 1, 30), ' ');
        lines += "  " + usage + command->help + "\n";
        if (command->askFirst)
            lines += std::string(32, ' ') + "(without the window's \"Are you sure?\")\n";
    }
    return lines;
}

} // namespace

std::string cliUsage()
{
    return "usage: vantorel-cli [OPTIONS] [--] COMMAND [ARGUMENTS]\n"
           "Sends one command to the interface box and prints the request and the reply as the\n"
           "log pane shows them (\"S: \" and \"R: \" lines); errors go to standard error.\n"
           "\n"
           "Commands:\n"
        + boxCommandLines()
        + "  diseqc BYTE...                any DiSEqC message of 3 to 6 bytes\n"
          "  positions get|put FILE        positioner table from the box into FILE, or back\n"
          "  remote get|put FILE           remote-control table likewise (FILE - : standard I/O);\n"
          "                                a put takes a file of exactly the table's size\n"
          "  monitor [--seconds S]         print what the box sends, until S seconds or Ctrl+C\n"
          "  ports [--probe]               the serial ports of this machine, one per line; with\n"
          "                                --probe each that opens is sent one HW Info request\n"
          "                                and the ones where the box answers are marked\n"
          "  aim SATELLITE                 where the dish points for a satellite (19.2E, 30W)\n"
          "                                seen from the site, and the message goto sends\n"
          "  goto SATELLITE                turn a polar mount to the satellite: the DiSEqC\n"
          "                                message E0 31 6E with the motor's angle\n"
          "Numbers: decimal, or hexadecimal after $, x or 0x (0xE0, $E0, 224).\n"
          "\n"
          "Options:\n"
          "  --port NAME          the port (COM1, COM2... or a device path); default: the settings\n"
          "  --baud N             the speed; default: the settings, or 19200\n"
          "  --settings FILE      the settings file; default: the one the window reads\n"
          "  --timeout MS         how long a reply is waited for (default 3000; 1000 for\n"
          "                       ports --probe)\n"
          "  --site LAT,LON       the dish's site for aim and goto (52.52N,13.40E, or 52.52,13.40\n"
          "                       with south and west negative); default: latitude and\n"
          "                       longitude in the settings' [site] section\n"
          "  --display hex|binary|ascii   how received bytes are written (default hex)\n"
          "  --crlf               CR and LF as <CR> and <LF> tokens (the ASCII form of \"R: \"\n"
          "                       lines always shows them)\n"
          "  --timestamps         a time stamp before each line\n"
          "  --quiet              only each reply, once, in the display form\n"
          "  -h, --help           this help\n"
          "  --version            the version\n"
          "\n"
          "Exit status: 0 done (monitor too when Ctrl+C ends it), 1 a reply missing, short, late\n"
          "or too long, 2 usage or a missing settings file, 3 port failure, 4 table file failure\n"
          "or a file of the wrong size, 5 the command was carried out but its output could not be\n"
          "written, 130 Ctrl+C, 143 terminated, 129 hung up.\n";
}

namespace {

DisplayMode displayNamed(const std::string& name)
{
    if (name == "hex")
        return DisplayMode::Hex;
    if (name == "binary")
        return DisplayMode::Binary;
    if (name == "ascii")
        return DisplayMode::Ascii;
    throw UsageError("--display takes hex, binary or ascii, not '" + name + "'");
}

std::int32_t integerArgument(const std::string& text)
{
    try {
        return parseIntegerOrThrow(trimControls(text));
    } catch (const ConvertError& error) {
        throw UsageError(error.what());
    }
}

// "--name VALUE" or "--name=VALUE"; `index` moves past what was taken.
std::optional<std::string> valueOf(const std::string& name, const std::vector<std::string>& arguments,
                                   std::size_t& index)
{
    const std::string& argument = arguments[index];
    if (argument == name) {
        if (index + 1 >= arguments.size())
            throw UsageError(name + " needs a value");
        return arguments[++index];
    }
    if (argument.compare(0, name.size() + 1, name + "=") == 0)
        return argument.substr(name.size() + 1);
    return std::nullopt;
}

// A whole number above 0 for `option`.
std::int32_t positiveArgument(const std::string& option, const std::string& text)
{
    const std::int32_t value = integerArgument(text);
    if (value <= 0)
        throw UsageError(option + " takes a number above 0, not '" + text + "'");
    return value;
}

} // namespace

std::uint8_t byteArgument(const std::string& text)
{
    const std::int32_t value = integerArgument(text);
    if (value < 0 || value > 255)
        throw UsageError("'" + text + "' is not a byte (0..255)");
    return static_cast<std::uint8_t>(value);
}

CliOptions parseCliOptions(const std::vector<std::string>& arguments)
{
    CliOptions options;
    std::size_t index = 0;
    for (; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        if (argument.size() < 2 || argument[0] != '-')
            break;
        if (argument == "--") {
            ++index;
            break;
        }
        if (argument == "-h" || argument == "--help") {
            options.help = true;
        } else if (argument == "--version") {
            options.version = true;
        } else if (argument == "--crlf") {
            options.showCRLF = true;
        } else if (argument == "--timestamps") {
            options.lineForm.timestamps = true;
        } else if (argument == "--quiet") {
            options.lineForm.quiet = true;
        } else if (auto port = valueOf("--port", arguments, index)) {
            if (port->empty()) // would name the device folder itself
                throw UsageError("--port takes a port's name, not an empty one");
            options.port = *port;
        } else if (auto baud = valueOf("--baud", arguments, index)) {
            options.baud = positiveArgument("--baud", *baud);
        } else if (auto timeout = valueOf("--timeout", arguments, index)) {
            options.replyTimeout = std::chrono::milliseconds(positiveArgument("--timeout", *timeout));
        } else if (auto settings = valueOf("--settings", arguments, index)) {
            options.settingsFile = *settings;
        } else if (auto site = valueOf("--site", arguments, index)) {
            options.site = *site;
        } else if (auto display = valueOf("--display", arguments, index)) {
            options.display = displayNamed(*display);
        } else {
            throw UsageError("unknown option '" + argument + "'");
        }
    }
    options.command.assign(arguments.begin() + static_cast<std::ptrdiff_t>(index), arguments.end());
    if (options.command.empty() && !options.help && !options.version)
        throw UsageError("no command given");
    return options;
}
