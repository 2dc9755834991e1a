// The "Installer" menu's dialogs against the simulated box: the figures they work out as the
// user types, what their buttons put on the port through the window's transaction, what they
// refuse, and the site remembered for the next start. Expected figures: Berlin (52.52N,
// 13.40E) to 19.2E is azimuth 172.7, elevation 29.7 and a motor angle of 6.388 degrees east,
// 102 sixteenths (tests/protocol/tst_dishpointing.cpp works them out); switch port 2 for a
// horizontal low-band transponder is 1111 0110, F6, and uncommitted port 5 is 1111 0100, F4.
#include "MainWindowFixture.h"

#include "ui/installer/PointDishDialog.h"
#include "ui/installer/SwitchesDialog.h"

#include <QApplication>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

namespace {

template <typename T>
T* in(QWidget* dialog, const char* name)
{
    T* found = dialog->findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no control named %s", name);
    return found;
}

QString shown(QWidget* dialog, const char* figure)
{
    return in<QLabel>(dialog, figure)->text();
}

QWidget* openPointTheDish(MainWindowFixture& f, const QString& site, const QString& satellite)
{
    f.trigger("PointtheDish1");
    QWidget* dialog = f.window->pointDishDialog();
    in<QLineEdit>(dialog, "site")->setText(site);
    QTest::keyClicks(in<QLineEdit>(dialog, "satellite"), satellite);
    return dialog;
}

} // namespace

class TestInstallerDialogs : public QObject {
    Q_OBJECT

private slots:
    void pointTheDishShowsTheFiguresAndGoesThere()
    {
        MainWindowFixture f;
        QWidget* dialog = openPointTheDish(f, QStringLiteral("52.52N,13.40E"), QStringLiteral("19.2E"));
        QVERIFY(dialog->isVisible());
        QVERIFY(shown(dialog, "azimuth").startsWith(QStringLiteral("172.7 ")));
        QVERIFY(shown(dialog, "elevation").startsWith(QStringLiteral("29.7 ")));
        QCOMPARE(shown(dialog, "motor"), QStringLiteral("6.38 degrees east"));
        QCOMPARE(shown(dialog, "message"), QStringLiteral("E0 31 6E E0 66"));

        // The port is not open yet: the transaction opens it, as the composer's send does.
        // The keyboard stays on the button, so that a second press sends again.
        QPushButton* goTo = in<QPushButton>(dialog, "goTo");
        goTo->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), goTo);
        QTest::keyClick(goTo, Qt::Key_Space);
        QCOMPARE(QApplication::focusWidget(), goTo);
        const QString sent = packet(QStringLiteral("03 05 E0 31 6E E0 66"));
        QCOMPARE(f.takeRequests(), QStringList{sent});
        const QStringList log = f.log();
        QVERIFY(log.contains(QStringLiteral("COM port opened")));
        QVERIFY(log.contains(sentLine(sent)));
        QCOMPARE(receivedLines(log).size(), 1);
    }

    // Berlin to 19.2E is 102 sixteenths east, 6.375 degrees; Madrid to 30W 473 sixteenths west,
    // 29.5625 degrees (tests/protocol/tst_dishpointing.cpp): a turn of 35.9375 degrees west.
    void goToCountsTheMoveDownAndHaltEndsIt()
    {
        MainWindowFixture f;
        QWidget* dialog = openPointTheDish(f, QStringLiteral("52.52N,13.40E"), QStringLiteral("19.2E"));
        auto* turning = in<QProgressBar>(dialog, "turning");
        QPushButton* stoppedNow = in<QPushButton>(dialog, "stoppedNow");
        QVERIFY(!stoppedNow->isEnabled());

        // The menu's "Drive Polar Motor to 0" sets the known angle too.
        f.trigger("DrivePolarMotorto01");
        QTest::mouseClick(in<QPushButton>(dialog, "goTo"), Qt::LeftButton);
        QVERIFY2(turning->format().startsWith(QStringLiteral("turning 6.4 degrees east: ")),
                 qPrintable(turning->format()));
        QVERIFY(turning->format().endsWith(QStringLiteral(" s left")));
        QVERIFY(stoppedNow->isEnabled());
        // Too short a turn to time the motor by: the speed stays.
        QTest::mouseClick(stoppedNow, Qt::LeftButton);
        QVERIFY(turning->format().startsWith(QStringLiteral("Timing the motor takes a turn of at least 10 degrees")));
        QCOMPARE(in<QDoubleSpinBox>(dialog, "motorSpeed")->value(), 1.5);

        // A second Go To starts from where the first was heading.
        QTest::mouseClick(in<QPushButton>(dialog, "goTo"), Qt::LeftButton);
        in<QLineEdit>(dialog, "site")->setText(QStringLiteral("40.42N,3.70W"));
        in<QLineEdit>(dialog, "satellite")->setText(QStringLiteral("30W"));
        QTest::mouseClick(in<QPushButton>(dialog, "goTo"), Qt::LeftButton);
        QVERIFY2(turning->format().startsWith(QStringLiteral("turning 35.9 degrees west: ")),
                 qPrintable(turning->format()));
        f.takeRequests();

        QPushButton* halt = in<QPushButton>(dialog, "halt");
        QVERIFY(halt->focusPolicy() & Qt::TabFocus);
        QTest::mouseClick(halt, Qt::LeftButton);
        QCOMPARE(f.takeRequests(), QStringList{packet(QStringLiteral("03 03 E0 31 60"))});
        QCOMPARE(turning->format(), QStringLiteral("Stopped: the dish's place is unknown"));
        QVERIFY(!stoppedNow->isEnabled());
        QVERIFY(QFile(f.dir.filePath(QStringLiteral("last-dish.ini"))).exists());
    }

    void theMotorSpeedIsRemembered()
    {
        MainWindowFixture f(false);
        QWidget* dialog = openPointTheDish(f, QStringLiteral("52.52N,13.40E"), QStringLiteral("19.2E"));
        in<QDoubleSpinBox>(dialog, "motorSpeed")->setValue(2.3);
        QTest::keyClick(dialog, Qt::Key_Escape);
        f.window = std::make_unique<TForm1>();
        f.trigger("PointtheDish1");
        QCOMPARE(in<QDoubleSpinBox>(f.window->pointDishDialog(), "motorSpeed")->value(), 2.3);
    }

    void aSatelliteBelowTheHorizonSendsNothingAndSaysWhy()
    {
        MainWindowFixture f;
        QWidget* dialog = openPointTheDish(f, QStringLiteral("33.87S,151.21E"), QStringLiteral("Astra 1"));
        QCOMPARE(in<QLabel>(dialog, "problem")->text(),
                 QStringLiteral("19.2E is below the horizon at 33.87S,151.21E"));
        QTest::mouseClick(in<QPushButton>(dialog, "goTo"), Qt::LeftButton);
        QCOMPARE(f.prompts.beeps, 1);
        QVERIFY(f.takeRequests().isEmpty());
        QVERIFY(f.log().isEmpty());
    }

    void sendSwitchPutsTheCascadeOnTheBus()
    {
        MainWindowFixture f;
        f.trigger("SwitchesandSingleCable1");
        QWidget* dialog = f.window->switchesDialog();
        QVERIFY(dialog->isVisible());
        QTest::keyClicks(in<QLineEdit>(dialog, "transponder"), QStringLiteral("11362H"));
        in<QSpinBox>(dialog, "port")->setValue(2);
        QCOMPARE(shown(dialog, "switchMessage"), QStringLiteral("E0 10 38 F6"));
        QTest::mouseClick(in<QPushButton>(dialog, "sendSwitch"), Qt::LeftButton);
        QCOMPARE(f.takeRequests(), QStringList{packet(QStringLiteral("03 04 E0 10 38 F6"))});

        in<QSpinBox>(dialog, "uncommitted")->setValue(5);
        QTest::mouseClick(in<QPushButton>(dialog, "sendSwitch"), Qt::LeftButton);
        QCOMPARE(f.takeRequests(), QStringList({packet(QStringLiteral("03 04 E0 10 39 F4")),
                                                packet(QStringLiteral("03 04 E0 10 38 F6"))}));
    }

    void theSiteTypedIsRememberedUnlessTheSettingsGiveOne()
    {
        MainWindowFixture f(false);
        QWidget* dialog = openPointTheDish(f, QStringLiteral("-33.87,151.21"), QStringLiteral("156E"));
        QTest::keyClick(dialog, Qt::Key_Escape);
        QVERIFY(!dialog->isVisible());
        f.window = std::make_unique<TForm1>();
        QCOMPARE(in<QLineEdit>(f.window->pointDishDialog(), "site")->text(), QStringLiteral("33.87S,151.21E"));

        MainWindowFixture withSite(false, QStringLiteral("\n[site]\nlatitude=52.52N\nlongitude=13.40E"));
        QFile::copy(f.dir.filePath(QStringLiteral("last-site.ini")), withSite.dir.filePath(QStringLiteral("last-site.ini")));
        withSite.window = std::make_unique<TForm1>();
        QCOMPARE(in<QLineEdit>(withSite.window->pointDishDialog(), "site")->text(), QStringLiteral("52.52N,13.40E"));
    }
};

QTEST_MAIN(TestInstallerDialogs)
#include "tst_installerdialogs.moc"
