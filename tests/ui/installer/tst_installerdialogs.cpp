// The "Installer" menu's dialogs against the simulated box: the figures they work out as the
// user types, what their buttons put on the port through the window's transaction, what they
// refuse, and the site remembered for the next start. Expected figures: Berlin (52.52N,
// 13.40E) to 19.2E is azimuth 172.7, elevation 29.7 and a motor angle of 6.388 degrees east,
// 102 sixteenths, the motor's scale at 52.5 (tests/protocol/tst_dishpointing.cpp works them
// out), and the compass 167.5 on 2026-12-09 (5.2 degrees east by NOAA's model); switch port 2 for a
// horizontal low-band transponder is 1111 0110, F6, and uncommitted port 5 is 1111 0100, F4.
// Single cable (EN 50494): 11362H is IF 1612; with user band 3 at 1210 MHz, T = round(2822 / 4)
// - 350 = 356 = 01 0110 0100, and D1 = 010 (band 3) 1 (B) 1 (horizontal) 0 (low) 01 = 59; the
// transponder lands on 706 * 4 - 1612 = 1212 MHz. Tones are E0 10 5B 00 00; band 3's release
// E0 10 5A 40 00 (D1 = 010 00000).
#include "MainWindowFixture.h"

#include "ui/installer/PointDishDialog.h"
#include "ui/installer/SwitchesDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

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

QWidget* openSwitches(MainWindowFixture& f, const QString& transponder)
{
    f.trigger("SwitchesandSingleCable1");
    QWidget* dialog = f.window->switchesDialog();
    QTest::keyClicks(in<QLineEdit>(dialog, "transponder"), transponder);
    return dialog;
}

void press(QWidget* dialog, const char* button)
{
    QTest::mouseClick(in<QPushButton>(dialog, button), Qt::LeftButton);
}

// A press the dialog refuses (what it would send does not make sense): one beep, nothing sent.
void pressRefused(MainWindowFixture& f, QWidget* dialog, const char* button)
{
    press(dialog, button);
    QCOMPARE(f.prompts.beeps, 1);
    QVERIFY(f.takeRequests().isEmpty());
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
        QVERIFY(shown(dialog, "elevationScale").startsWith(QStringLiteral("52.5 degrees on the motor's elevation scale")));
        // Without a date, today's.
        QVERIFY(shown(dialog, "compass").contains(QDate::currentDate().toString(Qt::ISODate)));
        QTest::keyClicks(in<QLineEdit>(dialog, "date"), QStringLiteral("2026-12-09"));
        QCOMPARE(shown(dialog, "compass"), QStringLiteral("167.5 degrees (declination 5.2 degrees east, 2026-12-09)"));
        QWidget* sky = in<QWidget>(dialog, "sky");
        QCOMPARE(sky->accessibleName(), QStringLiteral("Sky"));
        QVERIFY(sky->accessibleDescription().startsWith(QStringLiteral("19.2E at azimuth 172.7, elevation 29.7; ")));

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
        pressRefused(f, dialog, "goTo");
        QVERIFY(f.log().isEmpty());
    }

    void aDateTheCalendarLacksLeavesOnlyTheCompassWithoutAFigure()
    {
        MainWindowFixture f;
        QWidget* dialog = openPointTheDish(f, QStringLiteral("52.52N,13.40E"), QStringLiteral("19.2E"));
        QTest::keyClicks(in<QLineEdit>(dialog, "date"), QStringLiteral("2026-02-30"));
        QVERIFY(in<QLabel>(dialog, "problem")->text().startsWith(QStringLiteral("'2026-02-30' is not a day of the calendar")));
        QCOMPARE(shown(dialog, "compass"), QString());
        QCOMPARE(shown(dialog, "message"), QStringLiteral("E0 31 6E E0 66"));
    }

    void tabWalksPointTheDishAsItIsSeen()
    {
        MainWindowFixture f;
        QWidget* dialog = openPointTheDish(f, QStringLiteral("52.52N,13.40E"), QStringLiteral("19.2E"));
        QLineEdit* site = in<QLineEdit>(dialog, "site");
        site->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), site);
        QStringList order;
        for (int i = 0; i < 18; ++i) {
            order << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(order, QStringList({"site", "satellite", "date", "position", "azimuth", "compass", "elevation",
                                     "lnbSkew", "motor", "elevationScale", "dishDeclination", "centreElevation",
                                     "message", "motorSpeed", "goTo", "halt", "sky", "close"}));
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

    void singleCableSendsTheChannelChangeTheTonesAndTheRelease()
    {
        MainWindowFixture f;
        QWidget* dialog = openSwitches(f, QStringLiteral("11362H"));
        in<QSpinBox>(dialog, "userBand")->setValue(3);
        in<QComboBox>(dialog, "position")->setCurrentIndex(1);
        QCOMPARE(in<QComboBox>(dialog, "position")->currentText(), QStringLiteral("B"));
        QCOMPARE(shown(dialog, "channelMessage"), QStringLiteral("E0 10 5A 59 64"));
        QCOMPARE(shown(dialog, "tuneTo"), QStringLiteral("1212 MHz"));
        press(dialog, "sendChannelChange");
        press(dialog, "tones");
        press(dialog, "releaseBand");
        QCOMPARE(f.takeRequests(), QStringList({packet(QStringLiteral("03 05 E0 10 5A 59 64")),
                                                packet(QStringLiteral("03 05 E0 10 5B 00 00")),
                                                packet(QStringLiteral("03 05 E0 10 5A 40 00"))}));

        // EN 50607 has 32 user bands and no tones: said, and nothing sent.
        in<QComboBox>(dialog, "standard")->setCurrentIndex(1);
        QCOMPARE(in<QSpinBox>(dialog, "userBand")->maximum(), 32);
        QVERIFY(shown(dialog, "tonesMessage").contains(QStringLiteral("EN 50607 has no")));
        pressRefused(f, dialog, "tones");
    }

    // A custom LNB of 9750/10600 MHz switching at 12000: 11900V stays in the low band (IF 2150),
    // port 1 vertical low is 1111 0000, F0, where the universal LNB would take the high band.
    void aCustomLnbAndTheCascadesOrder()
    {
        MainWindowFixture f;
        QWidget* dialog = openSwitches(f, QStringLiteral("11900V"));
        in<QComboBox>(dialog, "lnb")->setCurrentIndex(2);
        in<QSpinBox>(dialog, "switchFrequency")->setValue(12000);
        in<QSpinBox>(dialog, "uncommitted")->setValue(5);
        in<QComboBox>(dialog, "order")->setCurrentIndex(1);
        QCOMPARE(shown(dialog, "switchMessage"), QStringLiteral("E0 10 38 F0, then E0 10 39 F4"));
        press(dialog, "sendSwitch");
        QCOMPARE(f.takeRequests(), QStringList({packet(QStringLiteral("03 04 E0 10 38 F0")),
                                                packet(QStringLiteral("03 04 E0 10 39 F4"))}));

        // The committed message first with no uncommitted one, and a low oscillator above the
        // high one: each said, and nothing sent.
        in<QSpinBox>(dialog, "uncommitted")->setValue(0);
        QVERIFY(shown(dialog, "switchMessage").contains(QStringLiteral("needs an uncommitted port")));
        in<QComboBox>(dialog, "order")->setCurrentIndex(0);
        in<QSpinBox>(dialog, "lowOscillator")->setValue(10700);
        QVERIFY(shown(dialog, "switchMessage").contains(QStringLiteral("low oscillator (10700 MHz)")));
        pressRefused(f, dialog, "sendSwitch");
    }

    // The keypad's Enter ends the typing as Return does: neither is an order to send.
    void enterInAnEditSendsNothing()
    {
        MainWindowFixture f;
        QWidget* pointDish = openPointTheDish(f, QStringLiteral("52.52N,13.40E"), QStringLiteral("19.2E"));
        QWidget* switches = openSwitches(f, QStringLiteral("11362H"));
        for (QWidget* edit : {static_cast<QWidget*>(in<QLineEdit>(pointDish, "satellite")),
                              static_cast<QWidget*>(in<QLineEdit>(switches, "transponder"))}) {
            QTest::keyClick(edit, Qt::Key_Enter, Qt::KeypadModifier);
            QTest::keyClick(edit, Qt::Key_Return);
        }
        QVERIFY(f.takeRequests().isEmpty());
    }

    // While Go To waits for a reply that does not come, Send Switch starts no second
    // transaction: it beeps and says so.
    void aSendWhileTheWindowWaitsIsRefused()
    {
        MainWindowFixture f;
        QWidget* pointDish = openPointTheDish(f, QStringLiteral("52.52N,13.40E"), QStringLiteral("19.2E"));
        QWidget* switches = openSwitches(f, QStringLiteral("11362H"));
        f.box->setFault(TestBox::Fault::Silent);
        QTimer::singleShot(0, switches, [switches] { press(switches, "sendSwitch"); });
        press(pointDish, "goTo");
        QCOMPARE(f.takeRequests(), QStringList{packet(QStringLiteral("03 05 E0 31 6E E0 66"))});
        QVERIFY(f.log().contains(QStringLiteral("Busy: a request still waits for its reply; nothing sent.")));
        QCOMPARE(f.prompts.beeps, 2); // the refusal, then the reply that did not come
    }

    // Eight messages (uncommitted and committed, each with three repeats) to a silent box: the
    // dialog closed during the first wait, the rest stay unsent.
    void closingTheDialogEndsItsCascade()
    {
        MainWindowFixture f;
        QWidget* dialog = openSwitches(f, QStringLiteral("11362H"));
        in<QSpinBox>(dialog, "uncommitted")->setValue(5);
        in<QSpinBox>(dialog, "repeats")->setValue(3);
        f.box->setFault(TestBox::Fault::Silent);
        QTimer::singleShot(0, dialog, [dialog] { dialog->close(); });
        press(dialog, "sendSwitch");
        QCOMPARE(f.takeRequests(), QStringList{packet(QStringLiteral("03 04 E0 10 39 F4"))});
    }

    void theSiteTypedIsRememberedUnlessTheSettingsGiveOne()
    {
        MainWindowFixture f(false);
        QWidget* dialog = openPointTheDish(f, QStringLiteral("-33.87,151.21"), QStringLiteral("156E"));
        QTest::keyClick(dialog, Qt::Key_Escape);
        QVERIFY(!dialog->isVisible());
        // A new window makes the dialog, and reads the site, only when the menu asks for it.
        f.window = std::make_unique<TForm1>();
        QVERIFY(!f.window->pointDishDialog());
        f.trigger("PointtheDish1");
        QCOMPARE(in<QLineEdit>(f.window->pointDishDialog(), "site")->text(), QStringLiteral("33.87S,151.21E"));

        MainWindowFixture withSite(false, QStringLiteral("\n[site]\nlatitude=52.52N\nlongitude=13.40E"));
        QVERIFY(QFile::copy(f.dir.filePath(QStringLiteral("last-site.ini")),
                            withSite.dir.filePath(QStringLiteral("last-site.ini"))));
        withSite.window = std::make_unique<TForm1>();
        withSite.trigger("PointtheDish1");
        QCOMPARE(in<QLineEdit>(withSite.window->pointDishDialog(), "site")->text(), QStringLiteral("52.52N,13.40E"));
    }

    void aSiteThatCannotBeKeptIsSaidInTheDialog()
    {
        // A folder where the file should be fails its write as a read-only folder does, for
        // root too.
        MainWindowFixture f(false);
        QVERIFY(QDir(f.dir.path()).mkdir(QStringLiteral("last-site.ini")));
        QWidget* dialog = openPointTheDish(f, QStringLiteral("52.52N,13.40E"), QString());
        QLineEdit* site = in<QLineEdit>(dialog, "site");
        site->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), site);
        QTest::keyClick(site, Qt::Key_Tab);
        const QString said = in<QLabel>(dialog, "problem")->text();
        QVERIFY2(said.contains(QStringLiteral("The site is not kept for the next start: cannot write "))
                     && said.contains(QStringLiteral("last-site.ini")),
                 qPrintable(said));
        QCOMPARE(site->accessibleDescription(), said);
    }
};

QTEST_MAIN(TestInstallerDialogs)
#include "tst_installerdialogs.moc"
