// "ports --probe": each listed port that opens is asked for the box's hardware information
// (one request, nothing else), and the ports whose reply has the box's length are marked with
// the box's own text. A port that cannot be opened is listed with the reason; the system's
// console is listed and left alone.
#include "cli/CliCommands.h"

#include "cli/ConsoleOutput.h"
#include "cli/ConsoleSession.h"
#include "link/SerialPortList.h"
#include "protocol/IntegerInput.h"

#include <map>

namespace {

// What the probe of one port found, after the port's name.
std::string probe(const std::string& port, std::int32_t baud, std::chrono::milliseconds timeout)
{
    ConsoleOutput silent{ConsoleOutput::Silent{}};
    ProgramSettings settings;
    settings.port = port;
    settings.baud = baud;
    ConsoleSession session(settings, silent, DisplayMode::Ascii, false, timeout);
    if (!session.open())
        return silent.lastError();
    const BoxRequest request = BoxRequests::hardwareInfo();
    if (session.send(request) != ConsoleSession::Outcome::Replied)
        return "no answer of the box's length";
    const std::vector<std::uint8_t> reply = session.buffer().contents();
    return "the box answers: " + std::string(trimControls(std::string(reply.begin(), reply.end())));
}

} // namespace

PlannedCommand planPortProbe(std::int32_t baud, std::chrono::milliseconds timeout)
{
    PlannedCommand command;
    command.opensPort = false;
    command.prepare = [baud, timeout](ConsoleOutput& output) {
        // A by-id link and its device are one port: it is asked once.
        std::map<std::string, std::string> found;
        for (const serial::SerialPortEntry& port : serial::listSerialPorts()) {
            if (port.console) {
                output.reply(port.name + "  not probed: the system's console");
                continue;
            }
            const std::string& device = port.detail.empty() ? port.name : port.detail;
            auto known = found.find(device);
            if (known == found.end())
                known = found.emplace(device, probe(port.name, baud, timeout)).first;
            output.reply(port.name + "  " + known->second);
        }
        return Done;
    };
    return command;
}
