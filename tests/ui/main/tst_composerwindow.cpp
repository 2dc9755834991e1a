// The DiSEqC composer panel of the main window: its lists at each version level, the
// start-up selections, level changes made by the user, and the message "Send selected
// command" puts on the port.
#include "MainWindowFixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

namespace {

QStringList items(const QComboBox* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->itemText(i);
    return texts;
}

// The controls of the panel, found by their component names.
struct Composer {
    explicit Composer(const MainWindowFixture& f)
        : framing(f.find<QComboBox>("framing"))
        , family(f.find<QComboBox>("family"))
        , command(f.find<QComboBox>("command"))
        , compat(f.find<QComboBox>("compat"))
        , opt1(f.find<QLineEdit>("opt1"))
        , opt2(f.find<QLineEdit>("opt2"))
        , opt3(f.find<QLineEdit>("opt3"))
    {
    }

    // As a pick in the open list: the selection moves and the list reports the user's choice.
    void chooseLevel(int index)
    {
        compat->setCurrentIndex(index);
        emit compat->activated(index);
    }

    void typeOptions(const QString& first, const QString& second, const QString& third)
    {
        const QString texts[] = {first, second, third};
        QLineEdit* const edits[] = {opt1, opt2, opt3};
        for (int i = 0; i < 3; ++i) {
            edits[i]->clear();
            QTest::keyClicks(edits[i], texts[i]);
        }
    }

    QStringList options() const { return {opt1->text(), opt2->text(), opt3->text()}; }

    QComboBox* framing;
    QComboBox* family;
    QComboBox* command;
    QComboBox* compat;
    QLineEdit* opt1;
    QLineEdit* opt2;
    QLineEdit* opt3;
};

const QString DriveToPosition = QStringLiteral("6Bh 1.2 Drive Motor to Satellite Position nn");
const QString LastOfLevel1 = QStringLiteral("6Dh Reserved");
const QString Recalculate = QStringLiteral("6Fh 1.2 (Re-)Calculate Satellite Positions");

} // namespace

class TestComposerWindow : public QObject {
    Q_OBJECT

private slots:
    void startsWithTheDriveToPositionMessage()
    {
        MainWindowFixture f(false);
        Composer c(f);
        QCOMPARE(c.framing->count(), 8);
        QCOMPARE(c.framing->currentIndex(), 0);
        QCOMPARE(c.framing->currentText(), QStringLiteral("E0h Master First (NoReply)"));
        QCOMPARE(c.framing->itemText(7), QStringLiteral("E7h Slave Reply (Cmd not recognized)"));
        QCOMPARE(c.family->count(), 18);
        QCOMPARE(c.family->currentIndex(), 10);
        QCOMPARE(c.family->currentText(), QStringLiteral("31h Polar/Azimuth Positioner"));
        QCOMPARE(c.family->itemText(0), QStringLiteral("00h Any device (Master to all)"));
        QCOMPARE(c.family->itemText(17), QStringLiteral("F0h Reserved for OEM Extensions"));
        QCOMPARE(c.command->currentIndex(), 40);
        QCOMPARE(c.command->currentText(), DriveToPosition);
        QCOMPARE(items(c.compat), QStringList({"V 1.0", "V 1.1", "V 1.2", "V 2.0"}));
        QCOMPARE(c.compat->currentIndex(), 2);
        QCOMPARE(c.options(), QStringList({"1", "", ""}));
    }

    void eachLevelListsItsCommands_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<int>>("positions");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("V 1.0") << 0 << 18 << QList<int>{0, 3, 12, 17}
                               << QStringList{"00h 1.0 Reset DISEqC microcontroller", "0Fh Reserved",
                                              "38h 1.0 Write to Port group 0 (Committed switches)", LastOfLevel1};
        QTest::newRow("V 1.1") << 1 << 33 << QList<int>{3, 12, 32}
                               << QStringList{"0Fh Reserved", "28h 1.1 Select Switch S1 input A (deselect input B)",
                                              LastOfLevel1};
        QTest::newRow("V 1.2") << 2 << 45 << QList<int>{40, 43, 44}
                               << QStringList{DriveToPosition,
                                              QString::fromLatin1("6Eh 1.2 Drive Motor to Angular Position (\xB0)"),
                                              Recalculate};
        QTest::newRow("V 2.0") << 3 << 64 << QList<int>{1, 40, 62, 63}
                               << QStringList{"01h 2.0 Clear \"Reset\" flag", "41h 2.0 Read Analogue value A1",
                                              QString::fromLatin1("6Eh 1.2 Drive Motor to Angular Position (\xB0)"),
                                              Recalculate};
    }
    void eachLevelListsItsCommands()
    {
        QFETCH(int, level);
        QFETCH(int, count);
        QFETCH(QList<int>, positions);
        QFETCH(QStringList, texts);
        MainWindowFixture f(false);
        Composer c(f);
        c.chooseLevel(level);
        const QStringList commands = items(c.command);
        QCOMPARE(commands.size(), count);
        for (qsizetype i = 0; i < positions.size(); ++i)
            QCOMPARE(commands.at(positions.at(i)), texts.at(i));
        // The positioner status command lies above every level: it is never offered.
        for (const QString& text : commands)
            QVERIFY2(!text.startsWith(QStringLiteral("64h")), qPrintable(text));
        QCOMPARE(commands.count(QStringLiteral("0Fh Reserved")), 1);
        QCOMPARE(items(c.compat), QStringList({"V 1.0", "V 1.1", "V 1.2", "V 2.0"}));
        QCOMPARE(c.compat->currentIndex(), level);
    }

    // The command list keeps the position, not the code; only the command list changes.
    void levelChangeKeepsThePosition_data()
    {
        QTest::addColumn<QList<int>>("levels");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("text");
        QTest::newRow("V 2.0") << QList<int>{3} << 40 << "41h 2.0 Read Analogue value A1";
        QTest::newRow("V 1.0 falls back to the last") << QList<int>{0} << 17 << LastOfLevel1;
        QTest::newRow("V 1.1 falls back to the last") << QList<int>{1} << 32 << LastOfLevel1;
        QTest::newRow("same level again") << QList<int>{2} << 40 << DriveToPosition;
        QTest::newRow("V 1.0 then back to V 1.2")
            << QList<int>{0, 2} << 17 << "2Dh 1.1 Select Switch S2 input B (deselect input A)";
    }
    void levelChangeKeepsThePosition()
    {
        QFETCH(QList<int>, levels);
        QFETCH(int, position);
        QFETCH(QString, text);
        MainWindowFixture f(false);
        Composer c(f);
        c.framing->setCurrentIndex(2);
        c.family->setCurrentIndex(4);
        c.typeOptions("1", "9", "");

        for (const int level : levels)
            c.chooseLevel(level);

        QCOMPARE(c.compat->currentIndex(), levels.last());
        QCOMPARE(c.command->currentIndex(), position);
        QCOMPARE(c.command->currentText(), text);
        QCOMPARE(c.framing->currentIndex(), 2);
        QCOMPARE(c.framing->count(), 8);
        QCOMPARE(c.family->currentIndex(), 4);
        QCOMPARE(c.family->count(), 18);
        QCOMPARE(c.options(), QStringList({"1", "9", ""}));
    }

    void levelChosenWithTheKeyboardRefillsTheCommands()
    {
        MainWindowFixture f(false);
        Composer c(f);
        QTest::keyClick(c.compat, Qt::Key_Down);
        QCOMPARE(c.compat->currentText(), QStringLiteral("V 2.0"));
        QCOMPARE(c.command->count(), 64);
        QCOMPARE(c.command->currentText(), QStringLiteral("41h 2.0 Read Analogue value A1"));
    }

    void levelSetByTheProgramLeavesTheCommands()
    {
        MainWindowFixture f(false);
        Composer c(f);
        c.compat->setCurrentIndex(0);
        QCOMPARE(c.command->count(), 45);
        QCOMPARE(c.command->currentText(), DriveToPosition);
    }

    void sendRightAfterStart()
    {
        MainWindowFixture f;
        f.activate();
        f.trigger("Sendselectedcommand1");
        const QString sent = packet("03 04 E0 31 6B 01");
        QCOMPARE(f.takeRequests(), QStringList{sent});
        QVERIFY(f.log().contains(sentLine(sent)));
        QVERIFY(!f.log().contains(QStringLiteral("Receive error!")));
        QVERIFY(f.prompts.boxes.isEmpty());
    }

    void optionTextsBecomeTheDataBytes_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("third");
        QTest::addColumn<QString>("request");
        QTest::newRow("all empty") << "" << "" << "" << "03 03 E0 31 6B";
        QTest::newRow("only blanks") << "  " << " " << "    " << "03 03 E0 31 6B";
        QTest::newRow("leading blank") << " $1F" << "" << "" << "03 04 E0 31 6B 1F";
        QTest::newRow("trailing blank") << "$1F " << "" << "" << "03 04 E0 31 6B 1F";
        QTest::newRow("x prefix") << "x1F" << "" << "" << "03 04 E0 31 6B 1F";
        QTest::newRow("0x prefix") << "0x1F" << "" << "" << "03 04 E0 31 6B 1F";
        QTest::newRow("decimal") << "31" << "" << "" << "03 04 E0 31 6B 1F";
        QTest::newRow("zero is a byte") << "0" << "" << "" << "03 04 E0 31 6B 00";
        QTest::newRow("256 wraps") << "256" << "" << "" << "03 04 E0 31 6B 00";
        QTest::newRow("9999 wraps") << "9999" << "" << "" << "03 04 E0 31 6B 0F";
        QTest::newRow("$FFF wraps") << "$FFF" << "" << "" << "03 04 E0 31 6B FF";
        QTest::newRow("minus one") << "-1" << "" << "" << "03 04 E0 31 6B FF";
        QTest::newRow("empty middle leaves no gap") << "5" << "" << "7" << "03 05 E0 31 6B 05 07";
        QTest::newRow("only the last") << "" << "" << "$a" << "03 04 E0 31 6B 0A";
        QTest::newRow("three bytes") << "1" << "2" << "3" << "03 06 E0 31 6B 01 02 03";
    }
    void optionTextsBecomeTheDataBytes()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, third);
        QFETCH(QString, request);
        MainWindowFixture f;
        f.activate();
        Composer c(f);
        c.typeOptions(first, second, third);
        QCOMPARE(c.options(), QStringList({first, second, third}));

        f.trigger("Sendselectedcommand1");

        QCOMPARE(f.takeRequests(), QStringList{packet(request)});
        QVERIFY(f.prompts.boxes.isEmpty());
        QCOMPARE(c.options(), QStringList({first, second, third}));
    }

    void selectionsMakeTheFirstThreeBytes_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("framing");
        QTest::addColumn<int>("family");
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("request");
        QTest::newRow("slave reply framing") << 2 << 4 << 10 << 40 << "03 04 E4 31 6B 01";
        QTest::newRow("any device") << 2 << 0 << 0 << 40 << "03 04 E0 00 6B 01";
        QTest::newRow("OEM family") << 2 << 7 << 17 << 40 << "03 04 E7 F0 6B 01";
        QTest::newRow("level-free command") << 0 << 0 << 10 << 3 << "03 04 E0 31 0F 01";
        QTest::newRow("angular position") << 3 << 0 << 10 << 62 << "03 04 E0 31 6E 01";
        QTest::newRow("first command") << 3 << 1 << 2 << 0 << "03 04 E1 11 00 01";
    }
    void selectionsMakeTheFirstThreeBytes()
    {
        QFETCH(int, level);
        QFETCH(int, framing);
        QFETCH(int, family);
        QFETCH(int, command);
        QFETCH(QString, request);
        MainWindowFixture f;
        f.activate();
        Composer c(f);
        c.chooseLevel(level);
        c.framing->setCurrentIndex(framing);
        c.family->setCurrentIndex(family);
        c.command->setCurrentIndex(command);

        f.trigger("Sendselectedcommand1");

        QCOMPARE(f.takeRequests(), QStringList{packet(request)});
        QVERIFY(!f.log().contains(QStringLiteral("Receive error!")));
    }

    // Without error for two bytes (above), with an error for one: every message waits for
    // exactly two, a slave-reply framing byte included.
    void slaveReplyFramingStillWaitsForTwoBytes()
    {
        MainWindowFixture f;
        f.activate();
        Composer c(f);
        c.framing->setCurrentIndex(4);
        f.box->forceNextReplyLength(0x03, 1);

        f.trigger("Sendselectedcommand1");

        QCOMPARE(f.takeRequests(), QStringList{packet("03 04 E4 31 6B 01")});
        QCOMPARE(f.log().first(), QStringLiteral("Receive error!"));
        QCOMPARE(f.prompts.beeps, 1);
    }

    void badOptionStopsTheSend_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("third");
        QTest::addColumn<QString>("shown");
        QTest::newRow("bad third after good ones") << "1" << "2" << "abc" << "abc";
        QTest::newRow("first bad text wins") << "x" << "" << "y" << "x";
        QTest::newRow("decimal point") << "1.5" << "" << "" << "1.5";
        QTest::newRow("hex suffix") << "" << "12h" << "" << "12h";
        QTest::newRow("shown trimmed") << " ab " << "" << "" << "ab";
    }
    void badOptionStopsTheSend()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, third);
        QFETCH(QString, shown);
        MainWindowFixture f;
        f.activate();
        Composer c(f);
        c.chooseLevel(3);
        c.framing->setCurrentIndex(2);
        c.typeOptions(first, second, third);
        const QStringList logBefore = f.log();

        f.trigger("Sendselectedcommand1");

        QCOMPARE(f.prompts.boxes.size(), 1);
        QCOMPARE(f.prompts.boxes.first().kind, PromptSeam::Box::Error);
        QCOMPARE(f.prompts.boxes.first().caption, QStringLiteral("Vantorel"));
        QCOMPARE(f.prompts.boxes.first().text, QStringLiteral("'%1' is not a valid integer value").arg(shown));
        QVERIFY(f.takeRequests().isEmpty());
        QCOMPARE(f.log(), logBefore);
        QCOMPARE(c.options(), QStringList({first, second, third}));
        QCOMPARE(c.compat->currentIndex(), 3);
        QCOMPARE(c.framing->currentIndex(), 2);
        QCOMPARE(c.command->currentIndex(), 40);
    }
};

QTEST_MAIN(TestComposerWindow)
#include "tst_composerwindow.moc"
