// The receive loop and the shared receive buffer without a window or an event loop, so a
// ThreadSanitizer build checks the reader's sharing with plain threads. Here the test plays
// the far end of a pseudo-terminal by hand; tst_portlayer runs the loop against the
// simulated box on every platform.
#include "link/LinkState.h"
#include "link/ReceiveBuffer.h"
#include "link/ReceiveLoop.h"
#include "link/ReceiveSink.h"
#include "link/SerialIo.h"
#include "link/StopSignal.h"
#include "PtyPeer.h"

#include <QDir>
#include <QTest>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <time.h>

Q_DECLARE_METATYPE(DisplayMode)

namespace {

using namespace std::chrono_literals;

// Stands in for the GUI thread: records every line; optionally never completes a hand-off,
// as a GUI thread that is busy elsewhere would, until the reader is stopped.
class RecordingSink final : public ReceiveSink {
public:
    explicit RecordingSink(const StopSignal& stop) : m_stop(stop) {}

    void showReceived(const std::string& text) override
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_lines.push_back(text);
        }
        m_changed.notify_all();
        while (m_stall && !m_stop.raised())
            std::this_thread::sleep_for(1ms);
    }
    void showError(const std::string& message) override { showReceived("error: " + message); }

    std::vector<std::string> waitForLines(std::size_t count, std::chrono::milliseconds timeout = 3s)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait_for(lock, timeout, [&] { return m_lines.size() >= count; });
        return m_lines;
    }

    std::atomic<bool> m_stall{false};

private:
    const StopSignal& m_stop;
    std::mutex m_mutex; // guards m_lines
    std::condition_variable m_changed;
    std::vector<std::string> m_lines;
};

int entriesIn(const char* folder)
{
    return static_cast<int>(QDir(QLatin1String(folder)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size());
}

// One reader on the slave of a pseudo-terminal, configured as the program configures a port.
class Reader {
public:
    explicit Reader(const std::string& device, std::optional<std::chrono::milliseconds> longestRead = {})
        : m_sink(m_stop)
        , m_longestRead(longestRead)
    {
        m_port.open(device);
        serial::Timeouts timeouts;
        timeouts.readInterval = 100;
        timeouts.readTotalMultiplier = 1;
        m_port.setTimeouts(timeouts);
        serial::LineSettings line;
        m_port.getLineSettings(line);
        m_port.setLineSettings(line);
    }
    ~Reader() { stop(); }

    bool isOpen() const { return m_port.handle() > 0; }

    void start()
    {
        m_thread = std::thread([this] {
            runReceiveLoop({m_port, m_buffer, m_mode, m_showCRLF, m_sink, m_stop, [] { return false; }, m_longestRead});
        });
    }
    void stop()
    {
        m_stop.raise();
        if (m_thread.joinable())
            m_thread.join();
    }

    ReceiveBuffer m_buffer;
    std::atomic<DisplayMode> m_mode{DisplayMode::Hex};
    std::atomic<bool> m_showCRLF{true};
    StopSignal m_stop;
    RecordingSink m_sink;

private:
    const std::optional<std::chrono::milliseconds> m_longestRead;
    serial::Port m_port; // outlives the thread: the thread is joined first
    std::thread m_thread;
};

} // namespace

class TestReceiveLoop : public QObject {
    Q_OBJECT

private slots:
    void oneLinePerReadInEveryMode_data()
    {
        QTest::addColumn<DisplayMode>("mode");
        QTest::addColumn<bool>("showCRLF");
        QTest::addColumn<QString>("text");
        QTest::newRow("hex") << DisplayMode::Hex << true << "4F 4B <CR> <LF> ";
        QTest::newRow("hex raw") << DisplayMode::Hex << false << "4F 4B 0D 0A ";
        QTest::newRow("binary") << DisplayMode::Binary << true << "01001111 01001011 <CR> <LF> ";
        QTest::newRow("ascii") << DisplayMode::Ascii << false << "OK<CR><LF>";
    }
    void oneLinePerReadInEveryMode()
    {
        QFETCH(DisplayMode, mode);
        QFETCH(bool, showCRLF);
        QFETCH(QString, text);
        PtyPeer peer;
        Reader reader(peer.slavePath());
        reader.m_mode = mode;
        reader.m_showCRLF = showCRLF;
        reader.start();
        peer.write("OK");
        std::this_thread::sleep_for(30ms);
        peer.write("\r\n"); // within the 100 ms silence: the same read
        const auto lines = reader.m_sink.waitForLines(1);
        std::this_thread::sleep_for(150ms);
        QCOMPARE(reader.m_sink.waitForLines(1).size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(lines.at(0)), text);
        QCOMPARE(reader.m_buffer.count(), 4u);
        std::uint8_t stored[4];
        reader.m_buffer.copyOut(0, stored, 4);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(stored), 4), QByteArray("OK\r\n"));
    }

    void silenceSplitsReads()
    {
        PtyPeer peer;
        Reader reader(peer.slavePath());
        reader.start();
        peer.write("A");
        QCOMPARE(reader.m_sink.waitForLines(1).size(), std::size_t(1));
        std::this_thread::sleep_for(250ms);
        peer.write("B");
        const auto lines = reader.m_sink.waitForLines(2);
        QCOMPARE(lines.size(), std::size_t(2));
        QCOMPARE(lines.at(1), std::string("42 "));
        QCOMPARE(reader.m_buffer.count(), 2u);
    }

    // A bus analyser's line every 40 ms never leaves the read's 100 ms gap: a read given a
    // longest time is shown while the traffic goes on, not once it ends.
    void longestReadShowsABusyLineAsItComes()
    {
        PtyPeer peer;
        Reader reader(peer.slavePath(), 200ms);
        reader.start();
        std::atomic<bool> shown{false};
        std::atomic<bool> writing{true};
        std::thread writer([&] {
            for (int line = 0; line < 125 && !shown; ++line) { // 5 s at most
                peer.write("BUS E0 31 6B 01\r\n");
                std::this_thread::sleep_for(40ms);
            }
            writing = false;
        });
        const auto lines = reader.m_sink.waitForLines(1, 10s);
        const bool whileWriting = writing;
        shown = true;
        writer.join();
        QVERIFY(!lines.empty());
        QVERIFY2(whileWriting, "the read waited for the line to fall quiet");
    }

    void displayOptionsApplyFromTheNextByte()
    {
        PtyPeer peer;
        Reader reader(peer.slavePath());
        reader.start();
        peer.write("A");
        reader.m_sink.waitForLines(1);
        reader.m_mode = DisplayMode::Ascii;
        std::this_thread::sleep_for(150ms);
        peer.write("A");
        QCOMPARE(reader.m_sink.waitForLines(2).at(1), std::string("A"));
    }

    void resetDuringTrafficStaysConsistent()
    {
        // The GUI thread resets the buffer while the reader stores: counts stay in range.
        PtyPeer peer;
        Reader reader(peer.slavePath());
        reader.start();
        std::atomic<bool> done{false};
        std::thread writer([&] {
            for (int i = 0; i < 40; ++i) {
                peer.write(std::string(700, 'z'));
                std::this_thread::sleep_for(5ms);
            }
            done = true;
        });
        std::uint8_t copy[ReceiveBuffer::Capacity + 1];
        while (!done) {
            reader.m_buffer.reset();
            QVERIFY(reader.m_buffer.count() <= ReceiveBuffer::Capacity);
            reader.m_buffer.copyOut(0, copy, sizeof copy);
            QCOMPARE(copy[ReceiveBuffer::Capacity], std::uint8_t(0));
        }
        writer.join();
    }

    void stopEndsAReaderBlockedInARead()
    {
        PtyPeer peer;
        Reader reader(peer.slavePath());
        reader.start();
        // A byte every 50 ms keeps one read going for as long as the traffic lasts.
        std::atomic<bool> stopWriting{false};
        std::thread writer([&] {
            while (!stopWriting) {
                peer.write("t");
                std::this_thread::sleep_for(50ms);
            }
        });
        std::this_thread::sleep_for(300ms);
        const auto before = std::chrono::steady_clock::now();
        reader.stop();
        const auto took = std::chrono::steady_clock::now() - before;
        stopWriting = true;
        writer.join();
        QVERIFY2(took < 1s, "the reader kept reading after the stop");
        QVERIFY(reader.m_sink.waitForLines(1, 0ms).empty());
    }

    void stopEndsAReaderBlockedInAHandOff()
    {
        PtyPeer peer;
        Reader reader(peer.slavePath());
        reader.m_sink.m_stall = true;
        reader.start();
        peer.write("x");
        QCOMPARE(reader.m_sink.waitForLines(1).size(), std::size_t(1));
        reader.stop(); // returns only once the thread has ended
        QCOMPARE(reader.m_buffer.count(), 1u);
    }

    // A bench that opens and closes the port all day gives back every descriptor and thread.
    void openCloseCyclesLeakNothing()
    {
        PtyPeer peer(PtyPeer::Slave::Untouched);
        const int descriptors = entriesIn("/proc/self/fd");
        const int threads = entriesIn("/proc/self/task");
        for (int cycle = 0; cycle < 1000; ++cycle) {
            Reader reader(peer.slavePath());
            QVERIFY(reader.isOpen());
            reader.start();
        }
        QCOMPARE(entriesIn("/proc/self/fd"), descriptors);
        QCOMPARE(entriesIn("/proc/self/task"), threads);
    }

    void vanishedDeviceDoesNotSpin()
    {
        auto peer = std::make_unique<PtyPeer>();
        Reader reader(peer->slavePath());
        reader.start();
        peer->closeMaster();
        std::this_thread::sleep_for(100ms);
        // The loop's thread is the only one working now; measure the whole process.
        timespec before{}, after{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &before);
        std::this_thread::sleep_for(1s);
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &after);
        const double used = double(after.tv_sec - before.tv_sec) + double(after.tv_nsec - before.tv_nsec) / 1e9;
        QVERIFY2(used < 0.2, qPrintable(QStringLiteral("%1 s of CPU in 1 s").arg(used)));
    }
};

QTEST_GUILESS_MAIN(TestReceiveLoop)
#include "tst_receiveloop.moc"
