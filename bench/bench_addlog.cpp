// What a line costs to add to an unlimited log, early on and a million lines later: a log
// left running for days must take a line as fast as a fresh one. Also the memory a line holds.
#include "BenchWindow.h"
#include "ProcessFigures.h"
#include "Samples.h"
#include "ui/main/LogView.h"

#include <QApplication>

#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int TotalLines = 1000000;
constexpr int WindowLines = 1000;
constexpr int WindowsPerPoint = 5; // each figure is the median of five windows, against noise

// A request line as the transaction logs it, trailing blank included.
const QString RequestLine = QStringLiteral("S: 0x03 0x03 0xE0 0x00 0x00 0x00 0x00 0x00 0x00 0x00 0x00 ");

// Microseconds per line over the windows that start at line `firstLine`.
double costAround(const std::vector<double>& windowMs, int firstLine)
{
    const auto first = windowMs.begin() + firstLine / WindowLines;
    return median({first, first + WindowsPerPoint}) * 1000.0 / WindowLines;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    BenchWindow bench({});
    bench.show();
    QCoreApplication::processEvents();

    const std::int64_t residentBefore = residentBytes();
    const auto runStart = Clock::now();
    std::vector<double> windowMs;
    for (int window = 0; window < TotalLines / WindowLines; ++window) {
        const auto start = Clock::now();
        for (int i = 0; i < WindowLines; ++i)
            bench.form().AddLog(RequestLine);
        windowMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        // Between windows the GUI runs as it does between arriving lines: the pane repaints.
        QCoreApplication::processEvents();
    }
    const double runSeconds = std::chrono::duration<double>(Clock::now() - runStart).count();
    const std::int64_t residentAfter = residentBytes();

    const double early = costAround(windowMs, 1000);
    const double late = costAround(windowMs, TotalLines - WindowsPerPoint * WindowLines);
    std::printf("bench_addlog: %d lines of %d characters, log unlimited, %.1f s in all\n",
                bench.log().lineCount(), static_cast<int>(RequestLine.size()), runSeconds);
    std::printf("  cost per line (median of %d windows of %d lines):\n", WindowsPerPoint, WindowLines);
    for (int firstLine : {1000, 10000, 100000, 500000, TotalLines - WindowsPerPoint * WindowLines})
        std::printf("    from line %7d: %7.2f us\n", firstLine, costAround(windowMs, firstLine));
    std::printf("  late / early: %.2f (target: under 2)\n", late / early);
    std::printf("  resident memory: %.1f MB -> %.1f MB, %.0f bytes per line\n", residentBefore / 1e6,
                residentAfter / 1e6, double(residentAfter - residentBefore) / TotalLines);
    if (bench.boxesShown() > 0)
        std::printf("  WARNING: %d message box(es) came up during the run\n", bench.boxesShown());
    return 0;
}
