// What only the POSIX serial layer does, against real pseudo-terminals: this side opens the
// slave through the layer, the test plays the far end on the master. The behaviours both
// platforms share are in tst_portlayer.
#include "link/SerialIo.h"
#include "PtyPeer.h"

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

// Opened and set up the way the program sets up its port.
bool openConfigured(serial::Port& port, const std::string& path)
{
    serial::LineSettings line;
    serial::Timeouts timeouts;
    if (!port.open(path) || !port.getLineSettings(line))
        return false;
    line.baudRate = 19200;
    line.byteSize = 8;
    line.parity = serial::Parity::None;
    line.stopBits = serial::StopBits::One;
    timeouts.readInterval = 100;
    timeouts.readTotalMultiplier = 1;
    return port.setLineSettings(line) && port.setTimeouts(timeouts);
}

Bytes pattern(std::size_t size, unsigned seed = 0)
{
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<unsigned char>(i * 7 + seed);
    return bytes;
}

Bytes readChunk(serial::Port& port, std::uint32_t capacity, bool& ok)
{
    Bytes chunk(capacity);
    std::uint32_t got = 0;
    ok = port.read(chunk.data(), capacity, got);
    chunk.resize(got);
    return chunk;
}

// Bytes waiting in the input queue, or -1 when the query fails.
long long queuedInput(serial::Port& port)
{
    std::uint32_t queued = 0;
    return port.queryStatus(queued) ? queued : -1;
}

} // namespace

class TestSerialIo : public QObject {
    Q_OBJECT

private slots:
    void devicePathFollowsPortName_data();
    void devicePathFollowsPortName();
    void handleIsNeverZero();
    void lineSettingsRoundTrip_data();
    void lineSettingsRoundTrip();
    void lineSettingsMakeTheLineRawAndKeepFlowControl();
    void rawModePassesBytesUntouched();
    void timeoutsStartAtZeroOnEveryOpen();
    void readGathersUntilSilence_data();
    void readGathersUntilSilence();
    void readWithZeroIntervalReturnsWhatIsThere();
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

void TestSerialIo::handleIsNeverZero()
{
    PeerTerminal peer;
    QVERIFY(!peer.slavePath().empty());
    // Free descriptor 0 so that open() hands it out; stdin comes back afterwards.
    const int savedStdin = fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 3);
    close(STDIN_FILENO);
    serial::Port port;
    const bool opened = port.open(peer.slavePath());
    const bool zeroStillFree = fcntl(STDIN_FILENO, F_GETFD) == -1;
    if (savedStdin >= 0) {
        dup2(savedStdin, STDIN_FILENO);
        close(savedStdin);
    }
    const serial::Handle handle = port.handle();
    QVERIFY(opened);
    QVERIFY(handle > STDERR_FILENO);
    QVERIFY(zeroStillFree);
    QVERIFY(isatty(static_cast<int>(handle)));
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
    serial::Port port;
    QVERIFY(port.open(peer.slavePath()));

    serial::LineSettings line;
    QVERIFY(port.getLineSettings(line));
    line.baudRate = speed;
    line.byteSize = 8;
    line.parity = serial::Parity::None;
    line.stopBits = stopBits;
    QVERIFY(port.setLineSettings(line));

    serial::LineSettings readBack;
    QVERIFY(port.getLineSettings(readBack));
    QCOMPARE(readBack.baudRate, speed);
    QCOMPARE(readBack.byteSize, std::uint8_t{8});
    QCOMPARE(readBack.parity, serial::Parity::None);
    QCOMPARE(readBack.stopBits, stopBits);
}

void TestSerialIo::lineSettingsMakeTheLineRawAndKeepFlowControl()
{
    PeerTerminal peer;
    serial::Port port;
    QVERIFY(port.open(peer.slavePath()));
    const int descriptor = static_cast<int>(port.handle());
    termios driver{};
    QVERIFY(tcgetattr(descriptor, &driver) == 0);
    driver.c_cflag |= CRTSCTS;
    driver.c_iflag |= IXON | IXOFF;
    QVERIFY(tcsetattr(descriptor, TCSANOW, &driver) == 0);

    serial::LineSettings line;
    QVERIFY(port.getLineSettings(line));
    line.baudRate = 19200;
    QVERIFY(port.setLineSettings(line));

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
    serial::Port port;
    QVERIFY(openConfigured(port, peer.slavePath()));

    // CR, XON, XOFF, LF, Ctrl-C, Ctrl-D, DEL and NUL would all be eaten or changed when cooked.
    const Bytes incoming = {0x0D, 0x11, 0x13, 0x0A, 0x03, 0x04, 0x7F, 0x00};
    QVERIFY(peer.send(incoming));
    bool ok = false;
    QCOMPARE(readChunk(port, 100, ok), incoming);
    QVERIFY(ok);

    // Had the line echoed, the echo would arrive at the far end ahead of our own bytes.
    const Bytes outgoing = {0x0A, 0x0D, 0x11, 'A'};
    std::uint32_t written = 0;
    QVERIFY(port.write(outgoing.data(), 4, written));
    QCOMPARE(written, 4u);
    QCOMPARE(peer.receive(outgoing.size()), outgoing);
}

void TestSerialIo::timeoutsStartAtZeroOnEveryOpen()
{
    PeerTerminal peer;
    const auto sum = [](const serial::Timeouts& t) {
        return t.readInterval + t.readTotalMultiplier + t.readTotalConstant + t.writeTotalMultiplier
             + t.writeTotalConstant;
    };
    serial::Timeouts timeouts{1, 1, 1, 1, 1};
    {
        serial::Port port;
        QVERIFY(port.open(peer.slavePath()));
        QVERIFY(port.getTimeouts(timeouts));
        QCOMPARE(sum(timeouts), 0u);
        QVERIFY(port.setTimeouts(serial::Timeouts{100, 1, 7, 3, 50}));
    }
    // A reopened port, very likely on the same descriptor number, starts from zero again.
    serial::Port port;
    QVERIFY(port.open(peer.slavePath()));
    QVERIFY(port.getTimeouts(timeouts));
    QCOMPARE(sum(timeouts), 0u);
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
    serial::Port port;
    QVERIFY(openConfigured(port, peer.slavePath()));

    const Bytes first = pattern(20, 1);
    const Bytes second = pattern(30, 2);
    std::thread sender([&] {
        peer.send(first);
        std::this_thread::sleep_for(std::chrono::milliseconds(gapMs));
        peer.send(second);
    });
    bool ok = false;
    const Bytes chunk = readChunk(port, 10000, ok);
    Bytes rest;
    bool restOk = true;
    if (reads == 2)
        rest = readChunk(port, 10000, restOk);
    sender.join();

    QVERIFY(ok);
    QVERIFY(restOk);
    Bytes both = first;
    both.insert(both.end(), second.begin(), second.end());
    QCOMPARE(chunk, reads == 1 ? both : first);
    QCOMPARE(rest, reads == 1 ? Bytes{} : second);
}

void TestSerialIo::readWithZeroIntervalReturnsWhatIsThere()
{
    PeerTerminal peer;
    serial::Port port;
    QVERIFY(openConfigured(port, peer.slavePath()));
    QVERIFY(port.setTimeouts(serial::Timeouts{0, 0, 5000, 0, 0}));
    QVERIFY(peer.send(pattern(5)));
    QTRY_COMPARE(queuedInput(port), 5LL);

    // The total time-out is long; with no interval the read must not wait for more.
    QElapsedTimer clock;
    clock.start();
    bool ok = false;
    QCOMPARE(readChunk(port, 100, ok), pattern(5));
    QVERIFY(ok);
    QVERIFY(clock.elapsed() < 2500);
}

void TestSerialIo::hangUpKeepsBytesAlreadyRead()
{
    PeerTerminal peer;
    serial::Port port;
    QVERIFY(openConfigured(port, peer.slavePath()));
    QVERIFY(peer.send(pattern(3)));
    QTRY_COMPARE(queuedInput(port), 3LL);

    // The far end hangs up once the read has taken the bytes, while it waits for more.
    std::thread hangUp([&] {
        for (int i = 0; i < 5000 && queuedInput(port) != 0; ++i)
            std::this_thread::sleep_for(1ms);
        peer.closeMaster();
    });
    bool ok = false;
    const Bytes chunk = readChunk(port, 10000, ok);
    hangUp.join();
    QVERIFY(ok);
    QCOMPARE(chunk, pattern(3));
}

void TestSerialIo::readAfterHangUpFails()
{
    PeerTerminal peer;
    serial::Port port;
    QVERIFY(openConfigured(port, peer.slavePath()));
    peer.closeMaster();

    for (int attempt = 0; attempt < 2; ++attempt) {
        bool ok = true;
        errno = 0;
        QCOMPARE(readChunk(port, 10000, ok), Bytes{});
        QVERIFY(!ok);
        QCOMPARE(errno, EIO);
    }
    std::uint32_t queued = 0;
    const bool answered = port.queryStatus(queued);
    QVERIFY(!answered || queued == 0);
    std::uint32_t written = 1;
    const unsigned char byte = 0x55;
    QVERIFY(!port.write(&byte, 1, written));
    QCOMPARE(written, 0u);
}

void TestSerialIo::writeDeliversEveryByte()
{
    PeerTerminal peer;
    serial::Port port;
    QVERIFY(openConfigured(port, peer.slavePath()));
    // More than the terminal buffers: the write has to wait for room on the way.
    const Bytes sent = pattern(300000, 5);
    Bytes received;
    std::thread reader([&] { received = peer.receive(sent.size()); });
    std::uint32_t written = 0;
    const bool ok = port.write(sent.data(), static_cast<std::uint32_t>(sent.size()), written);
    reader.join();
    QVERIFY(ok);
    QCOMPARE(written, std::uint32_t(sent.size()));
    QVERIFY(received == sent);
}

void TestSerialIo::writeTimeoutEndsBlockedWrite()
{
    PeerTerminal peer;
    serial::Port port;
    QVERIFY(openConfigured(port, peer.slavePath()));
    QVERIFY(port.setTimeouts(serial::Timeouts{100, 1, 0, 0, 100}));
    // Nobody reads the far end, so the buffers fill and the rest has to wait out the time-out.
    const Bytes sent = pattern(1 << 20);
    std::uint32_t written = 0;
    QVERIFY(port.write(sent.data(), static_cast<std::uint32_t>(sent.size()), written));
    QVERIFY(written > 0);
    QVERIFY(written < sent.size());
    QCOMPARE(peer.receive(written), Bytes(sent.begin(), sent.begin() + written));
}

QTEST_GUILESS_MAIN(TestSerialIo)
#include "tst_serialio.moc"
