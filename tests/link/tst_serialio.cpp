// The POSIX serial layer against real pseudo-terminals: this side opens the slave through
// the layer, the test plays the far end on the master.
#include "PtyPeer.h"
#include "SerialIo.h"
#include "StopSignal.h"

#include <QElapsedTimer>
#include <QtTest>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

using Bytes = std::vector<unsigned char>;
using namespace std::chrono_literals;

Q_DECLARE_METATYPE(serial::StopBits)

namespace {

// The far end of a terminal whose slave the port layer must make raw by itself.
class PeerTerminal : public PtyPeer {
public:
    PeerTerminal() : PtyPeer(Slave::Untouched) {}

    bool send(const Bytes& bytes) { return write(std::string(bytes.begin(), bytes.end())); }

    // What arrives until `count` bytes came or the line stays quiet for `quiet`.
    Bytes receive(std::size_t count, std::chrono::milliseconds quiet = 2s)
    {
        const std::string received = read(count, static_cast<int>(quiet.count()));
        return Bytes(received.begin(), received.end());
    }
};

// A port handle closed at the end of the test, whatever happens in between.
class PortHandle {
public:
    explicit PortHandle(serial::Handle handle) : m_handle(handle) {}
    ~PortHandle() { serial::closeHandle(m_handle); }
    PortHandle(const PortHandle&) = delete;
    PortHandle& operator=(const PortHandle&) = delete;
    serial::Handle get() const { return m_handle; }
    bool valid() const { return m_handle != serial::InvalidHandle; }

private:
    serial::Handle m_handle;
};

// Opened and set up the way the program sets up its port.
serial::Handle openConfigured(const std::string& path)
{
    const serial::Handle handle = serial::openDevice(path);
    serial::LineSettings line;
    serial::Timeouts timeouts;
    if (handle == serial::InvalidHandle || !serial::getLineSettings(handle, line))
        return handle;
    line.baudRate = 19200;
    line.byteSize = 8;
    line.parity = serial::Parity::None;
    line.stopBits = serial::StopBits::One;
    timeouts.readInterval = 100;
    timeouts.readTotalMultiplier = 1;
    if (!serial::setLineSettings(handle, line) || !serial::setTimeouts(handle, timeouts)) {
        serial::closeHandle(handle);
        return serial::InvalidHandle;
    }
    return handle;
}

Bytes pattern(std::size_t size, unsigned seed = 0)
{
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<unsigned char>(i * 7 + seed);
    return bytes;
}

Bytes readChunk(serial::Handle handle, std::uint32_t capacity, bool& ok,
                const StopSignal* stop = nullptr)
{
    Bytes chunk(capacity);
    std::uint32_t got = 0;
    ok = serial::readPort(handle, chunk.data(), capacity, got, stop);
    chunk.resize(got);
    return chunk;
}

// Bytes waiting in the input queue, or -1 when the query fails.
long long queuedInput(serial::Handle handle)
{
    std::uint32_t queued = 0;
    return serial::queryStatus(handle, queued) ? queued : -1;
}

} // namespace

class TestSerialIo : public QObject {
    Q_OBJECT

private slots:
    void devicePathFollowsPortName_data();
    void devicePathFollowsPortName();
    void openOfMissingDeviceGivesInvalidHandle();
    void handleIsNeverZero();
    void openIsExclusive();
    void closeOfInvalidHandleSucceeds();
    void callsOnClosedHandleFailWithEbadf();
    void controlLinesReportFailureOnPseudoTerminal();
    void lineSettingsRoundTrip_data();
    void lineSettingsRoundTrip();
    void lineSettingsMakeTheLineRawAndKeepFlowControl();
    void rawModePassesBytesUntouched();
    void timeoutsStartAtZeroAndRoundTrip();
    void queryStatusCountsQueuedInput();
    void readGathersUntilSilence_data();
    void readGathersUntilSilence();
    void readStopsAtCapacity();
    void readWithZeroIntervalReturnsWhatIsThere();
    void readEndsOnTotalTimeout();
    void stopSignalWakesBlockedRead();
    void raisedStopSignalEndsReadAtOnce();
    void hangUpKeepsBytesAlreadyRead();
    void readAfterHangUpFails();
    void writeDeliversEveryByte();
    void writeTimeoutEndsBlockedWrite();
};

void TestSerialIo::devicePathFollowsPortName_data()
{
    QTest::addColumn<QString>("portName");
    QTest::addColumn<QString>("path");
    QTest::newRow("COM1") << "COM1" << "/dev/ttyS0";
    QTest::newRow("lower case") << "com3" << "/dev/ttyS2";
    QTest::newRow("mixed case, two digits") << "Com12" << "/dev/ttyS11";
    QTest::newRow("path as written") << "/dev/pts/7" << "/dev/pts/7";
    QTest::newRow("relative path kept") << "dev/Serial0" << "dev/Serial0";
    QTest::newRow("USB adapter") << "ttyUSB0" << "/dev/ttyUSB0";
    QTest::newRow("ACM device") << "ttyACM0" << "/dev/ttyACM0";
    QTest::newRow("COM without number") << "COM" << "/dev/COM";
    QTest::newRow("COM0 is no COM port") << "COM0" << "/dev/COM0";
    QTest::newRow("COM with suffix") << "COM1x" << "/dev/COM1x";
}

void TestSerialIo::devicePathFollowsPortName()
{
    QFETCH(QString, portName);
    QFETCH(QString, path);
    QCOMPARE(QString::fromStdString(serial::devicePath(portName.toStdString())), path);
}

void TestSerialIo::openOfMissingDeviceGivesInvalidHandle()
{
    QVERIFY(serial::InvalidHandle != serial::NoHandle);
    errno = 0;
    QCOMPARE(serial::openDevice("/dev/vantorel-no-such-port"), serial::InvalidHandle);
    QCOMPARE(errno, ENOENT);
}

void TestSerialIo::handleIsNeverZero()
{
    PeerTerminal peer;
    QVERIFY(!peer.slavePath().empty());
    // Free descriptor 0 so that open() hands it out; stdin comes back afterwards.
    const int savedStdin = fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 3);
    close(STDIN_FILENO);
    const serial::Handle handle = serial::openDevice(peer.slavePath());
    const bool zeroStillFree = fcntl(STDIN_FILENO, F_GETFD) == -1;
    if (savedStdin >= 0) {
        dup2(savedStdin, STDIN_FILENO);
        close(savedStdin);
    }
    PortHandle port(handle);
    QVERIFY(port.valid());
    QVERIFY(handle > STDERR_FILENO);
    QVERIFY(zeroStillFree);
    QVERIFY(isatty(static_cast<int>(handle)));
}

void TestSerialIo::openIsExclusive()
{
    PeerTerminal peer;
    {
        PortHandle first(serial::openDevice(peer.slavePath()));
        QVERIFY(first.valid());
        errno = 0;
        QCOMPARE(serial::openDevice(peer.slavePath()), serial::InvalidHandle);
        QCOMPARE(errno, EBUSY);
    }
    PortHandle again(serial::openDevice(peer.slavePath()));
    QVERIFY(again.valid());
}

void TestSerialIo::closeOfInvalidHandleSucceeds()
{
    QVERIFY(serial::closeHandle(serial::InvalidHandle));
    // 0 is "no port", never stdin.
    const bool stdinOpen = fcntl(STDIN_FILENO, F_GETFD) != -1;
    errno = 0;
    QVERIFY(!serial::closeHandle(serial::NoHandle));
    QCOMPARE(errno, EBADF);
    QCOMPARE(fcntl(STDIN_FILENO, F_GETFD) != -1, stdinOpen);
}

void TestSerialIo::callsOnClosedHandleFailWithEbadf()
{
    PeerTerminal peer;
    const serial::Handle handle = serial::openDevice(peer.slavePath());
    QVERIFY(handle != serial::InvalidHandle);
    QVERIFY(serial::closeHandle(handle));

    const std::pair<const char*, bool (*)(serial::Handle)> steps[] = {
        {"closeHandle", [](serial::Handle h) { return serial::closeHandle(h); }},
        {"getTimeouts", [](serial::Handle h) { serial::Timeouts t; return serial::getTimeouts(h, t); }},
        {"setTimeouts", [](serial::Handle h) { return serial::setTimeouts(h, serial::Timeouts{}); }},
        {"setEventMask", [](serial::Handle h) { return serial::setEventMask(h, serial::EventRxChar); }},
        {"getLineSettings", [](serial::Handle h) { serial::LineSettings l; return serial::getLineSettings(h, l); }},
        {"setLineSettings", [](serial::Handle h) { return serial::setLineSettings(h, serial::LineSettings{}); }},
        {"setDtr", [](serial::Handle h) { return serial::setDtr(h, true); }},
        {"queryStatus", [](serial::Handle h) { std::uint32_t q; return serial::queryStatus(h, q); }},
        {"readPort", [](serial::Handle h) { unsigned char b; std::uint32_t n; return serial::readPort(h, &b, 1, n); }},
        {"writePort", [](serial::Handle h) { unsigned char b = 0; std::uint32_t n; return serial::writePort(h, &b, 1, n); }},
    };
    for (const auto& [name, step] : steps) {
        errno = 0;
        QVERIFY2(!step(handle), name);
        QVERIFY2(errno == EBADF, name);
    }
}

void TestSerialIo::controlLinesReportFailureOnPseudoTerminal()
{
    PeerTerminal peer;
    PortHandle port(serial::openDevice(peer.slavePath()));
    QVERIFY(port.valid());
    // A pseudo-terminal has no modem lines; the layer must say so rather than pretend.
    errno = 0;
    QVERIFY(!serial::setDtr(port.get(), true));
    QCOMPARE(errno, ENOTTY);
    errno = 0;
    QVERIFY(!serial::setRts(port.get(), false));
    QCOMPARE(errno, ENOTTY);
}

void TestSerialIo::lineSettingsRoundTrip_data()
{
    QTest::addColumn<quint32>("speed");
    QTest::addColumn<serial::StopBits>("stopBits");
    QTest::newRow("9600") << 9600u << serial::StopBits::One;
    QTest::newRow("19200") << 19200u << serial::StopBits::One;
    QTest::newRow("115200, two stop bits") << 115200u << serial::StopBits::Two;
    QTest::newRow("12345 has no B constant") << 12345u << serial::StopBits::One;
    QTest::newRow("250000 has no B constant") << 250000u << serial::StopBits::One;
}

void TestSerialIo::lineSettingsRoundTrip()
{
    QFETCH(quint32, speed);
    QFETCH(serial::StopBits, stopBits);
    PeerTerminal peer;
    PortHandle port(serial::openDevice(peer.slavePath()));
    QVERIFY(port.valid());

    serial::LineSettings line;
    QVERIFY(serial::getLineSettings(port.get(), line));
    line.baudRate = speed;
    line.byteSize = 8;
    line.parity = serial::Parity::None;
    line.stopBits = stopBits;
    QVERIFY(serial::setLineSettings(port.get(), line));

    serial::LineSettings readBack;
    QVERIFY(serial::getLineSettings(port.get(), readBack));
    QCOMPARE(readBack.baudRate, speed);
    QCOMPARE(readBack.byteSize, std::uint8_t{8});
    QCOMPARE(readBack.parity, serial::Parity::None);
    QCOMPARE(readBack.stopBits, stopBits);
}

void TestSerialIo::lineSettingsMakeTheLineRawAndKeepFlowControl()
{
    PeerTerminal peer;
    PortHandle port(serial::openDevice(peer.slavePath()));
    QVERIFY(port.valid());
    const int descriptor = static_cast<int>(port.get());
    termios driver{};
    QVERIFY(tcgetattr(descriptor, &driver) == 0);
    driver.c_cflag |= CRTSCTS;
    driver.c_iflag |= IXON | IXOFF;
    QVERIFY(tcsetattr(descriptor, TCSANOW, &driver) == 0);

    serial::LineSettings line;
    QVERIFY(serial::getLineSettings(port.get(), line));
    line.baudRate = 19200;
    QVERIFY(serial::setLineSettings(port.get(), line));

    termios now{};
    QVERIFY(tcgetattr(descriptor, &now) == 0);
    QVERIFY(now.c_cflag & CRTSCTS);
    QCOMPARE(now.c_cflag & (CLOCAL | CREAD), tcflag_t(CLOCAL | CREAD));
    QCOMPARE(now.c_cflag & CSIZE, tcflag_t(CS8));
    QCOMPARE(now.c_iflag & (IXON | IXOFF | ICRNL | INLCR | IGNCR), tcflag_t(0));
    QCOMPARE(now.c_lflag & (ECHO | ICANON | ISIG | IEXTEN), tcflag_t(0));
    QCOMPARE(now.c_oflag & OPOST, tcflag_t(0));
}

void TestSerialIo::rawModePassesBytesUntouched()
{
    PeerTerminal peer;
    PortHandle port(openConfigured(peer.slavePath()));
    QVERIFY(port.valid());

    // CR, XON, XOFF, LF, Ctrl-C, Ctrl-D, DEL and NUL would all be eaten or changed when cooked.
    const Bytes incoming = {0x0D, 0x11, 0x13, 0x0A, 0x03, 0x04, 0x7F, 0x00};
    QVERIFY(peer.send(incoming));
    bool ok = false;
    QCOMPARE(readChunk(port.get(), 100, ok), incoming);
    QVERIFY(ok);

    // Had the line echoed, the echo would arrive at the far end ahead of our own bytes.
    const Bytes outgoing = {0x0A, 0x0D, 0x11, 'A'};
    std::uint32_t written = 0;
    QVERIFY(serial::writePort(port.get(), outgoing.data(), 4, written));
    QCOMPARE(written, 4u);
    QCOMPARE(peer.receive(outgoing.size()), outgoing);
}

void TestSerialIo::timeoutsStartAtZeroAndRoundTrip()
{
    PeerTerminal peer;
    const serial::Timeouts set{100, 1, 7, 3, 50};
    {
        PortHandle port(serial::openDevice(peer.slavePath()));
        QVERIFY(port.valid());
        serial::Timeouts timeouts{1, 1, 1, 1, 1};
        QVERIFY(serial::getTimeouts(port.get(), timeouts));
        QCOMPARE(timeouts.readInterval + timeouts.readTotalMultiplier + timeouts.readTotalConstant
                     + timeouts.writeTotalMultiplier + timeouts.writeTotalConstant,
                 0u);
        QVERIFY(serial::setTimeouts(port.get(), set));
        QVERIFY(serial::getTimeouts(port.get(), timeouts));
        QCOMPARE(timeouts.readInterval, set.readInterval);
        QCOMPARE(timeouts.readTotalMultiplier, set.readTotalMultiplier);
        QCOMPARE(timeouts.readTotalConstant, set.readTotalConstant);
        QCOMPARE(timeouts.writeTotalMultiplier, set.writeTotalMultiplier);
        QCOMPARE(timeouts.writeTotalConstant, set.writeTotalConstant);
        QVERIFY(serial::setEventMask(port.get(), serial::EventRxChar));
    }
    // A reopened port, very likely on the same descriptor number, starts from zero again.
    PortHandle port(serial::openDevice(peer.slavePath()));
    QVERIFY(port.valid());
    serial::Timeouts timeouts;
    QVERIFY(serial::getTimeouts(port.get(), timeouts));
    QCOMPARE(timeouts.readInterval, 0u);
    QCOMPARE(timeouts.writeTotalConstant, 0u);
}

void TestSerialIo::queryStatusCountsQueuedInput()
{
    PeerTerminal peer;
    PortHandle port(openConfigured(peer.slavePath()));
    QVERIFY(port.valid());
    QCOMPARE(queuedInput(port.get()), 0LL);
    QVERIFY(peer.send(pattern(7)));
    QTRY_COMPARE(queuedInput(port.get()), 7LL);
    bool ok = false;
    QCOMPARE(readChunk(port.get(), 3, ok), Bytes(pattern(3)));
    QCOMPARE(queuedInput(port.get()), 4LL);
}

void TestSerialIo::readGathersUntilSilence_data()
{
    QTest::addColumn<int>("gapMs");
    QTest::addColumn<int>("reads");
    QTest::newRow("30 ms gap: one chunk") << 30 << 1;
    QTest::newRow("250 ms gap: two chunks") << 250 << 2;
}

void TestSerialIo::readGathersUntilSilence()
{
    QFETCH(int, gapMs);
    QFETCH(int, reads);
    PeerTerminal peer;
    PortHandle port(openConfigured(peer.slavePath()));
    QVERIFY(port.valid());

    const Bytes first = pattern(20, 1);
    const Bytes second = pattern(30, 2);
    std::thread sender([&] {
        peer.send(first);
        std::this_thread::sleep_for(std::chrono::milliseconds(gapMs));
        peer.send(second);
    });
    bool ok = false;
    const Bytes chunk = readChunk(port.get(), 10000, ok);
    Bytes rest;
    bool restOk = true;
    if (reads == 2)
        rest = readChunk(port.get(), 10000, restOk);
    sender.join();

    QVERIFY(ok);
    QVERIFY(restOk);
    Bytes both = first;
    both.insert(both.end(), second.begin(), second.end());
    QCOMPARE(chunk, reads == 1 ? both : first);
    QCOMPARE(rest, reads == 1 ? Bytes{} : second);
}

void TestSerialIo::readStopsAtCapacity()
{
    PeerTerminal peer;
    PortHandle port(openConfigured(peer.slavePath()));
    QVERIFY(port.valid());
    // More than a pseudo-terminal buffers: the far end's write waits while we read.
    const Bytes sent = pattern(12000);
    bool sentAll = false;
    std::thread sender([&] { sentAll = peer.send(sent); });
    bool ok = false;
    const Bytes chunk = readChunk(port.get(), 10000, ok);
    bool restOk = false;
    const Bytes rest = readChunk(port.get(), 10000, restOk);
    sender.join();

    QVERIFY(sentAll);
    QVERIFY(ok);
    QCOMPARE(chunk, Bytes(sent.begin(), sent.begin() + 10000));
    QVERIFY(restOk);
    QCOMPARE(rest, Bytes(sent.begin() + 10000, sent.end()));
}

void TestSerialIo::readWithZeroIntervalReturnsWhatIsThere()
{
    PeerTerminal peer;
    PortHandle port(openConfigured(peer.slavePath()));
    QVERIFY(port.valid());
    QVERIFY(serial::setTimeouts(port.get(), serial::Timeouts{0, 0, 5000, 0, 0}));
    QVERIFY(peer.send(pattern(5)));
    QTRY_COMPARE(queuedInput(port.get()), 5LL);

    // The total time-out is long; with no interval the read must not wait for more.
    QElapsedTimer clock;
    clock.start();
    bool ok = false;
    QCOMPARE(readChunk(port.get(), 100, ok), pattern(5));
    QVERIFY(ok);
    QVERIFY(clock.elapsed() < 2500);
}

void TestSerialIo::readEndsOnTotalTimeout()
{
    PeerTerminal peer;
    PortHandle port(openConfigured(peer.slavePath()));
    QVERIFY(port.valid());
    QVERIFY(serial::setTimeouts(port.get(), serial::Timeouts{100, 1, 0, 0, 0}));
    // Nothing comes: 1 ms per requested byte ends the read with nothing, and that is no failure.
    bool ok = false;
    QCOMPARE(readChunk(port.get(), 20, ok), Bytes{});
    QVERIFY(ok);
}

void TestSerialIo::stopSignalWakesBlockedRead()
{
    PeerTerminal peer;
    PortHandle port(openConfigured(peer.slavePath()));
    QVERIFY(port.valid());
    StopSignal stop;
    QVERIFY(!stop.raised());

    // The read would wait 10 s for data that never comes.
    QElapsedTimer clock;
    clock.start();
    std::thread stopper([&] {
        std::this_thread::sleep_for(50ms);
        stop.raise();
    });
    bool ok = false;
    const Bytes chunk = readChunk(port.get(), 10000, ok, &stop);
    const qint64 elapsed = clock.elapsed();
    stopper.join();

    QVERIFY(ok);
    QVERIFY(chunk.empty());
    QVERIFY(stop.raised());
    QVERIFY2(elapsed < 1000, qPrintable(QString::number(elapsed)));
}

void TestSerialIo::raisedStopSignalEndsReadAtOnce()
{
    PeerTerminal peer;
    PortHandle port(openConfigured(peer.slavePath()));
    QVERIFY(port.valid());
    StopSignal stop;
    stop.raise();
    QVERIFY(peer.send(pattern(4)));
    QTRY_COMPARE(queuedInput(port.get()), 4LL);

    // What is already there is handed over; the 100 ms of silence are not waited for.
    QElapsedTimer clock;
    clock.start();
    bool ok = false;
    QCOMPARE(readChunk(port.get(), 10000, ok, &stop), pattern(4));
    QVERIFY(ok);
    QVERIFY(clock.elapsed() < 1000);
}

void TestSerialIo::hangUpKeepsBytesAlreadyRead()
{
    PeerTerminal peer;
    PortHandle port(openConfigured(peer.slavePath()));
    QVERIFY(port.valid());
    QVERIFY(peer.send(pattern(3)));
    QTRY_COMPARE(queuedInput(port.get()), 3LL);

    // The far end hangs up once the read has taken the bytes, while it waits for more.
    std::thread hangUp([&] {
        for (int i = 0; i < 5000 && queuedInput(port.get()) != 0; ++i)
            std::this_thread::sleep_for(1ms);
        peer.closeMaster();
    });
    bool ok = false;
    const Bytes chunk = readChunk(port.get(), 10000, ok);
    hangUp.join();
    QVERIFY(ok);
    QCOMPARE(chunk, pattern(3));
}

void TestSerialIo::readAfterHangUpFails()
{
    PeerTerminal peer;
    PortHandle port(openConfigured(peer.slavePath()));
    QVERIFY(port.valid());
    peer.closeMaster();

    for (int attempt = 0; attempt < 2; ++attempt) {
        bool ok = true;
        errno = 0;
        QCOMPARE(readChunk(port.get(), 10000, ok), Bytes{});
        QVERIFY(!ok);
        QCOMPARE(errno, EIO);
    }
    std::uint32_t queued = 0;
    const bool answered = serial::queryStatus(port.get(), queued);
    QVERIFY(!answered || queued == 0);
    std::uint32_t written = 1;
    const unsigned char byte = 0x55;
    QVERIFY(!serial::writePort(port.get(), &byte, 1, written));
    QCOMPARE(written, 0u);
}

void TestSerialIo::writeDeliversEveryByte()
{
    PeerTerminal peer;
    PortHandle port(openConfigured(peer.slavePath()));
    QVERIFY(port.valid());
    // More than the terminal buffers: the write has to wait for room on the way.
    const Bytes sent = pattern(300000, 5);
    Bytes received;
    std::thread reader([&] { received = peer.receive(sent.size()); });
    std::uint32_t written = 0;
    const bool ok = serial::writePort(port.get(), sent.data(), static_cast<std::uint32_t>(sent.size()), written);
    reader.join();
    QVERIFY(ok);
    QCOMPARE(written, std::uint32_t(sent.size()));
    QVERIFY(received == sent);
}

void TestSerialIo::writeTimeoutEndsBlockedWrite()
{
    PeerTerminal peer;
    PortHandle port(openConfigured(peer.slavePath()));
    QVERIFY(port.valid());
    QVERIFY(serial::setTimeouts(port.get(), serial::Timeouts{100, 1, 0, 0, 100}));
    // Nobody reads the far end, so the buffers fill and the rest has to wait out the time-out.
    const Bytes sent = pattern(1 << 20);
    std::uint32_t written = 0;
    QVERIFY(serial::writePort(port.get(), sent.data(), static_cast<std::uint32_t>(sent.size()), written));
    QVERIFY(written > 0);
    QVERIFY(written < sent.size());
    QCOMPARE(peer.receive(written), Bytes(sent.begin(), sent.begin() + written));
}

QTEST_GUILESS_MAIN(TestSerialIo)
#include "tst_serialio.moc"
