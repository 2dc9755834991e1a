#include "cli/CliOptions.h"

#include "protocol/BoxCommands.h"
#include "protocol/InputError.h"
#include "protocol/IntegerInput.h"
#include "protocol/MotorEstimate.h"

#include <algorithm>
#include <cctype>

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
    return "usage: vantorel-cli [OPTIONS] COMMAND [ARGUMENTS] [OPTIONS]\n"
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
          "\n"
          "The dish, the switches and single-cable LNBs (DiSEqC messages worked out for you):\n"
          "  aim SATELLITE                 where the dish points for a satellite seen from the\n"
          "                                site, the motor's mounting, the message goto sends\n"
          "                                (with --quiet the message alone, as diseqc takes it)\n"
          "                                and the move it makes; SATELLITE is a longitude\n"
          "                                (19.2E, 30W) or a name (Hot Bird, astra 2)\n"
          "      --date YYYY-MM-DD         the day of the compass bearing (default today)\n"
          "  goto SATELLITE                turn a polar mount to the satellite (E0 31 6E)\n"
          "  satellites [--visible]        the satellites known by name, one position a line;\n"
          "                                with a site, each one's azimuth and elevation, and\n"
          "                                with --visible only those above the horizon\n"
          "  halt                          stop the positioner (E0 31 60)\n"
          "  limit east|west|off|on        set the east or west limit where the dish is, or\n"
          "                                turn the limits off or on (E0 31 66, 67, 63, 6A 00)\n"
          "  drive east|west STEPS|Ns      drive 1-128 steps, or 1-127 seconds (10s)\n"
          "  store N                       store where the dish is as position N (1-255)\n"
          "  goto slot N                   drive to stored position N (0: the reference)\n"
          "      --wait                    after goto, goto slot, drive-to-zero or drive Ns:\n"
          "                                wait until the dish should be there; Ctrl+C then\n"
          "                                halts it (E0 31 60)\n"
          "  switch PORT TRANSPONDER       a switch's port 1-4 (DiSEqC 1.0, E0 10 38) for the\n"
          "                                transponder's band and polarisation (11362H, 12603V)\n"
          "      --uncommitted N           first the cascade's uncommitted port 1-16 (E0 10 39)\n"
          "      --committed-first         the committed message first, then the uncommitted one\n"
          "      --repeat N                each message N more times (0-3) as a repeat (E1)\n"
          "  scr UB UB-FREQ TRANSPONDER    a single-cable LNB's user band UB at UB-FREQ MHz\n"
          "                                (EN 50494, E0 10 5A); prints the frequency to tune to\n"
          "  scr tones                     every user band sends a tone at its centre frequency\n"
          "                                (E0 10 5B), one peak per band on a meter's spectrum\n"
          "  scr off UB                    release user band UB for a receiver moved or replaced\n"
          "                                (E0 10 5A with nothing to tune)\n"
          "      --position A|B            the LNB's position (default A; 1-64 with --jess)\n"
          "      --pin N                   the system's PIN (0-255): 5C instead of 5A, 5D of 5B\n"
          "      --jess                    EN 50607 instead: user bands 1-32 (70, 71 with a PIN);\n"
          "                                it has no tones\n"
          "  --gap MS                      the quiet between the messages of switch and scr,\n"
          "                                15-1000 ms (default 100), for slow switches\n"
          "  --lnb LOW,HIGH,SWITCH|LO      the LNB for switch and scr, in MHz (default the\n"
          "                                universal 9750,10600,11700; 10750: one oscillator)\n"
          "Numbers: decimal, or hexadecimal after $, x or 0x (0xE0, $E0, 224).\n"
          "\n"
          "Options (before or after the command):\n"
          "  --port NAME          the port (COM1, COM2... or a device path); default: the settings,\n"
          "                       or COM1, but never the system's console unless --port names it\n"
          "  --baud N             the speed; default: the settings, or 19200\n"
          "  --settings FILE      the settings file; default: the one the window reads\n"
          "  --timeout MS         how long a reply is waited for (default 3000; 1000 for\n"
          "                       ports --probe)\n"
          "  --site LAT,LON       the dish's site for aim, goto and satellites (52.52N,13.40E, or\n"
          "                       52.52,13.40 with south and west negative); default: latitude\n"
          "                       and longitude in the settings' [site] section, else the site\n"
          "                       last typed in the window (last-site.ini beside the settings)\n"
          "  --speed DEGREES      the motor's degrees per second (above 0, at most 10) for the\n"
          "                       move's time; default: [motor] speed in the settings, the one\n"
          "                       set last in the window, or 1.5. The angle each motor message\n"
          "                       sends is kept in last-dish.ini beside the settings\n"
          "  --dry-run            print what would be sent (the \"S: \" lines) and the move's\n"
          "                       time, open no port\n"
          "  --display hex|binary|ascii   how received bytes are written (default hex)\n"
          "  --crlf               CR and LF as <CR> and <LF> tokens (the ASCII form of \"R: \"\n"
          "                       lines always shows them)\n"
          "  --timestamps         a time stamp before each line\n"
          "  --quiet              only each reply, once, in the display form\n"
          "  --                   what follows is the command's, even if it starts with -\n"
          "  -h, --help           this help\n"
          "  --version            the version\n"
          "Your own satellites: satellites.ini beside the settings file, [satellites] lines such\n"
          "as 13E = Hot Bird 13F; each replaces the line of the position it names, or adds one.\n"
          "\n"
          "Exit status: 0 done (monitor too when Ctrl+C ends it), 1 a reply missing, short, late\n"
          "or too long, 2 usage or a missing settings file, 3 port failure, 4 table file failure\n"
          "or a file of the wrong size, 5 the command was carried out but its output could not be\n"
          "written (a reader that closed its pipe ends it quietly), 130 Ctrl+C, 143 terminated,\n"
          "129 hung up.\n";
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

double motorSpeedArgument(const std::string& text)
{
    try {
        return parseMotorSpeed(trimControls(text));
    } catch (const InputError& error) {
        throw UsageError(std::string("--speed: ") + error.what());
    }
}

} // namespace

std::int32_t integerArgument(const std::string& text)
{
    try {
        return parseIntegerOrThrow(trimControls(text));
    } catch (const ConvertError& error) {
        throw UsageError(error.what());
    }
}

std::uint8_t byteArgument(const std::string& text)
{
    const std::int32_t value = integerArgument(text);
    if (value < 0 || value > 255)
        throw UsageError("'" + text + "' is not a byte (0..255)");
    return static_cast<std::uint8_t>(value);
}

void CommandOptions::add(const std::string& name, std::string value)
{
    m_given.emplace_back(name, std::move(value));
}

std::optional<std::string> CommandOptions::take(const std::string& name)
{
    std::optional<std::string> value;
    for (auto given = m_given.begin(); given != m_given.end();) {
        if (given->first == name) {
            value = given->second;
            given = m_given.erase(given);
        } else {
            ++given;
        }
    }
    return value;
}

void CommandOptions::requireAllTaken(const std::string& command) const
{
    if (!m_given.empty())
        throw UsageError(m_given.front().first + " does not go with " + command);
}

namespace {

// The options some commands take: whether each takes a value.
struct CommandOption {
    const char* name;
    bool takesValue;
};
constexpr CommandOption CommandOptionList[] = {
    {"--seconds", true},  {"--probe", false},    {"--lnb", true},   {"--uncommitted", true},
    {"--repeat", true},   {"--position", true}, {"--pin", true},   {"--jess", false},
    {"--gap", true},      {"--committed-first", false},
    {"--wait", false},    {"--date", true},     {"--visible", false},
};

bool isOption(const std::string& argument)
{
    return argument.size() >= 2 && argument[0] == '-' && !std::isdigit(static_cast<unsigned char>(argument[1]))
        && argument[1] != '.';
}

// Takes the command option at `index`, if it is one.
bool takeCommandOption(const std::vector<std::string>& arguments, std::size_t& index, CommandOptions& options)
{
    for (const CommandOption& option : CommandOptionList) {
        if (!option.takesValue) {
            if (arguments[index] != option.name)
                continue;
            options.add(option.name, "");
            return true;
        }
        if (auto value = valueOf(option.name, arguments, index)) {
            options.add(option.name, *value);
            return true;
        }
    }
    return false;
}

} // namespace

CliOptions parseCliOptions(const std::vector<std::string>& arguments)
{
    CliOptions options;
    bool optionsEnded = false;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        if (optionsEnded || !isOption(argument)) {
            options.command.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "-h" || argument == "--help") {
            options.help = true;
        } else if (argument == "--version") {
            options.version = true;
        } else if (argument == "--crlf") {
            options.showCRLF = true;
        } else if (argument == "--timestamps") {
            options.lineForm.timestamps = true;
        } else if (argument == "--quiet") {
            options.lineForm.quiet = true;
        } else if (argument == "--dry-run") {
            options.dryRun = true;
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
        } else if (auto speed = valueOf("--speed", arguments, index)) {
            options.motorSpeed = motorSpeedArgument(*speed);
        } else if (auto display = valueOf("--display", arguments, index)) {
            options.display = displayNamed(*display);
        } else if (!takeCommandOption(arguments, index, options.commandOptions)) {
            throw UsageError("unknown option '" + argument + "'");
        }
    }
    if (options.command.empty() && !options.help && !options.version)
        throw UsageError("no command given");
    return options;
}
