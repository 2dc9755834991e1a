#include "cli/CliCommands.h"

#include "cli/CliOptions.h"
#include "link/SendInTurn.h"
#include "cli/Interrupt.h"
#include "link/SerialPortList.h"
#include "protocol/BoxCommands.h"
#include "protocol/IntegerInput.h"
#include "protocol/SatelliteList.h"

#include <chrono>
#include <cstdint>
#include <thread>

namespace {

using Requests = std::vector<BoxRequest>;

// The box carries DiSEqC messages of a framing, an address, a command and up to three data bytes.
constexpr std::size_t MinDiseqcBytes = 3;
constexpr std::size_t MaxDiseqcBytes = 6;

void expectArguments(const std::vector<std::string>& words, std::size_t count)
{
    if (words.size() - 1 != count)
        throw UsageError(words[0] + (count == 0 ? " takes no argument" : " takes " + std::to_string(count) + " argument"));
}

std::uint8_t onOff(const std::string& word)
{
    if (word == "on")
        return 1;
    if (word == "off")
        return 0;
    throw UsageError("'" + word + "' is neither on nor off");
}

// Every request is sent, as the menu item sends them, whatever the box answered before; `gap`
// is the quiet left on the bus after each reply before the next request.
PlannedCommand sending(Requests requests, ConsoleSession::ReplyLength replyLength = ConsoleSession::ReplyLength::Exact,
                       std::chrono::milliseconds gap = std::chrono::milliseconds(0))
{
    PlannedCommand command;
    command.requests = [requests] { return requests; };
    for (const BoxRequest& request : requests) {
        MotorMemory scratch;
        command.turnsDish = command.turnsDish || applySentRequest(request, scratch).change == MotorChange::Turned;
    }
    command.run = [requests = std::move(requests), replyLength, gap](ConsoleSession& session, ConsoleOutput&) {
        ExitStatus status = Done;
        sendInTurn(
            requests, gap,
            [&](const BoxRequest& request) {
                noteOutcome(session.send(request, replyLength), status);
                return status != PortFailed;
            },
            [](std::chrono::milliseconds duration) { std::this_thread::sleep_for(duration); });
        return status;
    };
    return command;
}

PlannedCommand planDiseqc(const std::vector<std::string>& words)
{
    if (words.size() - 1 < MinDiseqcBytes || words.size() - 1 > MaxDiseqcBytes)
        throw UsageError("diseqc takes 3 to 6 bytes");
    std::string message;
    for (std::size_t i = 1; i < words.size(); ++i)
        message += static_cast<char>(byteArgument(words[i]));
    return sending({BoxRequests::diseqcMessage(message)});
}

PlannedCommand planMonitor(const std::vector<std::string>& words, CommandOptions& options)
{
    std::optional<std::chrono::milliseconds> duration;
    if (const std::optional<std::string> text = options.take("--seconds")) {
        const std::int32_t seconds = parseIntegerOr(trimControls(*text), -1);
        if (seconds <= 0)
            throw UsageError("--seconds takes a whole number of seconds above 0, not '" + *text + "'");
        duration = std::chrono::seconds(seconds);
    }
    if (words.size() != 1)
        throw UsageError("monitor takes only --seconds S");
    PlannedCommand command;
    command.run = [duration](ConsoleSession& session, ConsoleOutput&) {
        try {
            session.listen(duration);
        } catch (const Interrupted&) {
            if (!interruptedFromKeyboard())
                throw;
        }
        return Done; // Ctrl+C is a monitor's normal end
    };
    return command;
}

// How long a probed port is given to answer, unless --timeout says otherwise.
constexpr std::chrono::milliseconds ProbeTimeout{1000};

// The ports a user may name with --port or in the settings, without opening any; with
// --probe, each asked whether the box is there.
PlannedCommand planPortList(const std::vector<std::string>& words, CommandOptions& options,
                            const CommandContext& context)
{
    if (words.size() != 1)
        throw UsageError("ports takes only --probe");
    if (options.takeFlag("--probe"))
        return planPortProbe(context.settings().baud, context.replyTimeout.value_or(ProbeTimeout));
    PlannedCommand command;
    command.opensPort = false;
    command.sendsNothing = true;
    command.prepare = [](ConsoleOutput& output) {
        for (const serial::SerialPortEntry& port : serial::listSerialPorts())
            output.reply(serial::portListLine(port));
        return Done;
    };
    return command;
}

} // namespace

void noteOutcome(ConsoleSession::Outcome outcome, ExitStatus& status)
{
    if (outcome == ConsoleSession::Outcome::WriteFailed)
        status = PortFailed;
    else if (outcome != ConsoleSession::Outcome::Replied && status == Done)
        status = ReplyMissing;
}

PlannedCommand sendingMessages(const std::vector<DiseqcMessage>& messages, std::chrono::milliseconds gap)
{
    Requests requests;
    for (const DiseqcMessage& message : messages)
        requests.push_back(BoxRequests::diseqcMessage(message));
    return sending(std::move(requests), ConsoleSession::ReplyLength::Exact, gap);
}

namespace {

PlannedCommand planWords(const std::vector<std::string>& words, CommandOptions& options,
                         const CommandContext& context)
{
    const std::string& name = words.at(0);
    const std::vector<std::string> arguments(words.begin() + 1, words.end());
    // The window's menu items, with the item's check state or its input box's number as the
    // argument, and without the window's "Are you sure?".
    if (const BoxCommand* command = BoxCommands::named(name)) {
        expectArguments(words, command->argument == CommandArgument::None ? 0 : 1);
        std::uint8_t argument = 0;
        if (command->argument == CommandArgument::OnOff)
            argument = onOff(words[1]);
        else if (command->argument == CommandArgument::Byte)
            argument = byteArgument(words[1]);
        return sending(command->requests(argument), command->trafficAfterReply ? ConsoleSession::ReplyLength::AtLeast
                                                                               : ConsoleSession::ReplyLength::Exact);
    }
    if (name == "diseqc")
        return planDiseqc(words);
    if (name == "monitor")
        return planMonitor(words, options);
    if (name == "ports")
        return planPortList(words, options, context);
    if (name == "aim")
        return planAim(arguments, options, context);
    if (name == "goto" && !arguments.empty() && arguments[0] == "slot")
        return planPositioner(name, arguments);
    if (name == "goto")
        return planGoto(arguments, context);
    if (name == "satellites") {
        expectArguments(words, 0);
        const bool visibleOnly = options.takeFlag("--visible");
        return planSatelliteList(context.satellites(), context.siteIfKnown(), visibleOnly);
    }
    if (name == "switch")
        return planSwitch(arguments, options);
    if (name == "scr")
        return planSingleCable(arguments, options);
    if (name == "halt" || name == "limit" || name == "drive" || name == "store")
        return planPositioner(name, arguments);
    if (name == "positions" || name == "remote")
        return planTableCommand(name, arguments);
    throw UsageError("unknown command '" + name + "'");
}

} // namespace

PlannedCommand planCommand(const std::vector<std::string>& words, CommandOptions options,
                           const CommandContext& context)
{
    const bool wait = options.takeFlag("--wait");
    PlannedCommand command = planWords(words, options, context);
    options.requireAllTaken(words.at(0));
    if (wait && !command.turnsDish)
        throw UsageError("--wait does not go with " + words.at(0)
                         + ": it goes with a command that turns the dish to a place or for a time (goto, goto slot, "
                           "drive-to-zero, drive east|west Ns)");
    command.waitsForMove = wait;
    return command;
}
