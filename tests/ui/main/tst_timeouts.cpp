// Transactions that end on the 3-second reply time-out: short replies, a nested transaction,
// the port closed and the window closed while a transaction waits.
#include "MainWindowFixture.h"

#include "link/LinkState.h"
#include "link/ReceiveBuffer.h"
#include "link/TReadThread.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

namespace {

const std::string HardwareInfo(1, '\x01');
const std::string SoftwareReset(1, '\x0E');

} // namespace

class TestTimeouts : public QObject {
    Q_OBJECT

private slots:
    void shortReplyEndsInReceiveError()
    {
        MainWindowFixture f;
        f.box->setFault(TestBox::Fault::Short);
        f.activate();
        QElapsedTimer clock;
        clock.start();
        f.window->SendRequest(HardwareInfo, 90);
        QVERIFY(clock.elapsed() >= 3000);
        QCOMPARE(f.log().first(), QStringLiteral("Receive error!"));
        QCOMPARE(f.prompts.beeps, 1);
        QCOMPARE(f.statusPanel(1), QString());
        // What did arrive stays in the buffer.
        QCOMPARE(f.rxBuffer().count(), 89u);
    }

    void nestedTransactionLeavesTheOuterWaitWithItsCount()
    {
        MainWindowFixture f;
        // The box stays silent to the outer request and answers the inner one.
        f.box->forceNextReplyLength(0x01, 0);
        f.activate();
        bool innerDone = false;
        QTimer::singleShot(20, [&] {
            f.window->SendRequest(SoftwareReset, 2);
            innerDone = true;
        });
        f.window->SendRequest(HardwareInfo, 90);
        QVERIFY(innerDone);
        QCOMPARE(f.rxBuffer().count(), 2u);
        QCOMPARE(f.log().count(QStringLiteral("Receive error!")), 1);
        QCOMPARE(f.log().first(), QStringLiteral("Receive error!"));
        QCOMPARE(f.takeRequests(), QStringList({"01 00 00 00 00 00 00 00 00 00 00", "0E 00 00 00 00 00 00 00 00 00 00"}));
    }

    void closingThePortDuringTheWaitEndsInReceiveError()
    {
        MainWindowFixture f;
        f.box->setFault(TestBox::Fault::Late);
        f.box->setLateDelayMs(500);
        f.activate();
        QTimer::singleShot(100, [&] { f.trigger("Close1"); });
        f.window->SendRequest(HardwareInfo, 90);
        QVERIFY(f.log().contains(QStringLiteral("COM port closed")));
        QCOMPARE(f.log().first(), QStringLiteral("Receive error!"));
        QCOMPARE(f.prompts.beeps, 1);
    }

    void closingTheWindowDuringTheWaitEndsAfterTheWait()
    {
        MainWindowFixture f;
        f.box->setFault(TestBox::Fault::Silent);
        f.activate();
        QTimer::singleShot(100, [&] { f.window->close(); });
        f.window->SendRequest(HardwareInfo, 90);
        QVERIFY(f.link().AppTerminating);
        QVERIFY(!f.window->isVisible());
        QVERIFY(f.prompts.boxes.isEmpty());
        QTRY_VERIFY(f.session().ReadThread()->isFinished());
    }
};

QTEST_MAIN(TestTimeouts)
#include "tst_timeouts.moc"
