// Hours of typical bench traffic at 19200 baud, compressed into minutes: a request and its
// reply every 200 ms, time stamps on, as a user leaves the program running on a bench. Run
// once with an unlimited log and once with "loglines=1000": memory per logged line, and the
// cost of a line at the end of the run against the start.
#include "BenchWindow.h"
#include "link/ReceiveLoop.h"
#include "ProcessFigures.h"
#include "protocol/ByteFormat.h"
#include "Samples.h"
#include "ui/main/LogView.h"

#include <QAction>
#include <QApplication>

#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int SimulatedHours = 8;
constexpr int ExchangesPerSecond = 5;
constexpr int Exchanges = SimulatedHours * 3600 * ExchangesPerSecond;
constexpr int WindowExchanges = 1000;
constexpr int WindowsPerPoint = 5;

const QString RequestLine = QStringLiteral("S: 0x01 0x00 0x00 0x00 0x00 0x00 0x00 0x00 0x00 0x00 0x00 ");

// A 90-byte hardware information reply in the display the command uses.
QString replyLine(const LinkState& link)
{
    std::vector<std::uint8_t> reply(90);
    for (std::size_t i = 0; i < reply.size(); ++i)
        reply[i] = static_cast<std::uint8_t>(' ' + i % 90);
    reply[88] = '\r';
    reply[89] = '\n';
    const std::string text = formatReceivedChunk(reply.data(), static_cast<std::uint32_t>(reply.size()),
                                                 link.DisplayMode, link.ShowCRLF);
    return QStringLiteral("R: ") + QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

void soak(int logLines)
{
    BenchWindow bench({});
    bench.form().link().LogLines = logLines;
    bench.form().findChild<QAction*>(QStringLiteral("Showtimestamp1"))->setChecked(true);
    bench.show();
    QCoreApplication::processEvents();
    const QString reply = replyLine(bench.form().link());

    const std::int64_t residentBefore = residentBytes();
    const auto runStart = Clock::now();
    std::vector<double> windowMs;
    for (int window = 0; window < Exchanges / WindowExchanges; ++window) {
        const auto start = Clock::now();
        for (int i = 0; i < WindowExchanges; ++i) {
            bench.form().AddLog(RequestLine);
            bench.form().AddLog(reply);
        }
        windowMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        QCoreApplication::processEvents(); // the pane repaints between bursts, as it would
    }
    const double runSeconds = std::chrono::duration<double>(Clock::now() - runStart).count();
    const std::int64_t grown = residentBytes() - residentBefore;

    const auto costAt = [&](std::size_t firstWindow) {
        const auto first = windowMs.begin() + static_cast<std::ptrdiff_t>(firstWindow);
        return median({first, first + WindowsPerPoint}) * 1000.0 / (2 * WindowExchanges);
    };
    const double early = costAt(1);
    const double late = costAt(windowMs.size() - WindowsPerPoint);
    const int lines = bench.log().lineCount();
    std::printf("  %s: %d hours in %.1f s, %d lines in the log\n",
                logLines > 0 ? "loglines=1000" : "unlimited    ", SimulatedHours, runSeconds, lines);
    std::printf("    cost per line: %.2f us at the start, %.2f us at the end (%.2fx)\n", early, late, late / early);
    std::printf("    resident memory grew %.1f MB: %.0f bytes per line held, %.1f bytes per line logged\n",
                grown / 1e6, double(grown) / lines, double(grown) / (2.0 * Exchanges));
    if (bench.boxesShown() > 0)
        std::printf("    WARNING: %d message box(es) came up during the run\n", bench.boxesShown());
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    std::printf("bench_soak: a request and a 90-byte reply every %d ms, time stamps on\n",
                1000 / ExchangesPerSecond);
    soak(1000);
    soak(-1);
    return 0;
}
