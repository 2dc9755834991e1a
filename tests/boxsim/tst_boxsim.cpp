// The simulated interface box, talked to as the program does: through the slave side of its
// pseudo-terminal, one 11-byte packet per request.
#include "BoxSimulator.h"
#include "SlavePort.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <memory>
#include <termios.h>
#include <unistd.h>

Q_DECLARE_METATYPE(BoxSimulator::Fault)

class TestBoxSim : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void slaveIsRawBeforeTheProgramConfiguresIt();
    void replyLength_data();
    void replyLength();
    void hardwareInfoIsReadableText();
    void unknownOpcodeIsAnsweredWithQuestionMark();
    void irValueReadsBackWhatWasSet();
    void twoPacketsInOneWriteGetTwoReplies();
    void packetInTwoHalvesGetsOneReply();
    void positionChunkWriteShowsInNextRead_data();
    void positionChunkWriteShowsInNextRead();
    void remoteChunkAndRepeatValueShowInNextRead();
    void tablesSetThroughTheLibraryAreServed();
    void tablesPersistInFiles();
    void wrongSizedTableFileStopsStart();
    void faultChangesReplyLength_data();
    void faultChangesReplyLength();
    void lateFaultDelaysWholeReply();
    void splitFaultSendsTwoParts();
    void forcedLengthAppliesToNextReplyOnly();
    void replyHookReplacesReply();
    void analyseModeStreamsBusTraffic();
    void slaveCanBeClosedAndReopened();
    void stopEndsDelayedReply();
    void linkFollowsTheTerminalAcrossStopAndStart();
    void resetForgetsWhatWasChanged();
    void sentBytesReachTheProgram();
    void executableServesAndCleansUp();
    void executableRejectsBadOptions_data();
    void executableRejectsBadOptions();

private:
    bool startBox(BoxSimulator::Options options = {});

    std::unique_ptr<BoxSimulator> m_box;
    std::unique_ptr<SlavePort> m_port;
};

bool TestBoxSim::startBox(BoxSimulator::Options options)
{
    m_port.reset();
    m_box = std::make_unique<BoxSimulator>(std::move(options));
    std::string error;
    if (!m_box->start(&error)) {
        qWarning("start failed: %s", error.c_str());
        return false;
    }
    m_port = std::make_unique<SlavePort>(m_box->slavePath());
    return m_port->isOpen();
}

void TestBoxSim::init()
{
    QVERIFY(startBox());
}

void TestBoxSim::cleanup()
{
    m_port.reset();
    m_box.reset();
}

void TestBoxSim::slaveIsRawBeforeTheProgramConfiguresIt()
{
    BoxSimulator box; // untouched by any peer, unlike m_box
    QVERIFY(box.start());
    const int fd = ::open(box.slavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    QVERIFY(fd >= 0);
    termios settings{};
    const bool read = tcgetattr(fd, &settings) == 0;
    ::close(fd);
    QVERIFY(read);
    // An echoing slave would return every reply to the box as if it were a request.
    QCOMPARE(settings.c_lflag & (ECHO | ICANON | ISIG), tcflag_t(0));
    QCOMPARE(settings.c_oflag & OPOST, tcflag_t(0));
    QCOMPARE(settings.c_iflag & (ICRNL | IXON), tcflag_t(0));
}

void TestBoxSim::replyLength_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<int>("length");

    QTest::newRow("hardware info") << bytes({0x01}) << 90;
    QTest::newRow("DiSEqC message") << bytes({0x03, 0x04, 0xE0, 0x31, 0x6B, 0x05}) << 2;
    QTest::newRow("DiSEqC reset") << bytes({0x03, 0x03, 0xE0, 0x00, 0x00}) << 2;
    QTest::newRow("set position") << bytes({0x04, 0x00, 0x2C}) << 2;
    QTest::newRow("step up") << bytes({0x05, 0x00}) << 2;
    QTest::newRow("step down") << bytes({0x05, 0x01}) << 2;
    QTest::newRow("positioner read") << bytes({0x06}) << 35;
    QTest::newRow("IR value set") << bytes({0x07, 0x00, 0x01, 0x42}) << 3;
    QTest::newRow("repeat value set") << bytes({0x07, 0x00, 0x02, 0x05}) << 3;
    QTest::newRow("follow-up") << bytes({0x08}) << 2;
    QTest::newRow("remote read") << bytes({0x09}) << 99;
    QTest::newRow("IR detection on") << bytes({0x09, 0x01, 0x01}) << 2;
    QTest::newRow("IR detection off") << bytes({0x09, 0x01, 0x00}) << 2;
    QTest::newRow("positioner chunk")
        << bytes({0x0A, 0x01, 0x00, 10, 20, 30, 40, 50, 60, 70, 80}) << 10;
    QTest::newRow("remote chunk") << bytes({0x0A, 0x02, 0x58, 1, 2, 3, 4, 5, 6, 7, 8}) << 10;
    QTest::newRow("bus power on") << bytes({0x0B, 0x00}) << 2;
    QTest::newRow("bus power off") << bytes({0x0B, 0x01}) << 2;
    QTest::newRow("test tone on") << bytes({0x0C, 0x01}) << 2;
    QTest::newRow("test tone off") << bytes({0x0C, 0x00}) << 2;
    QTest::newRow("analyse on") << bytes({0x0D, 0x01}) << 2;
    QTest::newRow("analyse off") << bytes({0x0D, 0x00}) << 2;
    QTest::newRow("reset") << bytes({0x0E}) << 2;
    QTest::newRow("IR value read") << bytes({0x11}) << 2;
    QTest::newRow("unknown 02") << bytes({0x02}) << 2;
    QTest::newRow("unknown FF") << bytes({0xFF, 0x01}) << 2;
}

void TestBoxSim::replyLength()
{
    QFETCH(QByteArray, request);
    QFETCH(int, length);

    QVERIFY(m_port->sendRequest(request));
    QCOMPARE(m_port->read(length).size(), length);
    QCOMPARE(m_port->probe(), QByteArray("OK"));
    const auto requests = m_box->requests();
    QCOMPARE(requests.size(), size_t(2));
    QCOMPARE(fromTable(requests[0], 0, 11), packet(request));
}

void TestBoxSim::hardwareInfoIsReadableText()
{
    QVERIFY(m_port->sendRequest(bytes({0x01})));
    const QByteArray info = m_port->read(90);
    QCOMPARE(info.size(), 90);
    QVERIFY(info.startsWith("Vantorel"));
    QVERIFY(info.endsWith("\r\n"));
    for (const char c : info.chopped(2))
        QVERIFY2(c >= 0x20 && c < 0x7F, info.constData());
}

void TestBoxSim::unknownOpcodeIsAnsweredWithQuestionMark()
{
    QVERIFY(m_port->sendRequest(bytes({0x02})));
    QCOMPARE(m_port->read(2), bytes({'?', 0x00}));
}

void TestBoxSim::irValueReadsBackWhatWasSet()
{
    QVERIFY(m_port->sendRequest(bytes({0x07, 0x00, 0x01, 0x5C})));
    QCOMPARE(m_port->read(3).size(), 3);
    QVERIFY(m_port->sendRequest(bytes({0x09, 0x01, 0x01})));
    QCOMPARE(m_port->read(2), QByteArray("OK"));
    QVERIFY(m_port->sendRequest(bytes({0x11})));
    QCOMPARE(m_port->read(2), bytes({0x5C, 0x01}));
}

void TestBoxSim::twoPacketsInOneWriteGetTwoReplies()
{
    QVERIFY(m_port->write(packet(bytes({0x06})) + packet(bytes({0x0D, 0x01}))));
    const QByteArray replies = m_port->read(35 + 2);
    QCOMPARE(replies.size(), 37);
    QCOMPARE(replies.mid(1, 32), fromTable(m_box->positionTable(), 0, 32));
    QCOMPARE(replies.right(2), QByteArray("OK"));
    QCOMPARE(m_box->requests().size(), size_t(2));
    QVERIFY(m_box->analyseMode());
}

void TestBoxSim::packetInTwoHalvesGetsOneReply()
{
    const QByteArray request = packet(bytes({0x06}));
    QVERIFY(m_port->write(request.left(5)));
    QTRY_COMPARE(m_box->pendingRequestBytes(), size_t(5));
    QVERIFY(m_box->requests().empty());
    QVERIFY(m_port->write(request.mid(5)));
    QCOMPARE(m_port->read(35).size(), 35);
    QCOMPARE(m_port->probe(), QByteArray("OK"));
    QCOMPARE(m_box->requests().size(), size_t(2));
    QCOMPARE(m_box->pendingRequestBytes(), size_t(0));
}

void TestBoxSim::positionChunkWriteShowsInNextRead_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("written"); // bytes of the chunk that fall inside the table

    QTest::newRow("first row") << 0x00 << 8;
    QTest::newRow("last row") << 0x18 << 8;
    QTest::newRow("over the end") << 0x1E << 3;
    QTest::newRow("outside") << 0x40 << 0;
}

void TestBoxSim::positionChunkWriteShowsInNextRead()
{
    QFETCH(int, offset);
    QFETCH(int, written);

    const QByteArray data = bytes({0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8});
    auto expected = m_box->positionTable();
    for (int i = 0; i < written; ++i)
        expected[offset + i] = static_cast<std::uint8_t>(data[i]);

    const auto remoteBefore = m_box->remoteTable();

    const QByteArray chunk = bytes({0x0A, 0x01, offset}) + data;
    QVERIFY(m_port->write(chunk));
    QCOMPARE(m_port->read(10), chunk.left(10));
    QCOMPARE(m_box->positionTable(), expected);
    QCOMPARE(m_box->remoteTable(), remoteBefore);

    QVERIFY(m_port->sendRequest(bytes({0x06})));
    const QByteArray reply = m_port->read(35);
    QCOMPARE(reply.size(), 35);
    QCOMPARE(reply.mid(1, 33), fromTable(expected, 0, 33));
}

void TestBoxSim::remoteChunkAndRepeatValueShowInNextRead()
{
    const QByteArray code = bytes({0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88});
    QVERIFY(m_port->write(bytes({0x0A, 0x02, 0x58}) + code));
    QCOMPARE(m_port->read(10).size(), 10);
    QVERIFY(m_port->sendRequest(bytes({0x07, 0x00, 0x02, 0x09})));
    QCOMPARE(m_port->read(3).size(), 3);

    QVERIFY(m_port->sendRequest(bytes({0x09})));
    const QByteArray reply = m_port->read(99);
    QCOMPARE(reply.size(), 99);
    QCOMPARE(reply.at(0), char(0x09));
    QCOMPARE(reply.mid(1 + 0x58, 8), code);
    QCOMPARE(reply.mid(1, 0x58), fromTable(m_box->remoteTable(), 0, 0x58));
    QCOMPARE(m_box->remoteTable()[96], std::uint8_t(0x09));
}

void TestBoxSim::tablesSetThroughTheLibraryAreServed()
{
    BoxSimulator::PositionTable positions{};
    positions.fill(0x5A);
    m_box->setPositionTable(positions);
    BoxSimulator::RemoteTable remote{};
    remote.fill(0xC3);
    remote[96] = 0x04;
    m_box->setRemoteTable(remote);

    QVERIFY(m_port->sendRequest(bytes({0x06})));
    QCOMPARE(m_port->read(35).mid(1, 32), QByteArray(32, char(0x5A)));
    QVERIFY(m_port->sendRequest(bytes({0x09})));
    const QByteArray reply = m_port->read(99);
    QCOMPARE(reply.left(97), bytes({0x04}) + QByteArray(96, char(0xC3)));
}

void TestBoxSim::tablesPersistInFiles()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    BoxSimulator::Options options;
    options.positionsFile = dir.filePath("box.pos").toStdString();
    options.remoteFile = dir.filePath("box.rem").toStdString();
    QVERIFY(startBox(options));

    QVERIFY(m_port->write(bytes({0x0A, 0x01, 0x08, 9, 8, 7, 6, 5, 4, 3, 2})));
    QCOMPARE(m_port->read(10).size(), 10);
    QVERIFY(m_port->sendRequest(bytes({0x07, 0x00, 0x02, 0x33})));
    QCOMPARE(m_port->read(3).size(), 3);

    const auto positions = m_box->positionTable();
    const auto remote = m_box->remoteTable();
    QFile positionsFile(dir.filePath("box.pos"));
    QVERIFY(positionsFile.open(QIODevice::ReadOnly));
    QCOMPARE(positionsFile.readAll(), fromTable(positions, 0, 33));
    QFile remoteFile(dir.filePath("box.rem"));
    QVERIFY(remoteFile.open(QIODevice::ReadOnly));
    QCOMPARE(remoteFile.readAll(), fromTable(remote, 0, 97));

    // A new box starts from the files.
    QVERIFY(startBox(options));
    QCOMPARE(m_box->positionTable(), positions);
    QCOMPARE(m_box->remoteTable(), remote);
    QCOMPARE(m_box->positionTable()[8], std::uint8_t(9));
}

void TestBoxSim::wrongSizedTableFileStopsStart()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile file(dir.filePath("short.pos"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(32, '\1'));
    file.close();

    BoxSimulator::Options options;
    options.positionsFile = file.fileName().toStdString();
    BoxSimulator box(options);
    std::string error;
    QVERIFY(!box.start(&error));
    QVERIFY(error.find("short.pos") != std::string::npos);
}

void TestBoxSim::faultChangesReplyLength_data()
{
    QTest::addColumn<BoxSimulator::Fault>("fault");
    QTest::addColumn<int>("length");

    QTest::newRow("silent") << BoxSimulator::Fault::Silent << 0;
    QTest::newRow("short") << BoxSimulator::Fault::Short << 34;
    QTest::newRow("long") << BoxSimulator::Fault::Long << 36;
}

void TestBoxSim::faultChangesReplyLength()
{
    QFETCH(BoxSimulator::Fault, fault);
    QFETCH(int, length);

    m_box->setFault(fault);
    QVERIFY(m_port->sendRequest(bytes({0x06})));
    QVERIFY(m_box->waitForRequests(1, ReplyTimeoutMs));
    QCOMPARE(m_port->read(length).size(), length);
    m_box->setFault(BoxSimulator::Fault::None);
    // Replies leave in request order, so the probe's answer comes right after the faulty one.
    QCOMPARE(m_port->probe(), QByteArray("OK"));
}

void TestBoxSim::lateFaultDelaysWholeReply()
{
    constexpr int delayMs = 300;
    m_box->setLateDelayMs(delayMs);
    m_box->setFault(BoxSimulator::Fault::Late);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(m_port->sendRequest(bytes({0x06})));
    QCOMPARE(m_port->read(35, delayMs + ReplyTimeoutMs).size(), 35);
    QVERIFY(clock.elapsed() >= delayMs);
}

void TestBoxSim::splitFaultSendsTwoParts()
{
    m_box->setSplitPauseMs(500);
    m_box->setFault(BoxSimulator::Fault::Split);
    QVERIFY(m_port->sendRequest(bytes({0x06})));
    const QByteArray first = m_port->readAvailable(ReplyTimeoutMs);
    QCOMPARE(first.size(), 35 / 2);
    QCOMPARE(first.size() + m_port->read(35 - first.size()).size(), 35);
    m_box->setFault(BoxSimulator::Fault::None);
    QCOMPARE(m_port->probe(), QByteArray("OK"));
}

void TestBoxSim::forcedLengthAppliesToNextReplyOnly()
{
    m_box->forceNextReplyLength(0x06, 36);
    QVERIFY(m_port->sendRequest(bytes({0x01})));
    QCOMPARE(m_port->read(90).size(), 90);
    QVERIFY(m_port->sendRequest(bytes({0x06})));
    QCOMPARE(m_port->read(36).size(), 36);
    QVERIFY(m_port->sendRequest(bytes({0x06})));
    QCOMPARE(m_port->read(35).size(), 35);
    QCOMPARE(m_port->probe(), QByteArray("OK"));
}

void TestBoxSim::replyHookReplacesReply()
{
    m_box->setReplyHook([](const BoxSimulator::Packet& request, BoxSimulator::Reply& reply) {
        if (request[0] == 0x11)
            reply.bytes = {'X', 'Y', 'Z'};
    });
    QVERIFY(m_port->sendRequest(bytes({0x11})));
    QCOMPARE(m_port->read(3), QByteArray("XYZ"));
    QCOMPARE(m_port->probe(), QByteArray("OK"));
}

void TestBoxSim::analyseModeStreamsBusTraffic()
{
    BoxSimulator::Options options;
    options.analyseStream = true;
    options.analyseIntervalMs = 50;
    QVERIFY(startBox(options));

    QVERIFY(m_port->sendRequest(bytes({0x03, 0x04, 0xE0, 0x31, 0x6B, 0x05})));
    QCOMPARE(m_port->read(2), QByteArray("OK"));
    QVERIFY(m_port->sendRequest(bytes({0x0D, 0x01})));
    QCOMPARE(m_port->read(2), QByteArray("OK"));
    QCOMPARE(m_port->readLine(), QByteArray("BUS E0 31 6B 05\r\n"));
    QCOMPARE(m_port->readLine(), QByteArray("BUS E0 31 6B 05\r\n"));

    // Lines already on their way may precede the reply; none follow it.
    QVERIFY(m_port->sendRequest(bytes({0x0D, 0x00})));
    QByteArray next = m_port->read(2);
    while (next.startsWith("BU")) {
        m_port->readLine();
        next = m_port->read(2);
    }
    QCOMPARE(next, QByteArray("OK"));
    QCOMPARE(m_port->probe(), QByteArray("OK"));
}

void TestBoxSim::slaveCanBeClosedAndReopened()
{
    m_port = std::make_unique<SlavePort>(m_box->slavePath());
    QVERIFY(m_port->isOpen());
    QVERIFY(m_port->sendRequest(bytes({0x06})));
    QCOMPARE(m_port->read(35).size(), 35);
    m_port.reset();
    m_port = std::make_unique<SlavePort>(m_box->slavePath());
    QVERIFY(m_port->sendRequest(bytes({0x0E})));
    QCOMPARE(m_port->read(2), QByteArray("OK"));
}

void TestBoxSim::stopEndsDelayedReply()
{
    m_box->setLateDelayMs(600000);
    m_box->setFault(BoxSimulator::Fault::Late);
    QVERIFY(m_port->sendRequest(bytes({0x06})));
    QVERIFY(m_box->waitForRequests(1, ReplyTimeoutMs));
    m_box->stop(); // would hang here if the delay could not be cut short
    QVERIFY(m_port->readAvailable(0).isEmpty());
}

// Stopped and started again, as a cable pulled and plugged in: a new terminal behind the
// same name, and the box still knows what it received.
void TestBoxSim::linkFollowsTheTerminalAcrossStopAndStart()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    BoxSimulator::Options options;
    options.linkPath = dir.filePath("box").toStdString();
    QVERIFY(startBox(options));
    const QString link = QString::fromStdString(options.linkPath);
    QCOMPARE(QFileInfo(link).symLinkTarget(), QString::fromStdString(m_box->slavePath()));
    QVERIFY(m_port->sendRequest(bytes({0x0E})));
    QCOMPARE(m_port->read(2), QByteArray("OK"));

    m_port.reset();
    m_box->stop();
    QVERIFY(!QFileInfo(link).isSymLink());

    QVERIFY(m_box->start());
    QCOMPARE(QFileInfo(link).symLinkTarget(), QString::fromStdString(m_box->slavePath()));
    SlavePort port(options.linkPath);
    QVERIFY(port.isOpen());
    QCOMPARE(port.probe(), QByteArray("OK"));
    QCOMPARE(m_box->requests().size(), size_t(2));
}

void TestBoxSim::resetForgetsWhatWasChanged()
{
    const BoxSimulator fresh;
    BoxSimulator::PositionTable positions{};
    positions.fill(0x5A);
    m_box->setPositionTable(positions);
    m_box->forceNextReplyLength(0x0E, 5);
    QVERIFY(m_port->write(bytes({0x0A, 0x02, 0x00, 1, 2, 3, 4, 5, 6, 7, 8})));
    QCOMPARE(m_port->read(10).size(), 10);
    // A reply still on its way must not reach the terminal of after the reset.
    m_box->setLateDelayMs(300);
    m_box->setFault(BoxSimulator::Fault::Late);
    QVERIFY(m_port->sendRequest(bytes({0x01})));
    QVERIFY(m_box->waitForRequests(2, ReplyTimeoutMs));
    QVERIFY(m_port->write(bytes({0x06, 0x00}))); // part of a packet

    QVERIFY(m_box->reset());
    m_port = std::make_unique<SlavePort>(m_box->slavePath());
    QVERIFY(m_port->readAvailable(600).isEmpty());
    QVERIFY(m_box->requests().empty());
    QCOMPARE(m_box->pendingRequestBytes(), size_t(0));
    QCOMPARE(m_box->positionTable(), fresh.positionTable());
    QCOMPARE(m_box->remoteTable(), fresh.remoteTable());
    QVERIFY(m_port->sendRequest(bytes({0x0E})));
    QCOMPARE(m_port->read(3, 500), QByteArray("OK"));
}

void TestBoxSim::sentBytesReachTheProgram()
{
    QVERIFY(m_box->send({'B', 'U', 'S', '\r', '\n'}));
    QCOMPARE(m_port->readLine(), QByteArray("BUS\r\n"));
    m_box->stop();
    QVERIFY(!m_box->send({'B'}));
}

void TestBoxSim::executableServesAndCleansUp()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString link = dir.filePath("box");
    QProcess tool;
    tool.start(BOXSIM_EXECUTABLE, {"--link", link, "--positions", dir.filePath("box.pos")});
    QVERIFY(tool.waitForStarted());
    QTRY_VERIFY(tool.canReadLine());
    const QString slave = QString::fromLocal8Bit(tool.readLine()).trimmed();
    QVERIFY(slave.startsWith("/dev/"));
    QCOMPARE(QFileInfo(link).symLinkTarget(), slave);

    {
        SlavePort port(link.toStdString());
        QVERIFY(port.isOpen());
        QVERIFY(port.write(bytes({0x0A, 0x01, 0x00, 1, 2, 3, 4, 5, 6, 7, 8})));
        QCOMPARE(port.read(10).size(), 10);
    }
    QFile positions(dir.filePath("box.pos"));
    QVERIFY(positions.open(QIODevice::ReadOnly));
    QCOMPARE(positions.readAll().left(8), bytes({1, 2, 3, 4, 5, 6, 7, 8}));

    tool.terminate();
    QVERIFY(tool.waitForFinished());
    QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
    QCOMPARE(tool.exitCode(), 0);
    QVERIFY(tool.readAllStandardError().contains("request: 0A 01 00 01 02 03 04 05 06 07 08"));
    QVERIFY(!QFileInfo::exists(link) && !QFileInfo(link).isSymLink());
}

void TestBoxSim::executableRejectsBadOptions_data()
{
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("two faults") << QStringList{"--silent", "--long"};
    QTest::newRow("late without delay") << QStringList{"--late"};
    QTest::newRow("late not a number") << QStringList{"--late", "soon"};
    QTest::newRow("unknown option") << QStringList{"--baud", "19200"};
    QTest::newRow("reply length without length") << QStringList{"--reply-length", "7E"};
    QTest::newRow("reply length, opcode above a byte") << QStringList{"--reply-length", "17E:10"};
}

void TestBoxSim::executableRejectsBadOptions()
{
    QFETCH(QStringList, arguments);

    QProcess tool;
    tool.start(BOXSIM_EXECUTABLE, arguments);
    QVERIFY(tool.waitForFinished());
    QCOMPARE(tool.exitCode(), 2);
    QVERIFY(tool.readAllStandardOutput().isEmpty());
}

QTEST_GUILESS_MAIN(TestBoxSim)
#include "tst_boxsim.moc"
