// The control channel of the simulated box: each request line calls the box as an in-process
// test would, and the executable serves the lines on a terminal of their own.
#include "BoxSimulator.h"
#include "ControlProtocol.h"
#include "SlavePort.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

std::string answer(BoxSimulator& box, const char* line)
{
    return answerControlLine(box, line);
}

// "0A0B..." of a table, as the channel writes bytes.
template <typename Table>
std::string hexOfTable(const Table& table)
{
    return QByteArray(reinterpret_cast<const char*>(table.data()), int(table.size())).toHex().toUpper().toStdString();
}

} // namespace

class TestBoxControl : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void tablesTravelAsHexDigits();
    void requestsAreListedOldestFirstAndCleared();
    void settingsShapeTheNextReplies();
    void sentBytesReachTheProgram();
    void unplugTakesTheLinkAwayAndPlugInBringsItBack();
    void resetAnswersLikeAFreshBox();
    void malformedLinesAreRefused_data();
    void malformedLinesAreRefused();
    void executableServesTheChannelBesideThePort();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<BoxSimulator> m_box;
    std::unique_ptr<SlavePort> m_port;
};

void TestBoxControl::init()
{
    BoxSimulator::Options options;
    options.linkPath = m_dir.filePath("box").toStdString();
    m_box = std::make_unique<BoxSimulator>(options);
    QVERIFY(m_box->start());
    m_port = std::make_unique<SlavePort>(options.linkPath);
    QVERIFY(m_port->isOpen());
}

void TestBoxControl::cleanup()
{
    m_port.reset();
    m_box.reset();
}

void TestBoxControl::tablesTravelAsHexDigits()
{
    BoxSimulator::PositionTable positions{};
    for (std::size_t i = 0; i < positions.size(); ++i)
        positions[i] = std::uint8_t(0xF0 - i);
    BoxSimulator::RemoteTable remote{};
    remote.fill(0xC3);

    QCOMPARE(answer(*m_box, ("set-positions " + hexOfTable(positions)).c_str()), std::string("ok"));
    QCOMPARE(answer(*m_box, ("set-remote " + hexOfTable(remote)).c_str()), std::string("ok"));

    QCOMPARE(m_box->positionTable(), positions);
    QCOMPARE(m_box->remoteTable(), remote);
    QCOMPARE(answer(*m_box, "positions"), "ok " + hexOfTable(positions));
    QCOMPARE(answer(*m_box, "remote"), "ok " + hexOfTable(remote));
}

void TestBoxControl::requestsAreListedOldestFirstAndCleared()
{
    QCOMPARE(answer(*m_box, "requests"), std::string("ok"));
    QVERIFY(m_port->sendRequest(bytes({0x0C, 0x01})));
    QVERIFY(m_port->sendRequest(bytes({0x0E})));
    QCOMPARE(m_port->read(4), QByteArray("OKOK"));
    QVERIFY(m_port->write(bytes({0x06, 0x00, 0x00})));
    QTRY_COMPARE(answer(*m_box, "pending-bytes"), std::string("ok 3"));

    QCOMPARE(answer(*m_box, "requests"), "ok 0C01" + std::string(18, '0') + " 0E" + std::string(20, '0'));
    // Two requests, one gap between their arrivals, in whole milliseconds.
    QVERIFY(QRegularExpression(QStringLiteral("^ok \\d+$"))
                .match(QString::fromStdString(answer(*m_box, "arrival-gaps")))
                .hasMatch());
    QCOMPARE(answer(*m_box, "clear-requests"), std::string("ok"));
    QCOMPARE(answer(*m_box, "requests"), std::string("ok"));
    QCOMPARE(answer(*m_box, "arrival-gaps"), std::string("ok"));
}

void TestBoxControl::settingsShapeTheNextReplies()
{
    QCOMPARE(answer(*m_box, "force-length 06 36"), std::string("ok"));
    QVERIFY(m_port->sendRequest(bytes({0x06})));
    QCOMPARE(m_port->read(36).size(), 36);

    QCOMPARE(answer(*m_box, "fault short"), std::string("ok"));
    QVERIFY(m_port->sendRequest(bytes({0x06})));
    QCOMPARE(m_port->read(35, 500).size(), 34);

    QCOMPARE(answer(*m_box, "late-delay 300"), std::string("ok"));
    QCOMPARE(answer(*m_box, "fault late"), std::string("ok"));
    QElapsedTimer clock;
    clock.start();
    QVERIFY(m_port->sendRequest(bytes({0x0E})));
    QCOMPARE(m_port->read(2), QByteArray("OK"));
    QVERIFY(clock.elapsed() >= 300);

    QCOMPARE(answer(*m_box, "split-pause 10"), std::string("ok"));
    QCOMPARE(answer(*m_box, "fault none"), std::string("ok"));
    QCOMPARE(m_port->probe(), QByteArray("OK"));
}

void TestBoxControl::sentBytesReachTheProgram()
{
    QCOMPARE(answer(*m_box, "send 4F4B0D0A"), std::string("ok"));
    QCOMPARE(m_port->readLine(), QByteArray("OK\r\n"));
}

void TestBoxControl::unplugTakesTheLinkAwayAndPlugInBringsItBack()
{
    const QString link = m_dir.filePath("box");
    m_port.reset();
    QCOMPARE(answer(*m_box, "unplug"), std::string("ok"));
    QVERIFY(!QFileInfo(link).isSymLink());
    QCOMPARE(answer(*m_box, "send 00").rfind("error ", 0), size_t(0));

    QCOMPARE(answer(*m_box, "plug-in"), std::string("ok"));
    SlavePort port(link.toStdString());
    QVERIFY(port.isOpen());
    QCOMPARE(port.probe(), QByteArray("OK"));
}

void TestBoxControl::resetAnswersLikeAFreshBox()
{
    const BoxSimulator fresh;
    QCOMPARE(answer(*m_box, "fault silent"), std::string("ok"));
    QCOMPARE(answer(*m_box, ("set-positions " + std::string(66, 'A')).c_str()), std::string("ok"));
    m_port.reset();

    QCOMPARE(answer(*m_box, "reset"), std::string("ok"));

    SlavePort port(m_dir.filePath("box").toStdString());
    QCOMPARE(port.probe(), QByteArray("OK"));
    QCOMPARE(m_box->positionTable(), fresh.positionTable());
}

void TestBoxControl::malformedLinesAreRefused_data()
{
    QTest::addColumn<QString>("line");
    QTest::newRow("empty") << "";
    QTest::newRow("unknown word") << "wiggle";
    QTest::newRow("value missing") << "fault";
    QTest::newRow("value too many") << "reset now";
    QTest::newRow("unknown fault") << "fault sometimes";
    QTest::newRow("negative delay") << "late-delay -1";
    QTest::newRow("delay beyond an int") << "late-delay 4294967296";
    QTest::newRow("table too short") << "set-positions 00";
    QTest::newRow("odd number of digits") << "send 4F4";
    QTest::newRow("not a digit") << "send 4G";
    QTest::newRow("opcode of two bytes") << "force-length 0606 36";
    QTest::newRow("analyse stream neither 1 nor 0") << "analyse-stream 2";
    QTest::newRow("two blanks") << "fault  short";
}

void TestBoxControl::malformedLinesAreRefused()
{
    QFETCH(QString, line);
    const BoxSimulator fresh;
    const std::string reply = answerControlLine(*m_box, line.toStdString());
    QVERIFY2(reply.rfind("error ", 0) == 0, reply.c_str());
    QCOMPARE(m_box->positionTable(), fresh.positionTable());
    QCOMPARE(m_port->probe(), QByteArray("OK"));
}

void TestBoxControl::executableServesTheChannelBesideThePort()
{
    const QString link = m_dir.filePath("tool-box");
    const QString controlLink = m_dir.filePath("tool-control");
    QProcess tool;
    tool.start(BOXSIM_EXECUTABLE, {"--link", link, "--control-link", controlLink});
    QVERIFY(tool.waitForStarted());
    QTRY_VERIFY(tool.canReadLine());
    const QString slave = QString::fromLocal8Bit(tool.readLine()).trimmed();
    QTRY_VERIFY(tool.canReadLine());
    const QString controlSlave = QString::fromLocal8Bit(tool.readLine()).trimmed();
    QCOMPARE(QFileInfo(link).symLinkTarget(), slave);
    QCOMPARE(QFileInfo(controlLink).symLinkTarget(), controlSlave);

    {
        SlavePort control(controlLink.toStdString());
        QVERIFY(control.write("set-positions " + QByteArray(66, '7') + "\nfault long\n"));
        QCOMPARE(control.read(6), QByteArray("ok\nok\n"));
        SlavePort port(link.toStdString());
        QVERIFY(port.sendRequest(bytes({0x06})));
        QCOMPARE(port.read(36), bytes({0x06}) + QByteArray(33, 0x77) + QByteArray(2, '\0'));
    }

    tool.terminate();
    QVERIFY(tool.waitForFinished());
    QCOMPARE(tool.exitCode(), 0);
    QVERIFY(!QFileInfo(link).isSymLink());
    QVERIFY(!QFileInfo(controlLink).isSymLink());
}

QTEST_GUILESS_MAIN(TestBoxControl)
#include "tst_boxcontrol.moc"
