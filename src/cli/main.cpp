// vantorel-cli: one box command per run, from a script or a terminal. It reads the settings
// the window reads, opens the port with the window's own sequence, prints the log pane's
// lines, and tells in its exit status how the command went.
#include "app/AppPathsNative.h"
#include "app/InstallerFiles.h"
#include "app/ProgramArguments.h"
#include "app/SettingsFile.h"
#include "app/TextOutput.h"
#include "cli/CliCommands.h"
#include "cli/CliOptions.h"
#include "cli/ConsoleOutput.h"
#include "cli/ConsoleSession.h"
#include "cli/Interrupt.h"
#include "link/BoxSession.h"
#include "protocol/ByteFormat.h"
#include "protocol/SatelliteAim.h"
#include "ProgramIdentity.h"

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

// What the command would send, each request as its "S: " line (under --quiet the packet
// alone); no port is opened.
int dryRun(const CliOptions& options, const PlannedCommand& command)
{
    ConsoleOutput output(options.lineForm);
    if (const ExitStatus prepared = command.prepare(output); prepared != Done || command.sendsNothing)
        return prepared;
    for (const BoxRequest& request : command.requests()) {
        const std::string packet = packetDump(padToPacket(request.bytes));
        if (output.quiet())
            output.reply(packet);
        else
            output.sent(packet);
    }
    return Done;
}

int runOverPort(const CliOptions& options, const PlannedCommand& command, const ProgramSettings& settings,
                ConsoleOutput& output)
{
    if (const ExitStatus prepared = command.prepare(output); prepared != Done || !command.opensPort)
        return prepared;
    ConsoleSession session(settings, output, options.display, options.showCRLF,
                           options.replyTimeout.value_or(ReplyTimeout));
    if (!session.open())
        return PortFailed;
    return command.run(session, output);
}

int run(const CliOptions& options, const PlannedCommand& command, const ProgramSettings& settings)
{
    watchForInterrupt();
    ConsoleOutput output(options.lineForm);
    if (command.tableOnStandardOutput)
        output.moveLinesToStandardError();
    try {
        const int status = runOverPort(options, command, settings, output);
        output.reportWriteFailure();
        return status == Done && output.writeFailed() ? OutputFailed : status;
    } catch (const Interrupted&) {
        return interruptedStatus(); // the session has released the port on the way out
    }
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
        command = planCommand(options.command, options.commandOptions, context);
        if (options.dryRun && !command.sendsNothing && !command.requests)
            throw UsageError("--dry-run goes with the commands that send, not with " + options.command[0]
                             + ", which only listens or asks every port");
        if (command.opensPort && !options.dryRun)
            settings = settingsFor(options);
    } catch (const UsageError& error) {
        return usageFailed(error);
    }
    if (options.dryRun)
        return dryRun(options, command);
    return run(options, command, settings);
}
