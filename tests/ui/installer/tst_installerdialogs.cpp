// The "Installer" menu's dialogs against the simulated box: the figures they work out as the
// user types, what their buttons put on the port through the window's transaction, what they
// refuse, and the site remembered for the next start. Expected figures: Berlin (52.52N,
// 13.40E) to 19.2E is azimuth 172.7, elevation 29.7 and a motor angle of 6.388 degrees east,
// 102 sixteenths, the motor's scale at 52.5 (tests/protocol/tst_dishpointing.cpp works them
// out), and the compass 167.5 on 2026-12-09 (5.2 degrees east by NOAA's model); switch port 2 for a
// horizontal low-band transponder is 1111 0110, F6, and uncommitted port 5 is 1111 0100, F4.
#include "MainWindowFixture.h"

#include "ui/installer/PointDishDialog.h"
#include "ui/installer/SwitchesDialog.h"

#include <QApplication>
#include <QDate>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
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
        for (int i = 0; i < 16; ++i) {
            order << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(order, QStringList({"site", "satellite", "date", "position", "azimuth", "compass", "elevation",
                                     "lnbSkew", "motor", "elevationScale", "dishDeclination", "centreElevation",
                                     "message", "sky", "goTo", "close"}));
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
