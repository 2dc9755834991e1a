// How long `vantorel-cli info` takes from process start to exit against the simulated box,
// next to its floor: the open sequence's 100 ms settle plus the reply time as the program
// sees it (measured over an open session, so the port's opening is not in it).
#include "BoxSimulator.h"
#include "cli/ConsoleOutput.h"
#include "cli/ConsoleSession.h"
#include "protocol/BoxRequests.h"
#include "Samples.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int Runs = 20;
constexpr double SettleMs = 100.0;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The reply time: HW Info over a session that stays open; its lines go to /dev/null.
double replyMs(const std::string& port)
{
    std::fflush(stdout);
    const int savedOutput = ::dup(STDOUT_FILENO);
    const int nothing = ::open("/dev/null", O_WRONLY);
    ::dup2(nothing, STDOUT_FILENO);
    std::vector<double> ms;
    {
        ProgramSettings settings;
        settings.port = port;
        ConsoleOutput output(LineForm{});
        ConsoleSession session(settings, output, DisplayMode::Hex, false, ReplyTimeout);
        for (int i = 0; i <= Runs && (i > 0 || session.open()); ++i) {
            const auto start = Clock::now();
            if (session.send(BoxRequests::hardwareInfo()) != ConsoleSession::Outcome::Replied)
                break;
            if (i > 0) // the first one warms every path
                ms.push_back(msSince(start));
        }
    }
    ::dup2(savedOutput, STDOUT_FILENO);
    ::close(savedOutput);
    ::close(nothing);
    return median(ms);
}

// One run of the command line, from the spawn to the exit; negative when it failed.
double cliRunMs(const std::string& port)
{
    std::vector<std::string> words = {VANTOREL_CLI_PATH, "--port", port, "--quiet", "info"};
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const auto start = Clock::now();
    pid_t child = 0;
    int status = -1;
    const bool ran = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0
                     && waitpid(child, &status, 0) == child;
    const double ms = msSince(start);
    posix_spawn_file_actions_destroy(&actions);
    return ran && WIFEXITED(status) && WEXITSTATUS(status) == 0 ? ms : -1.0;
}

} // namespace

int main()
{
    BoxSimulator box;
    std::string error;
    if (!box.start(&error)) {
        std::fprintf(stderr, "bench_cli: simulated box: %s\n", error.c_str());
        return 1;
    }
    const std::string port = box.slavePath();
    std::vector<double> runs;
    for (int i = 0; i <= Runs; ++i) {
        const double ms = cliRunMs(port);
        if (ms < 0) {
            std::fprintf(stderr, "bench_cli: vantorel-cli info failed\n");
            return 1;
        }
        if (i > 0) // the first run loads the program from disk
            runs.push_back(ms);
    }
    const double reply = replyMs(port);
    if (reply <= 0) {
        std::fprintf(stderr, "bench_cli: HW Info over an open port got no reply\n");
        return 1;
    }
    const double floor = SettleMs + reply;
    std::printf("bench_cli\n");
    std::printf("  vantorel-cli info, process start to exit, median of %d: %.1f ms (min %.1f, max %.1f)\n",
                 Runs, median(runs), *std::min_element(runs.begin(), runs.end()),
                 *std::max_element(runs.begin(), runs.end()));
    std::printf("  floor: 100 ms settle + %.1f ms reply time (HW Info over an open port) = %.1f ms\n",
                 reply, floor);
    std::printf("  ratio %.2fx (target: within 1.2x)\n", median(runs) / floor);
    return 0;
}
