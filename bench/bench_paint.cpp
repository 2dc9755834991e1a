// One full repaint of the log pane in a window maximised on a 1280 x 1024 screen, the pane
// filled with received lines of 10000 bytes (30,000 characters in HEX) and with lines of 10
// bytes: what a repaint costs must follow the visible area, not the length of the lines.
// A stock QPlainTextEdit of the same size with the same long lines is measured for scale.
#include "BenchWindow.h"
#include "LogView.h"
#include "ProcessFigures.h"
#include "Samples.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>

#include <chrono>
#include <cstdio>
#include <random>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int Lines = 120; // more than a maximised pane shows
constexpr int Repaints = 21;
constexpr int LongLineBytes = 10000; // one whole receive buffer
constexpr int ShortLineBytes = 10;
const QSize MaximisedWindow(1280, 1000);

// A received chunk as the HEX display logs it: "R: " and one "4F" token per byte.
QString receivedHexLine(int bytes, std::mt19937& generator)
{
    static const char digits[] = "0123456789ABCDEF";
    QString line = QStringLiteral("R:");
    line.reserve(3 + 3 * bytes);
    for (int i = 0; i < bytes; ++i) {
        const auto byte = generator() & 0xFF;
        line += QLatin1Char(' ');
        line += QLatin1Char(digits[byte >> 4]);
        line += QLatin1Char(digits[byte & 0xF]);
    }
    return line;
}

struct RepaintMs {
    double wall;
    double cpu; // of the GUI thread alone: what other processes on the machine do not blur
};

RepaintMs medianRepaintMs(QWidget* viewport)
{
    std::vector<double> wall;
    std::vector<double> cpu;
    for (int i = 0; i < Repaints; ++i) {
        const auto start = Clock::now();
        const std::int64_t cpuStart = currentThreadCpuNs();
        viewport->repaint();
        cpu.push_back((currentThreadCpuNs() - cpuStart) / 1e6);
        wall.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return {median(wall), median(cpu)};
}

int laidOutLines(const QTextDocument& document)
{
    int count = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        count += block.layout() && block.layout()->lineCount() > 0;
    return count;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    BenchWindow bench({});
    bench.form().resize(MaximisedWindow);
    bench.show();
    LogView& log = bench.log();
    std::mt19937 generator(20240601);

    std::printf("bench_paint: one full repaint of the log pane (%d x %d) holding %d lines, median of %d\n",
                log.viewport()->width(), log.viewport()->height(), Lines, Repaints);
    std::printf("targets: under 16 ms, long lines within 2x of short ones\n");
    RepaintMs shortLines{};
    for (int bytes : {ShortLineBytes, LongLineBytes}) {
        log.clear();
        for (int i = 0; i < Lines; ++i)
            bench.form().AddLog(receivedHexLine(bytes, generator));
        QTest::qWait(100); // the coalesced repaint after the last line
        const RepaintMs ms = medianRepaintMs(log.viewport());
        std::printf("  lines of %5d characters: %6.2f ms (GUI thread CPU %5.2f ms)", static_cast<int>(log.line(0).size()),
                    ms.wall, ms.cpu);
        if (bytes == ShortLineBytes)
            shortLines = ms;
        else
            std::printf(", %.1fx the short lines (CPU %.1fx)", ms.wall / shortLines.wall, ms.cpu / shortLines.cpu);
        std::printf(", %d of %d lines laid out\n", laidOutLines(*log.document()), log.lineCount());
    }

    QPlainTextEdit stock;
    stock.setFont(log.font());
    stock.setLineWrapMode(QPlainTextEdit::NoWrap);
    for (int i = 0; i < Lines; ++i)
        stock.appendPlainText(receivedHexLine(LongLineBytes, generator));
    stock.resize(log.size());
    stock.show();
    QTest::qWait(100);
    const RepaintMs stockMs = medianRepaintMs(stock.viewport());
    std::printf("  for scale, a stock QPlainTextEdit of that size with the long lines: %.2f ms (CPU %.2f ms)\n",
                stockMs.wall, stockMs.cpu);
    return 0;
}
