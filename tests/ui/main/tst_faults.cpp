// What a user's bench does to the program over a longer run: a box that answers at random,
// some replies short, late or missing, and a box that streams without pause.
#include "MainWindowFixture.h"

#include "link/ReceiveBuffer.h"
#include "ProcessGauges.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTest>

#include <string>

namespace {

const std::string HardwareInfo(1, '\x01');
constexpr std::uint8_t HardwareInfoLength = 90;

} // namespace

class TestFaults : public QObject {
    Q_OBJECT

private slots:
    // Seeded, so a failure can be replayed: about a third of the replies fail, each of those
    // waiting out the 3 s time-out.
    void randomRepliesEndInReceiveErrorExactlyWhenShortOrLate()
    {
        MainWindowFixture f;
        f.activate();
        // Qt's generator, not a std::mt19937 of the test's own: with a static Qt built by
        // MinGW the linker keeps one copy of that engine's code for both, and Qt's calls into
        // it are not made for the test's copy, which crashes Qt's temporary file names.
        QRandomGenerator random(20261207);
        const TestBox::Fault faults[] = {TestBox::Fault::None, TestBox::Fault::Long,
                                         TestBox::Fault::Split, TestBox::Fault::Short,
                                         TestBox::Fault::Late, TestBox::Fault::Silent};
        int expectedErrors = 0;
        for (int request = 0; request < 60; ++request) {
            const int pick = random.bounded(0, 9);
            const TestBox::Fault fault = faults[pick < 6 ? pick % 3 : pick - 3];
            f.box->setFault(fault);
            f.box->setSplitPauseMs(random.bounded(0, 2001));
            f.box->setLateDelayMs(random.bounded(3200, 3601));
            const bool fails = fault == TestBox::Fault::Short || fault == TestBox::Fault::Late
                || fault == TestBox::Fault::Silent;
            expectedErrors += fails;
            f.window->SendRequest(HardwareInfo, HardwareInfoLength);
            QCOMPARE(f.log().first() == QStringLiteral("Receive error!"), fails);
            if (fault == TestBox::Fault::Late) // the late reply lands before the next request
                QTRY_COMPARE(f.rxBuffer().count(), std::uint32_t(HardwareInfoLength));
        }
        QCOMPARE(static_cast<int>(f.log().count(QStringLiteral("Receive error!"))), expectedErrors);
        QCOMPARE(f.prompts.beeps, expectedErrors);
        QVERIFY(f.prompts.boxes.isEmpty());
    }

    void streamingBoxKeepsTransactionsAndMemoryBounded()
    {
        MainWindowFixture f(true, QStringLiteral("loglines=1000"));
        f.box->setAnalyseStream(true);
        f.box->setAnalyseIntervalMs(2); // a line of bus traffic every 2 ms
        f.activate();
        f.trigger("Analyse1"); // the box streams bus traffic from now on
        const auto runFor = [&f](int ms) {
            QElapsedTimer clock;
            clock.start();
            while (clock.elapsed() < ms)
                f.window->SendRequest(HardwareInfo, HardwareInfoLength);
        };
        runFor(2000);
        const long warmedUp = residentKilobytes();
        runFor(6000);
        [[maybe_unused]] const long grownKilobytes = residentKilobytes() - warmedUp;
        QVERIFY(f.log().size() <= 1001);
#ifndef __SANITIZE_ADDRESS__ // AddressSanitizer holds freed memory back in its quarantine
        QVERIFY2(grownKilobytes < 4096, qPrintable(QStringLiteral("grew by %1 kB").arg(grownKilobytes)));
#endif
    }
};

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"
