// vantorel-cli: one box command per run, from a script or a terminal. It reads the settings
// the window reads, opens the port with the window's own sequence, prints the log pane's
// lines, and tells in its exit status how the command went.
#include "AppPaths.h"
#include "CliCommands.h"
#include "CliOptions.h"
#include "ConsoleOutput.h"
#include "ConsoleSession.h"
#include "Interrupt.h"
#include "ProgramIdentity.h"
#include "SettingsFile.h"

#include <cstdio>

namespace {

ProgramSettings settingsFor(const CliOptions& options)
{
    // Beside the command line sits the window, whose settings file it reads.
    const std::string file = options.settingsFile.value_or(settingsFilePath(AppDir() + "vantorel.ini"));
    ProgramSettings settings = readProgramSettings(file);
    if (options.port)
        settings.port = serial::portNameFromSettings(*options.port);
    if (options.baud)
        settings.baud = *options.baud;
    return settings;
}

int run(const CliOptions& options, const PlannedCommand& command)
{
    watchForInterrupt();
    ConsoleOutput output(options.lineForm);
    if (command.tableOnStandardOutput)
        output.moveLinesToStandardError();
    try {
        if (const ExitStatus prepared = command.prepare(output); prepared != Done)
            return prepared;
        ConsoleSession session(settingsFor(options), output, options.display, options.showCRLF);
        if (!session.open())
            return PortFailed;
        return command.run(session, output);
    } catch (const Interrupted&) {
        return InterruptedStatus; // the session has released the port on the way out
    }
}

} // namespace

int main(int argc, char* argv[])
{
    CliOptions options;
    PlannedCommand command;
    try {
        options = parseCliOptions(std::vector<std::string>(argv + 1, argv + argc));
        if (!options.help && !options.version)
            command = planCommand(options.command);
    } catch (const UsageError& error) {
        std::fprintf(stderr, "vantorel-cli: %s\nTry 'vantorel-cli --help' for the commands and options.\n",
                     error.what());
        return UsageFailed;
    }
    if (options.help) {
        std::fputs(CliUsage, stdout);
        return Done;
    }
    if (options.version) {
        std::puts("vantorel-cli " VANTOREL_VERSION);
        return Done;
    }
    return run(options, command);
}
