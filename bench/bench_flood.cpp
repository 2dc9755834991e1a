// A device that streams 5 MB of random bytes without a pause, logged in HEX with no log
// limit: the rate from the first byte written until every byte is in the log, the longest
// time the GUI thread was kept from its event loop, and the memory the log grows per byte.
// Each window size runs in a process of its own, so that its memory figures start from a
// fresh heap: the default size, and a window maximised on a 1280 x 1024 screen.
#include "BenchWindow.h"
#include "FloodWriter.h"
#include "link/LinkState.h"
#include "LogFeeder.h"
#include "ProcessFigures.h"
#include "PtyPair.h"
#include "ui/main/LogView.h"

#include <QApplication>
#include <QEventLoop>
#include <QProcess>
#include <QSize>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t FloodBytes = 5000000;
const QString SizeOption = QStringLiteral("--window-size");
constexpr int TickMs = 10;
constexpr int LongGapMs = 30; // the longest the GUI may be kept from its event loop
constexpr int DeadlineMs = 180000;
const QString ReceivedPrefix = QStringLiteral("R: ");
const QString BufferFull = QStringLiteral("R: Buffer full");

double msBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

std::vector<std::uint8_t> randomBytes(std::size_t count)
{
    std::mt19937 generator(20240601);
    std::uniform_int_distribution<int> byte(0, 255);
    std::vector<std::uint8_t> bytes(count);
    for (auto& b : bytes)
        b = static_cast<std::uint8_t>(byte(generator));
    return bytes;
}

// The bytes an "R: " line shows: one token each ("4F", "<CR>"). The receive buffer's
// "Buffer full" lines stand for no byte.
std::size_t bytesShownIn(const QString& line)
{
    if (!line.startsWith(ReceivedPrefix) || line == BufferFull)
        return 0;
    std::size_t tokens = 0;
    bool inToken = false;
    for (qsizetype i = ReceivedPrefix.size(); i < line.size(); ++i) {
        const bool blank = line.at(i) == QLatin1Char(' ');
        tokens += !blank && !inToken;
        inToken = !blank;
    }
    return tokens;
}

// Counts the bytes shown by the lines that reach the top of the log from now on.
class ReceivedCounter {
public:
    explicit ReceivedCounter(LogView& log)
        : m_log(log)
        , m_linesSeen(log.lineCount())
    {
        QObject::connect(log.document(), &QTextDocument::contentsChanged, &m_connections, [this] { countNewLines(); });
    }

    std::size_t bytes = 0;
    int dataLines = 0;
    int bufferFullLines = 0;
    std::function<void()> onChange;

private:
    void countNewLines()
    {
        const int lines = m_log.lineCount();
        for (int i = 0; i < lines - m_linesSeen; ++i) {
            const QString line = m_log.line(i);
            const std::size_t shown = bytesShownIn(line);
            bytes += shown;
            dataLines += shown > 0;
            bufferFullLines += line == BufferFull;
        }
        m_linesSeen = lines;
        if (onChange)
            onChange();
    }

    LogView& m_log;
    int m_linesSeen;
    QObject m_connections; // ends the counting with the counter
};

// The longest wait between ticks of a short timer on the GUI thread: how long the event
// loop was ever kept from running.
class TickGapMeter {
public:
    TickGapMeter()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(TickMs);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const auto now = Clock::now();
            const double gap = msBetween(m_lastTick, now);
            longestMs = std::max(longestMs, gap);
            longGaps += gap > LongGapMs;
            m_lastTick = now;
        });
    }
    void start()
    {
        m_lastTick = Clock::now();
        m_timer.start();
    }
    void stop() { m_timer.stop(); }

    double longestMs = 0;
    int longGaps = 0;

private:
    QTimer m_timer;
    Clock::time_point m_lastTick;
};

// One flood from `source`: from its first byte until all of them are in the log.
template <typename Source>
bool measureFlood(BenchWindow& bench, Source& source, Clock::time_point (Source::*firstByte)() const)
{
    ReceivedCounter received(bench.log());
    TickGapMeter gaps;
    QEventLoop loop;
    Clock::time_point allLogged;
    received.onChange = [&] {
        if (received.bytes >= FloodBytes) {
            allLogged = Clock::now();
            loop.quit();
        }
    };
    QTimer::singleShot(DeadlineMs, &loop, &QEventLoop::quit);

    const std::int64_t residentBefore = residentBytes();
    gaps.start();
    source.start();
    loop.exec();
    gaps.stop();
    source.stop();
    QTest::qWait(500); // the last repaint
    const std::int64_t residentAfter = residentBytes();

    if (received.bytes < FloodBytes) {
        std::printf("  INCOMPLETE after %d s: %zu bytes logged\n", DeadlineMs / 1000, received.bytes);
        return false;
    }
    const double seconds = msBetween((source.*firstByte)(), allLogged) / 1000.0;
    std::printf("  all logged after %.2f s: %.2f MB/s (1 MB = 10^6 bytes)\n", seconds, FloodBytes / seconds / 1e6);
    std::printf("  bytes counted in the log: %zu in %d \"R: \" lines (%.0f bytes per line), %d \"Buffer full\" lines\n",
                received.bytes, received.dataLines, double(received.bytes) / received.dataLines,
                received.bufferFullLines);
    std::printf("  longest gap between %d ms GUI timer ticks: %.1f ms, %d gaps over %d ms\n", TickMs,
                gaps.longestMs, gaps.longGaps, LongGapMs);
    std::printf("  resident memory: %.1f MB -> %.1f MB (peak %.1f MB), %.1f bytes per byte received\n",
                residentBefore / 1e6, residentAfter / 1e6, peakResidentBytes() / 1e6,
                double(residentAfter - residentBefore) / FloodBytes);
    return true;
}

// One size: the window at `size` (empty: its default size), both floods in turn.
int floodAtSize(const QSize& size)
{
    boxsim::PtyPair terminal;
    std::string error;
    if (!terminal.open(error)) {
        std::fprintf(stderr, "bench_flood: %s\n", error.c_str());
        return 1;
    }
    BenchWindow bench(terminal.slavePath());
    if (!size.isEmpty())
        bench.form().resize(size);
    bench.show();
    if (!bench.form().session().PortOpen()) {
        std::fprintf(stderr, "bench_flood: the port did not open\n");
        return 1;
    }
    QTest::qWait(300);
    const std::vector<std::uint8_t> bytes = randomBytes(FloodBytes);

    const QSize pane = bench.log().viewport()->size();
    std::printf("window %d x %d, log pane %d x %d:\n", bench.form().width(), bench.form().height(), pane.width(),
                pane.height());
    std::printf(" through the port (written into the terminal as fast as it takes them):\n");
    FloodWriter writer(terminal.masterDescriptor(), bytes);
    bool complete = measureFlood(bench, writer, &FloodWriter::firstWrite);

    std::printf(" log pane alone (10000-byte chunks handed off without reading or pausing):\n");
    LogFeeder feeder(bench.form(), bytes);
    complete = measureFlood(bench, feeder, &LogFeeder::firstChunk) && complete;

    if (bench.boxesShown() > 0)
        std::printf("WARNING: %d message box(es) came up during the run\n", bench.boxesShown());
    return complete ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc == 3 && QString::fromLocal8Bit(argv[1]) == SizeOption) {
        QApplication application(argc, argv);
        const QStringList wh = QString::fromLocal8Bit(argv[2]).split(QLatin1Char('x'));
        return floodAtSize(wh.size() == 2 ? QSize(wh[0].toInt(), wh[1].toInt()) : QSize());
    }
    std::printf("bench_flood: %zu random bytes, HEX display, log unlimited\n", FloodBytes);
    std::printf("targets: at least 4 MB/s, no gap over 30 ms, at most 8 bytes of memory per byte\n");
    int result = 0;
    for (const char* size : {"default", "1280x1000"}) {
        std::fflush(stdout);
        result |= QProcess::execute(QString::fromLocal8Bit(argv[0]), {SizeOption, QString::fromLatin1(size)});
    }
    return result == 0 ? 0 : 1;
}
