#include "CommandLine.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

const char* const CommandLineUsage =
    "usage: vantorel-boxsim [--link PATH] [--control-link PATH]\n"
    "                       [--positions FILE] [--remote FILE]\n"
    "                       [--silent | --short | --long | --late MS | --split]\n"
    "                       [--analyse-stream] [--reply-length OPCODE:LENGTH]... [--version]\n"
    "Serves a simulated interface box on a pseudo-terminal and prints its path; each\n"
    "request and each reply goes to standard error.\n"
    "  --link PATH       also reach the pseudo-terminal through a symbolic link at PATH\n"
    "  --control-link PATH\n"
    "                    serve a control channel for tests on a second pseudo-terminal,\n"
    "                    reached through a symbolic link at PATH; its path is printed\n"
    "                    on a second line\n"
    "  --positions FILE  positioner table file (33 bytes), loaded if present, saved on change\n"
    "  --remote FILE     remote-control table file (97 bytes), likewise\n"
    "  --silent          never reply\n"
    "  --short           reply one byte short\n"
    "  --long            reply one byte too long\n"
    "  --late MS         reply after MS milliseconds\n"
    "  --split           reply in two parts, 250 ms apart\n"
    "  --analyse-stream  send a line of bus traffic every 500 ms while analyse mode is on\n"
    "  --reply-length OPCODE:LENGTH\n"
    "                    cut or pad (with 0x00) every reply to OPCODE (hex) to LENGTH bytes\n"
    "  --version         print the version and exit\n";

namespace {

constexpr unsigned long MaxReplyLength = 1UL << 20;

bool parseMilliseconds(const char* text, int& value)
{
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || parsed < 0 || parsed > INT_MAX)
        return false;
    value = static_cast<int>(parsed);
    return true;
}

// "7E:10000": an opcode in hex, a length in decimal.
bool parseReplyLength(const char* text, std::map<std::uint8_t, std::size_t>& lengths)
{
    char* end = nullptr;
    errno = 0;
    const unsigned long opcode = std::strtoul(text, &end, 16);
    if (errno != 0 || end == text || *end != ':' || opcode > 0xFF)
        return false;
    const char* lengthText = end + 1;
    const unsigned long length = std::strtoul(lengthText, &end, 10);
    if (errno != 0 || end == lengthText || *end != '\0' || length > MaxReplyLength)
        return false;
    lengths[static_cast<std::uint8_t>(opcode)] = length;
    return true;
}

} // namespace

bool parseCommandLine(int argc, char** argv, CommandLine& result, std::string& error)
{
    BoxSimulator::Options& options = result.options;
    bool faultChosen = false;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        const bool takesValue = option == "--link" || option == "--control-link" || option == "--positions"
                                || option == "--remote" || option == "--late"
                                || option == "--reply-length";
        if (takesValue && !value) {
            error = option + " needs a value";
            return false;
        }
        BoxSimulator::Fault fault = BoxSimulator::Fault::None;
        if (option == "--help" || option == "-h")
            result.help = true;
        else if (option == "--version")
            result.version = true;
        else if (option == "--link")
            options.linkPath = value;
        else if (option == "--control-link")
            result.controlLinkPath = value;
        else if (option == "--positions")
            options.positionsFile = value;
        else if (option == "--remote")
            options.remoteFile = value;
        else if (option == "--analyse-stream")
            options.analyseStream = true;
        else if (option == "--reply-length") {
            if (!parseReplyLength(value, options.replyLengths)) {
                error = std::string("--reply-length: not OPCODE:LENGTH: ") + value;
                return false;
            }
        }
        else if (option == "--silent")
            fault = BoxSimulator::Fault::Silent;
        else if (option == "--short")
            fault = BoxSimulator::Fault::Short;
        else if (option == "--long")
            fault = BoxSimulator::Fault::Long;
        else if (option == "--split")
            fault = BoxSimulator::Fault::Split;
        else if (option == "--late") {
            if (!parseMilliseconds(value, options.lateDelayMs)) {
                error = std::string("--late: not a number of milliseconds: ") + value;
                return false;
            }
            fault = BoxSimulator::Fault::Late;
        } else {
            error = "unknown option " + option;
            return false;
        }
        if (takesValue)
            ++i;
        if (fault != BoxSimulator::Fault::None) {
            if (faultChosen) {
                error = "choose at most one of --silent, --short, --long, --late, --split";
                return false;
            }
            faultChosen = true;
            options.fault = fault;
        }
    }
    return true;
}
