// vantorel-boxsim: a simulated interface box on a pseudo-terminal, for trying the program
// without hardware. The slave path goes to stdout, each request and reply to stderr.
#include "BoxSimulator.h"
#include "CommandLine.h"
#include "ProgramIdentity.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

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

// Replaces an earlier link of ours, but never a file that is not a symbolic link.
bool placeLink(const std::string& target, const std::string& link, std::string& error)
{
    struct stat status{};
    if (lstat(link.c_str(), &status) == 0) {
        if (!S_ISLNK(status.st_mode)) {
            error = link + " exists and is not a symbolic link";
            return false;
        }
        unlink(link.c_str());
    }
    if (symlink(target.c_str(), link.c_str()) != 0) {
        error = link + ": " + std::strerror(errno);
        return false;
    }
    return true;
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
    if (!box.start(&error)) {
        std::fprintf(stderr, "vantorel-boxsim: %s\n", error.c_str());
        return 1;
    }
    const std::string& link = commandLine.linkPath;
    if (!link.empty() && !placeLink(box.slavePath(), link, error)) {
        std::fprintf(stderr, "vantorel-boxsim: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s\n", box.slavePath().c_str());
    std::fflush(stdout);

    int received = 0;
    sigwait(&endSignals, &received);
    box.stop();
    if (!link.empty())
        unlink(link.c_str());
    return 0;
}
