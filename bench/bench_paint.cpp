// One full repaint of the log pane in a window maximised on a 1280 x 1024 screen, filled with
// received lines of 10000 bytes (30,000 characters in HEX): what a repaint costs must follow
// the visible area, not the length of the lines. Beside it, panes of the same class, font and
// size hold lines of 10 bytes and lines that just fill the pane's width. The three are
// repainted in turn, so that a machine whose speed changes from moment to moment (a shared
// virtual machine's does, by as much as 2x) slows all three alike. A stock QPlainTextEdit of
// the same size with the same long lines is measured for scale.
#include "BenchWindow.h"
#include "ProcessFigures.h"
#include "Samples.h"
#include "ui/main/LogView.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>

#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <utility>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int Lines = 120; // more than a maximised pane shows
constexpr int RepaintsEach = 21;
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

// A viewport and the times of its full repaints.
struct Repaints {
    QWidget* viewport;
    std::vector<double> wall{};
    std::vector<double> cpu{};

    void repaint()
    {
        const auto start = Clock::now();
        const std::int64_t cpuStart = currentThreadCpuNs();
        viewport->repaint();
        cpu.push_back((currentThreadCpuNs() - cpuStart) / 1e6);
        wall.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    RepaintMs median() const { return {::median(wall), ::median(cpu)}; }
};

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
    LogView& window = bench.log();
    std::mt19937 generator(20240601);

    const auto referencePane = [&window] {
        auto pane = std::make_unique<LogView>();
        pane->setFont(window.font());
        pane->resize(window.size());
        pane->show();
        return pane;
    };
    const std::unique_ptr<LogView> shortPane = referencePane();
    const std::unique_ptr<LogView> widePane = referencePane();
    // "R:" and three characters a byte, up to the last column in view.
    const int columnsInView =
        static_cast<int>(window.viewport()->width() / QFontMetricsF(window.font()).horizontalAdvance(QLatin1Char('0')));
    for (int i = 0; i < Lines; ++i) {
        bench.form().AddLog(receivedHexLine(LongLineBytes, generator));
        shortPane->insertTopLine(receivedHexLine(ShortLineBytes, generator));
        widePane->insertTopLine(receivedHexLine((columnsInView - 2) / 3, generator));
    }
    QTest::qWait(100); // the coalesced repaint after the last line

    Repaints longLines{window.viewport()};
    Repaints shortLines{shortPane->viewport()};
    Repaints wideLines{widePane->viewport()};
    for (int i = 0; i < RepaintsEach; ++i) {
        longLines.repaint();
        shortLines.repaint();
        wideLines.repaint();
    }

    std::printf("bench_paint: one full repaint of the log pane (%d x %d) holding %d lines, median of %d\n",
                window.viewport()->width(), window.viewport()->height(), Lines, RepaintsEach);
    std::printf("targets: under 16 ms, long lines within 2x of short ones\n");
    const std::pair<const LogView*, const Repaints*> panes[] = {
        {&window, &longLines}, {shortPane.get(), &shortLines}, {widePane.get(), &wideLines}};
    for (const auto& [log, repaints] : panes) {
        const RepaintMs ms = repaints->median();
        std::printf("  lines of %5d characters: %6.2f ms (GUI thread CPU %5.2f ms), %d of %d lines laid out\n",
                    static_cast<int>(log->line(0).size()), ms.wall, ms.cpu, laidOutLines(*log->document()),
                    log->lineCount());
    }
    const RepaintMs longMs = longLines.median();
    const RepaintMs shortMs = shortLines.median();
    const RepaintMs wideMs = wideLines.median();
    std::printf("  long lines: %.1fx the short lines (CPU %.1fx), %.1fx the lines as wide as the pane (CPU %.1fx)\n",
                longMs.wall / shortMs.wall, longMs.cpu / shortMs.cpu, longMs.wall / wideMs.wall,
                longMs.cpu / wideMs.cpu);

    QPlainTextEdit stock;
    stock.setFont(window.font());
    stock.setLineWrapMode(QPlainTextEdit::NoWrap);
    for (int i = 0; i < Lines; ++i)
        stock.appendPlainText(receivedHexLine(LongLineBytes, generator));
    stock.resize(window.size());
    stock.show();
    QTest::qWait(100);
    Repaints stockRepaints{stock.viewport()};
    for (int i = 0; i < RepaintsEach; ++i)
        stockRepaints.repaint();
    const RepaintMs stockMs = stockRepaints.median();
    std::printf("  for scale, a stock QPlainTextEdit of that size with the long lines: %.2f ms (CPU %.2f ms)\n",
                stockMs.wall, stockMs.cpu);
    return 0;
}
