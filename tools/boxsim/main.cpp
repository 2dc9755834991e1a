// vantorel-boxsim: a simulated interface box on a pseudo-terminal, for trying the program
// without hardware. The slave path goes to stdout (then the control channel's, if asked
// for), each request and reply to stderr.
#include "BoxSimulator.h"
#include "CommandLine.h"
#include "ControlChannel.h"
#include "generated/ProgramIdentity.h"

#include <csignal>
#include <cstdio>
#include <pthread.h>

namespace {

void logPacket(const char* label, const BoxSimulator::Packet& packet)
{
    std::string line = label;
    char hex[4];
    for (const std::uint8_t byte : packet) {
        std::snprintf(hex, sizeof hex, " %02X", byte);
        line += hex;
    }
    std::fprintf(stderr, "%s\n", line.c_str());
}

void logRequest(const BoxSimulator::Packet& request)
{
    logPacket("request:", request);
}

// Shows that a request was answered (a silent box logs an empty reply).
void logReply(const BoxSimulator::Packet&, BoxSimulator::Reply& reply)
{
    logPacket("reply:", reply.bytes);
}

} // namespace

int main(int argc, char** argv)
{
    CommandLine commandLine;
    std::string error;
    if (!parseCommandLine(argc, argv, commandLine, error)) {
        std::fprintf(stderr, "vantorel-boxsim: %s\n%s", error.c_str(), CommandLineUsage);
        return 2;
    }
    if (commandLine.help) {
        std::fputs(CommandLineUsage, stdout);
        return 0;
    }
    if (commandLine.version) {
        std::printf("vantorel-boxsim %s\n", VANTOREL_VERSION);
        return 0;
    }

    // Blocked before the service thread exists, so that only the sigwait below takes them.
    sigset_t endSignals;
    sigemptyset(&endSignals);
    sigaddset(&endSignals, SIGINT);
    sigaddset(&endSignals, SIGTERM);
    sigaddset(&endSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &endSignals, nullptr);

    commandLine.options.requestObserver = logRequest;
    BoxSimulator box(commandLine.options);
    box.setReplyHook(logReply);
    ControlChannel control(box);
    const std::string& controlLink = commandLine.controlLinkPath;
    if (!box.start(&error) || (!controlLink.empty() && !control.start(controlLink, error))) {
        std::fprintf(stderr, "vantorel-boxsim: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s\n", box.slavePath().c_str());
    if (!controlLink.empty())
        std::printf("%s\n", control.slavePath().c_str());
    std::fflush(stdout);

    int received = 0;
    sigwait(&endSignals, &received);
    control.stop();
    box.stop();
    return 0;
}
