// vantorel-cli: one box command per run, from a script or a terminal. It reads the settings
// the window reads, opens the port with the window's own sequence, prints the log pane's
// lines, and tells in its exit status how the command went.
#include "app/AppPathsNative.h"
#include "app/ProgramArguments.h"
#include "app/RememberedDish.h"
#include "app/SettingsFile.h"
#include "app/SiteFiles.h"
#include "app/TextOutput.h"
#include "cli/CliCommands.h"
#include "cli/CliOptions.h"
#include "cli/ConsoleOutput.h"
#include "cli/ConsoleSession.h"
#include "cli/Interrupt.h"
#include "cli/MoveWait.h"
#include "generated/ProgramIdentity.h"
#include "link/BoxSession.h"
#include "link/SerialIo.h"
#include "link/SerialPortList.h"
#include "protocol/ByteFormat.h"
#include "protocol/GeoCoordinates.h"
#include "protocol/MotorEstimate.h"
#include "protocol/SatelliteAim.h"

#include <algorithm>
#include <cstdio>

namespace {

// Throws UsageError for a settings file named on the command line that is not there: its
// defaults would send the command to another port.
std::string settingsFileFor(const CliOptions& options)
{
    if (options.settingsFile && !isRegularFile(*options.settingsFile))
        throw UsageError("no settings file '" + *options.settingsFile + "'");
    return options.settingsFile.value_or(settingsFilePath(WindowProgramName));
}

ProgramSettings settingsFor(const CliOptions& options)
{
    ProgramSettings settings = readProgramSettings(settingsFileFor(options));
    if (options.port)
        settings.port = serial::portNameFromSettings(*options.port);
    if (options.baud)
        settings.baud = *options.baud;
    return settings;
}

// --site, the [site] section of the settings, or the site last typed in the window.
std::optional<GeoSite> siteIfKnown(const CliOptions& options)
{
    if (options.site)
        return checkedInput([&] { return siteFromText(*options.site); });
    const std::string settingsFile = settingsFileFor(options);
    return checkedInput([&] { return siteFromStore(settingsFile); });
}

GeoSite siteFor(const CliOptions& options)
{
    if (const std::optional<GeoSite> site = siteIfKnown(options))
        return *site;
    const std::string settingsFile = settingsFileFor(options);
    throw UsageError("no site: give --site LAT,LON (52.52N,13.40E or 52.52,13.40), latitude and longitude in the "
                     "[site] section of "
                     + settingsFile + ", or type it once in the window's Point the Dish");
}

// The dish's motor as last sent, and the speed it turns at; what cannot be read is said.
MotorMemory motorMemoryFor(const CliOptions& options, std::string& problem)
{
    return readRememberedDish(settingsFileFor(options), problem).motor;
}

double speedFor(const CliOptions& options, std::string& problem)
{
    return motorSpeedFor(settingsFileFor(options), options.motorSpeed, problem);
}

void sayProblem(ConsoleOutput& output, const std::string& problem)
{
    if (!problem.empty())
        output.error(problem);
}

// What the command would send, each request as its "S: " line (under --quiet the packet
// alone), and the time a move it starts would take; no port is opened.
int dryRun(const CliOptions& options, const PlannedCommand& command)
{
    ConsoleOutput output(options.lineForm);
    if (const ExitStatus prepared = command.prepare(output); prepared != Done || command.sendsNothing)
        return output.finish(prepared);
    std::string problem;
    MotorMemory motor = command.turnsDish ? motorMemoryFor(options, problem) : MotorMemory();
    for (const BoxRequest& request : command.requests()) {
        const std::string packet = sentPacketDump(request);
        if (output.quiet())
            output.reply(packet);
        else
            output.sent(packet);
        const MotorEffect effect = applySentRequest(request, motor);
        if (effect.change == MotorChange::Turned && !output.quiet())
            output.reply(estimateText(*effect.move, speedFor(options, problem)));
    }
    sayProblem(output, problem);
    return output.finish(Done);
}

int runOverPort(const CliOptions& options, const PlannedCommand& command, const ProgramSettings& settings,
                ConsoleOutput& output)
{
    if (const ExitStatus prepared = command.prepare(output); prepared != Done || !command.opensPort)
        return prepared;
    ConsoleSession session(settings, output, options.display, options.showCRLF,
                           options.replyTimeout.value_or(ReplyTimeout));
    // Every request that concerns the motor is noted, whatever command sent it.
    const std::string settingsFile = settingsFileFor(options);
    std::optional<MotorMove> move;
    session.watchSends([&](const BoxRequest& request, bool replied) {
        const DishNote note = noteSentToDish(settingsFile, request, replied);
        sayProblem(output, note.problem);
        if (note.effect.change == MotorChange::Turned)
            move = note.effect.move;
    });
    if (!session.open())
        return PortFailed;
    try {
        const ExitStatus status = command.run(session, output);
        if (status != Done || !command.waitsForMove || !move)
            return status;
        std::string problem;
        const double speed = speedFor(options, problem);
        sayProblem(output, problem);
        return waitForMove(session, *move, speed, output);
    } catch (const Interrupted&) {
        // The message may have gone before its reply came.
        if (command.waitsForMove)
            haltAfterInterrupt(session, output);
        throw;
    }
}

int run(const CliOptions& options, const PlannedCommand& command, const ProgramSettings& settings)
{
    ConsoleOutput output(options.lineForm);
    if (command.tableOnStandardOutput)
        output.moveLinesToStandardError();
    try {
        return output.finish(runOverPort(options, command, settings, output));
    } catch (const Interrupted&) {
        return interruptedStatus(); // the session has released the port on the way out
    }
}

// The default port, or one the settings name, may be the kernel's console on this machine
// (COM1 is /dev/ttyS0): a request written there goes to a terminal, perhaps a login. Only
// --port takes it.
int consoleRefused(const ProgramSettings& settings, const std::string& settingsFile)
{
    writeText(stderr, "vantorel-cli: not opening " + settings.port + " (" + serial::devicePath(settings.port)
                          + "): it is the system's console. Name the box's port as port= in the [init] section of "
                          + settingsFile + ", or with --port (--port " + settings.port
                          + " to use the console all the same); 'vantorel-cli ports' lists the ports.\n");
    return PortFailed;
}

int usageFailed(const UsageError& error)
{
    writeText(stderr, std::string("vantorel-cli: ") + error.what()
                          + "\nTry 'vantorel-cli --help' for the commands and options.\n");
    return UsageFailed;
}

} // namespace

int main(int argc, char* argv[])
{
    CliOptions options;
    try {
        const std::vector<std::string> arguments = programArguments(argc, argv);
        options = parseCliOptions(std::vector<std::string>(arguments.begin() + std::min<std::size_t>(arguments.size(), 1),
                                                           arguments.end()));
    } catch (const UsageError& error) {
        return usageFailed(error);
    }
    if (options.help) {
        writeText(stdout, cliUsage());
        return Done;
    }
    if (options.version) {
        writeText(stdout, "vantorel-cli " VANTOREL_VERSION "\n");
        return Done;
    }
    PlannedCommand command;
    ProgramSettings settings;
    try {
        CommandContext context;
        context.settings = [&options] { return settingsFor(options); };
        context.site = [&options] { return siteFor(options); };
        context.siteIfKnown = [&options] { return siteIfKnown(options); };
        context.satellites = [&options] { return knownSatellites(settingsFileFor(options)); };
        context.replyTimeout = options.replyTimeout;
        context.motorMemory = [&options](std::string& problem) { return motorMemoryFor(options, problem); };
        context.motorSpeed = [&options](std::string& problem) { return speedFor(options, problem); };
        command = planCommand(options.command, options.commandOptions, context);
        if (options.dryRun && !command.sendsNothing && !command.requests)
            throw UsageError("--dry-run goes with the commands that send, not with "
                             + (options.command[0] == "monitor" ? std::string("monitor, which only listens")
                                                                : options.command[0] + " --probe, which asks every port"));
        if (command.opensPort && !options.dryRun)
            settings = settingsFor(options);
    } catch (const UsageError& error) {
        return usageFailed(error);
    }
    watchForInterrupt();
    if (options.dryRun)
        return dryRun(options, command);
    if (command.opensPort && !options.port && serial::isSystemConsole(settings.port))
        return consoleRefused(settings, settingsFileFor(options));
    return run(options, command, settings);
}
