// The serial port of the main window against the simulated box, which also plays a line that
// talks unasked and a device that goes away: opening, closing, the receive thread's log lines
// and the request/reply transaction.
#include "MainWindowFixture.h"

#include "app/SettingsFile.h"
#include "link/LinkState.h"
#include "link/PortSetup.h"
#include "link/ReceiveBuffer.h"
#include "link/TReadThread.h"
#include "ProcessGauges.h"

#include <QTest>
#include <QTimer>

#include <chrono>
#include <thread>

namespace {

int countOf(const QStringList& lines, const QString& text)
{
    return static_cast<int>(lines.count(text));
}

} // namespace

class TestPort : public QObject {
    Q_OBJECT

private slots:
    void firstActivationOpensOnce()
    {
        MainWindowFixture f;
        f.activate();
        QCOMPARE(f.log(), QStringList({"COM port opened"}));
        QVERIFY(f.session().PortOpen());
        QVERIFY(f.link().ComHandle.handle() > 0);
        f.window->hide();
        f.activate();
        QCOMPARE(countOf(f.log(), "COM port opened"), 1);
    }

    void reopenAndClose()
    {
        MainWindowFixture f;
        f.activate();
        f.trigger("Open1");
        QCOMPARE(f.log(), QStringList({"COM port opened", "COM port opened"}));
        f.trigger("Close1");
        QCOMPARE(f.log().first(), QStringLiteral("COM port closed"));
        QVERIFY(!f.session().PortOpen());
        QCOMPARE(f.link().ComHandle.handle(), serial::NoHandle);
        QVERIFY(f.session().ReadThread()->isFinished());
        f.trigger("Close1");
        QCOMPARE(countOf(f.log(), "COM port closed"), 2);

        // The port opens again after its close, also for a normal user (tests/support/as-nobody.sh).
        f.trigger("Open1");
        QVERIFY(f.session().PortOpen());
        f.window->SendRequest(std::string(1, '\x01'), 90);
        QVERIFY(f.log().first().startsWith(QStringLiteral("R: ")));
        QVERIFY(f.prompts.boxes.isEmpty());
    }

    void onlyComPortNamesAreUpperCased_data()
    {
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("used");
        QTest::newRow("COMn") << "com3" << "COM3";
#ifdef _WIN32
        // Windows' device names know no case: every name is upper-cased.
        QTest::newRow("COM0 is a device name") << "com0" << "COM0";
        QTest::newRow("device name") << "ttyUSB0" << "TTYUSB0";
#else
        QTest::newRow("COM0 is a device name") << "com0" << "com0";
        QTest::newRow("device name") << "ttyUSB0" << "ttyUSB0";
#endif
    }
    void onlyComPortNamesAreUpperCased()
    {
        QFETCH(QString, written);
        QFETCH(QString, used);
        MainWindowFixture f(false, QStringLiteral("port=") + written);
        QCOMPARE(QString::fromStdString(readProgramSettings(settingsFilePath()).port), used);
    }

    // "Open COM port" chosen during the stop pause of "Close COM port": the close then ends
    // the reader of the port it closes, not only the one it stopped before the pause.
    void openDuringClosePauseLeavesNoReaderOnAClosedHandle()
    {
        MainWindowFixture f;
        f.activate();
        QTimer::singleShot(100, f.window.get(), [&f] { f.trigger("Open1"); });
        f.trigger("Close1");
        QCOMPARE(f.log().mid(0, 3), QStringList({"COM port closed", "COM port opened", "COM port opened"}));
        QCOMPARE(f.link().ComHandle.handle(), serial::NoHandle);
        QVERIFY(f.session().ReadThread()->isFinished());
    }

    // Each cycle waits out the stop pause; whatever a cycle takes, it gives back.
    void openCloseCyclesLeakNoDescriptorOrThread()
    {
        MainWindowFixture f;
        f.activate();
        f.trigger("Close1");
        const int handles = openHandleCount();
        const int threads = threadCount();
        for (int cycle = 0; cycle < 30; ++cycle) {
            f.trigger("Open1");
            f.trigger("Close1");
        }
        QCOMPARE(openHandleCount(), handles);
        QCOMPARE(threadCount(), threads);
        QCOMPARE(countOf(f.log(), "COM port opened"), 31);
    }

    void closeWithoutPortOnlyLogs()
    {
        MainWindowFixture f(false);
        f.link().OpenOnActivate = false;
        f.trigger("Close1");
        QCOMPARE(f.log(), QStringList({"COM port closed"}));
        QVERIFY(f.prompts.boxes.isEmpty());
    }

    void missingDeviceIsReported()
    {
        MainWindowFixture f(false, QStringLiteral("port=/dev/vantorel-no-such-port"));
        f.activate();
        QCOMPARE(f.prompts.errorTexts(), QStringList({"CreateFile INVALID_HANDLE_VALUE"}));
        QVERIFY(!f.session().PortOpen());
        QCOMPARE(f.link().ComHandle.handle(), serial::InvalidHandle);
        QVERIFY(!f.session().ReadThread());
        QVERIFY(f.log().isEmpty());

        // A request tries the open again, then the write fails: no wait, no "Receive error!".
        f.prompts.clear();
        f.window->SendRequest(std::string(1, '\x01'), 90);
        QCOMPARE(f.prompts.errorTexts().size(), 2);
        QCOMPARE(f.prompts.errorTexts().first(), QStringLiteral("CreateFile INVALID_HANDLE_VALUE"));
        QVERIFY(!f.prompts.errorTexts().last().isEmpty());
        QCOMPARE(f.prompts.beeps, 0);
        QVERIFY(f.log().first().startsWith(QStringLiteral("S: 0x01 0x00")));
        QCOMPARE(f.statusPanel(1), QString());

        // Closing the invalid handle counts as success and clears the failed state.
        f.trigger("Close1");
        QCOMPARE(f.link().ComHandle.handle(), serial::NoHandle);
    }

    void failedReopenKeepsPortMarkedOpen()
    {
        MainWindowFixture f;
        f.activate();
        QVERIFY(f.session().PortOpen());
        f.box->unplug(); // the device disappears
        f.trigger("Open1");
        QCOMPARE(f.prompts.errorTexts(), QStringList({"CreateFile INVALID_HANDLE_VALUE"}));
        QVERIFY(f.session().PortOpen());
        QVERIFY(f.session().ReadThread()->isFinished());
    }

    void earlyInputIsFlushedAndLaterInputLogged()
    {
        MainWindowFixture f;
        QVERIFY(f.box->send(std::string("\x01\x02\x03", 3)));
        f.activate();
        QVERIFY(f.box->send("OK\r\n"));
        QTRY_COMPARE(receivedLines(f.log()), QStringList({"R: 4F 4B <CR> <LF>"}));
        QCOMPARE(f.rxBuffer().count(), 4u);
    }

    void chunksFollowTheDisplayMode_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<bool>("showCRLF");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("line");
        QTest::newRow("hex") << "ShowHEX1" << true << QByteArray("OK\r\n") << "R: 4F 4B <CR> <LF>";
        QTest::newRow("hex raw") << "ShowHEX1" << false << QByteArray("OK\r\n") << "R: 4F 4B 0D 0A";
        QTest::newRow("binary") << "ShowBINARY1" << true << QByteArray("OK\r\n") << "R: 01001111 01001011 <CR> <LF>";
        QTest::newRow("binary raw") << "ShowBINARY1" << false << QByteArray("O\r") << "R: 01001111 00001101";
        QTest::newRow("ascii") << "ShowASCII1" << true << QByteArray("OK\r\n") << "R: OK<CR><LF>";
        QTest::newRow("ascii raw") << "ShowASCII1" << false << QByteArray("OK\r\n") << "R: OK<CR><LF>";
        QTest::newRow("ascii specials") << "ShowASCII1" << true << QByteArray("\x00 \x7f\xff", 4) << "R: 0x00 0x7F0xFF";
        QTest::newRow("ascii blanks") << "ShowASCII1" << true << QByteArray("   ") << "R:";
    }
    void chunksFollowTheDisplayMode()
    {
        QFETCH(QString, item);
        QFETCH(bool, showCRLF);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, line);
        MainWindowFixture f;
        f.activate();
        f.trigger(item.toLatin1().constData());
        if (!showCRLF)
            f.trigger("ShowCRLF1");
        QVERIFY(f.box->send(bytes.toStdString()));
        QTRY_COMPARE(receivedLines(f.log()), QStringList({line}));
    }

    void fullBufferStartsOver()
    {
        MainWindowFixture f;
        f.activate();
        QVERIFY(f.box->send(std::string(6000, 'a')));
        QTRY_COMPARE(f.rxBuffer().count(), 6000u);
        QTest::qWait(150); // let the read end on the line's silence
        QVERIFY(f.box->send(std::string(4000, 'b')));
        QTRY_COMPARE(f.rxBuffer().count(), 10000u);
        QTest::qWait(150);
        QVERIFY(f.box->send("c"));
        QTRY_COMPARE(receivedLines(f.log()).size(), 4);
        QCOMPARE(receivedLines(f.log()).at(1), QStringLiteral("R: Buffer full"));
        QCOMPARE(f.rxBuffer().count(), 1u);
        std::uint8_t first = 0;
        f.rxBuffer().copyOut(0, &first, 1);
        QCOMPARE(first, std::uint8_t('c'));
    }

    void transactionPadsLogsAndWaitsForTheReply()
    {
        MainWindowFixture f;
        f.activate();
        QString panelDuringWait;
        QTimer::singleShot(50, [&] { panelDuringWait = f.statusPanel(1); });
        f.window->SendRequest(std::string("\x03\x03\xE0\x00\x00", 5), 2);
        QCOMPARE(panelDuringWait, QStringLiteral("Sending data..."));
        QCOMPARE(f.statusPanel(1), QString());
        QCOMPARE(f.takeRequests(), QStringList({"03 03 E0 00 00 00 00 00 00 00 00"}));
        QVERIFY(f.log().contains(QStringLiteral("S: 0x03 0x03 0xE0 0x00 0x00 0x00 0x00 0x00 0x00 0x00 0x00")));
        QVERIFY(!f.log().contains(QStringLiteral("Receive error!")));
        QCOMPARE(f.prompts.beeps, 0);
        QCOMPARE(f.rxBuffer().count(), 2u);
    }

    void elevenByteRequestIsNotPadded()
    {
        MainWindowFixture f;
        f.activate();
        f.window->SendRequest(std::string("\x0A\x01\x00\x0A\x14\x1E\x28\x32\x3C\x46\x50", 11), 10);
        QCOMPARE(f.takeRequests(), QStringList({"0A 01 00 0A 14 1E 28 32 3C 46 50"}));
        QVERIFY(f.log().contains(QStringLiteral("S: 0x0A 0x01 0x00 0x0A 0x14 0x1E 0x28 0x32 0x3C 0x46 0x50")));
    }

    void longReplyEndsTheWaitWithoutError()
    {
        MainWindowFixture f;
        f.box->setFault(TestBox::Fault::Long);
        f.activate();
        f.window->SendRequest(std::string(1, '\x0E'), 2);
        QVERIFY(!f.log().contains(QStringLiteral("Receive error!")));
        QTRY_COMPARE(f.rxBuffer().count(), 3u);
    }

    void vanishedDeviceDoesNotSpin()
    {
        MainWindowFixture f;
        f.activate();
        f.box->unplug();
        QTest::qWait(100);
        const double before = processCpuSeconds();
        std::this_thread::sleep_for(std::chrono::seconds(1));
        const double used = processCpuSeconds() - before;
        QVERIFY2(used < 0.25, qPrintable(QStringLiteral("reader used %1 s of CPU in 1 s").arg(used)));
        f.trigger("Close1");
        QVERIFY(f.session().ReadThread()->isFinished());
    }

    void readerBlockedInHandOffStopsAtOnce()
    {
        MainWindowFixture f;
        f.activate();
        QVERIFY(f.box->send("late"));
        // The GUI thread does not process events, so the reader waits in its hand-off.
        for (int i = 0; i < 100 && f.rxBuffer().count() == 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        QCOMPARE(f.rxBuffer().count(), 4u);
        f.trigger("Close1"); // the reader stops before the stop pause runs the window's events
        QVERIFY(f.session().ReadThread()->isFinished());
        QVERIFY(receivedLines(f.log()).isEmpty());
    }

    void closingWindowEndsTheReader()
    {
        MainWindowFixture f;
        f.activate();
        f.window->close();
        QVERIFY(f.link().AppTerminating);
        QTRY_VERIFY(f.session().ReadThread()->isFinished());
    }
};

QTEST_MAIN(TestPort)
#include "tst_port.moc"
