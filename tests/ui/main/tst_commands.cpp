// The fixed commands of the "Reader" menu against the simulated box: the packet each one
// sends, the reply length it waits for, the check-mark items, the confirmations and input
// boxes, and the text display the readable replies are logged in.
#include "MainWindowFixture.h"

#include "link/LinkState.h"
#include "link/ReceiveBuffer.h"
#include "protocol/ByteFormat.h"

#include <QLineEdit>
#include <QTest>
#include <QTimer>

namespace {

QStringList packets(const QStringList& requests)
{
    QStringList padded;
    for (const QString& request : requests)
        padded << packet(request);
    return padded;
}

int receiveErrors(const QStringList& log)
{
    return static_cast<int>(log.count(QStringLiteral("Receive error!")));
}

// Runs `probe` at the first event pass after the current handler started waiting.
template <typename Probe>
void duringTheWait(MainWindowFixture& f, Probe probe)
{
    QTimer::singleShot(0, f.window.get(), probe);
}

const QString AreYouSure = QStringLiteral("Are you sure?");

} // namespace

class TestCommands : public QObject {
    Q_OBJECT

private slots:
    void commandSendsItsPacketAndWaitsForItsReply_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<bool>("asks");
        QTest::addColumn<QStringList>("requests");
        QTest::addColumn<int>("modeDuringWait");
        QTest::addColumn<bool>("longReply");
        const int hex = int(DisplayMode::Hex);
        const int text = int(DisplayMode::Ascii);
        // Every command twice: with the box's own replies and with one byte more than waited for.
        const auto row = [](const char* item, const QStringList& inputs, bool asks, const QStringList& requests,
                            int mode) {
            for (const bool longReply : {false, true}) {
                QTest::addRow("%s%s", item, longReply ? " long reply" : "")
                    << item << inputs << asks << requests << mode << longReply;
            }
        };
        row("Info1", {}, false, {"01"}, text);
        row("Test22kHz1", {}, false, {"0C 01"}, hex);
        row("dsqon1", {}, false, {"0B 00"}, text);
        row("Analyse1", {}, false, {"0D 01"}, text);
        row("reset2", {}, true, {"0E"}, hex);
        row("IRValueDetectEnable1", {}, false, {"09 01 01"}, hex);
        row("IRValueDetectDisable1", {}, false, {"09 01 00"}, hex);
        row("IRValueSet1", {"65"}, false, {"07 00 01 41", "08"}, hex);
        row("IRValueGet1", {}, false, {"11"}, text);
        row("StepUp1", {}, false, {"05 00"}, hex);
        row("StepDown1", {}, false, {"05 01"}, hex);
        row("Setposition1", {"5"}, false, {"04 00 05"}, hex);
        row("Reset1", {}, false, {"03 03 E0 00 00"}, hex);
        row("SwitchperipheralpowerON1", {}, false, {"03 03 E0 00 03"}, hex);
        row("DrivePolarMotorto01", {}, false, {"03 04 E0 31 6E 00"}, hex);
        row("DriveStepMotorEastE03168FF1", {}, false, {"03 04 E0 31 68 FF"}, hex);
        row("DriveStepMotorWestE03169FF1", {}, false, {"03 04 E0 31 69 FF"}, hex);
        row("RecalculateSatellitePositionsE0316F001", {}, true, {"03 04 E0 31 6F 00"}, hex);
        row("Sendselectedcommand1", {}, false, {"03 04 E0 31 6B 01"}, hex);
    }
    void commandSendsItsPacketAndWaitsForItsReply()
    {
        QFETCH(QString, item);
        QFETCH(QStringList, inputs);
        QFETCH(bool, asks);
        QFETCH(QStringList, requests);
        QFETCH(int, modeDuringWait);
        QFETCH(bool, longReply);
        MainWindowFixture f;
        if (longReply)
            f.box->setFault(TestBox::Fault::Long);
        f.activate();
        for (const QString& input : inputs)
            f.prompts.inputAnswers.push_back(input);
        f.prompts.questionAnswers = {true};
        int modeSeen = -1;
        duringTheWait(f, [&] { modeSeen = int(f.link().DisplayMode.load()); });

        f.trigger(item.toLatin1().constData());

        const QStringList sent = packets(requests);
        QCOMPARE(f.takeRequests(), sent);
        QCOMPARE(f.box->pendingRequestBytes(), std::size_t{0});
        for (const QString& bytes : sent)
            QVERIFY2(f.log().contains(sentLine(bytes)), qPrintable(bytes));
        // A wait that asked for more than the box sends would have ended in an error.
        QCOMPARE(receiveErrors(f.log()), 0);
        QCOMPARE(f.prompts.beeps, 0);
        QCOMPARE(f.prompts.boxTexts(), asks ? QStringList{AreYouSure} : QStringList{});
        QCOMPARE(f.prompts.inputCaptions.size(), inputs.size());
        QCOMPARE(modeSeen, modeDuringWait);
        QCOMPARE(f.link().DisplayMode.load(), DisplayMode::Hex);
    }

    // With the exact length the wait ends without error (above); one byte less must fail,
    // so the command waits for exactly that many bytes.
    void oneByteShortIsAReceiveError_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<int>("opcode");
        QTest::addColumn<int>("replyLength");
        QTest::addColumn<QStringList>("requests");
        QTest::newRow("hardware text") << "Info1" << QStringList() << 0x01 << 90 << QStringList{"01"};
        QTest::newRow("IR value, follow-up still sent")
            << "IRValueSet1" << QStringList{"$7F"} << 0x07 << 3 << QStringList{"07 00 01 7F", "08"};
        QTest::newRow("acknowledge") << "StepUp1" << QStringList() << 0x05 << 2 << QStringList{"05 00"};
    }
    void oneByteShortIsAReceiveError()
    {
        QFETCH(QString, item);
        QFETCH(QStringList, inputs);
        QFETCH(int, opcode);
        QFETCH(int, replyLength);
        QFETCH(QStringList, requests);
        MainWindowFixture f;
        f.activate();
        for (const QString& input : inputs)
            f.prompts.inputAnswers.push_back(input);
        f.box->forceNextReplyLength(std::uint8_t(opcode), std::size_t(replyLength - 1));

        f.trigger(item.toLatin1().constData());

        const QStringList sent = packets(requests);
        QCOMPARE(f.takeRequests(), sent);
        const QStringList log = f.log();
        QCOMPARE(receiveErrors(log), 1);
        QCOMPARE(f.prompts.beeps, 1);
        // The error belongs to the first request: newer than its packet, older than the next one.
        const qsizetype errorAt = log.indexOf(QStringLiteral("Receive error!"));
        QVERIFY(errorAt < log.indexOf(sentLine(sent.first())));
        if (sent.size() > 1)
            QVERIFY(errorAt > log.indexOf(sentLine(sent.at(1))));
        else
            QCOMPARE(f.rxBuffer().count(), std::uint32_t(replyLength - 1));
    }

    void toggleSendsTheRequestOfItsNewState_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("whenChecked");
        QTest::addColumn<QString>("whenUnchecked");
        QTest::newRow("test tone") << "Test22kHz1" << "0C 01" << "0C 00";
        // The box powers the bus with 0B 00: the opposite sense of the other two.
        QTest::newRow("bus power") << "dsqon1" << "0B 00" << "0B 01";
        QTest::newRow("analyse") << "Analyse1" << "0D 01" << "0D 00";
    }
    void toggleSendsTheRequestOfItsNewState()
    {
        QFETCH(QString, item);
        QFETCH(QString, whenChecked);
        QFETCH(QString, whenUnchecked);
        MainWindowFixture f;
        f.activate();
        QAction* toggle = f.action(item.toLatin1().constData());
        QVERIFY(!toggle->isChecked());
        for (const bool checked : {true, false, true}) {
            toggle->trigger();
            QCOMPARE(toggle->isChecked(), checked);
            QCOMPARE(f.takeRequests(), QStringList{packet(checked ? whenChecked : whenUnchecked)});
        }
        QCOMPARE(receiveErrors(f.log()), 0);
    }

    void toggleKeepsItsMarkWithoutReply()
    {
        MainWindowFixture f;
        f.box->setFault(TestBox::Fault::Silent);
        f.activate();
        f.trigger("dsqon1");
        QVERIFY(f.action("dsqon1")->isChecked());
        QCOMPARE(f.takeRequests(), QStringList{packet("0B 00")});
        QCOMPARE(f.log().first(), QStringLiteral("Receive error!"));
        QCOMPARE(f.prompts.beeps, 1);
        QCOMPARE(f.link().DisplayMode.load(), DisplayMode::Hex);
    }

    void toggleKeepsItsMarkWhenTheWriteFails()
    {
        MainWindowFixture f(false, QStringLiteral("port=/dev/vantorel-no-such-port"));
        f.trigger("Analyse1");
        QVERIFY(f.action("Analyse1")->isChecked());
        QCOMPARE(f.prompts.errorTexts().size(), 2);
        QCOMPARE(f.prompts.errorTexts().first(), QStringLiteral("CreateFile INVALID_HANDLE_VALUE"));
        QCOMPARE(f.link().DisplayMode.load(), DisplayMode::Hex);
    }

    // Keys typed as a user would, so the text widgets' claim on them comes first.
    void menuShortcutsActWhereverTheFocusIs()
    {
        MainWindowFixture f;
        f.activate();
        for (const char* name : {"m", "opt1"}) {
            auto* widget = f.find<QWidget>(name);
            widget->setFocus();
            QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
        }
        QVERIFY(!f.action("Analyse1")->isChecked());
        QCOMPARE(f.takeRequests(), QStringList({packet("0D 01"), packet("0D 00")}));
        auto* option = f.find<QLineEdit>("opt1");
        QTest::keyClicks(option, "7");
        QTest::keyClick(option, Qt::Key_Home);
        QTest::keyClicks(option, "2");
        QCOMPARE(option->text(), QStringLiteral("217"));
    }

    void softwareResetClearsPowerAndToneButNotAnalyse()
    {
        MainWindowFixture f;
        f.activate();
        for (const char* item : {"dsqon1", "Test22kHz1", "Analyse1"})
            f.trigger(item);
        f.takeRequests();
        f.prompts.questionAnswers = {true};

        f.trigger("reset2");

        QCOMPARE(f.prompts.boxes.size(), 1);
        QCOMPARE(f.prompts.boxes.first().caption, QStringLiteral("Question"));
        QCOMPARE(f.prompts.boxes.first().text, AreYouSure);
        QCOMPARE(f.takeRequests(), QStringList{packet("0E")});
        QVERIFY(!f.action("dsqon1")->isChecked());
        QVERIFY(!f.action("Test22kHz1")->isChecked());
        QVERIFY(f.action("Analyse1")->isChecked());
    }

    void declinedQuestionSendsNothing_data()
    {
        QTest::addColumn<QString>("item");
        QTest::newRow("SW Reset") << "reset2";
        QTest::newRow("Recalculate Satellite Positions") << "RecalculateSatellitePositionsE0316F001";
    }
    void declinedQuestionSendsNothing()
    {
        QFETCH(QString, item);
        MainWindowFixture f;
        f.activate();
        for (const char* toggle : {"dsqon1", "Test22kHz1", "Analyse1"})
            f.trigger(toggle);
        f.takeRequests();
        const QStringList logBefore = f.log();
        f.prompts.questionAnswers = {false};

        f.trigger(item.toLatin1().constData());

        QCOMPARE(f.prompts.boxTexts(), QStringList{AreYouSure});
        QVERIFY(f.takeRequests().isEmpty());
        QCOMPARE(f.log(), logBefore);
        for (const char* toggle : {"dsqon1", "Test22kHz1", "Analyse1"})
            QVERIFY(f.action(toggle)->isChecked());
    }

    void inputBoxTextBecomesTheByte_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QStringList>("requests");
        QTest::addColumn<QString>("error");
        struct Answer {
            const char* tag;
            const char* text;
            const char* byte; // nullptr: the text does not parse
        };
        const Answer answers[] = {
            {"300 keeps its low byte", "300", "2C"},
            {"0x prefix", "0x1F", "1F"},
            {"dollar prefix", "$1F", "1F"},
            {"blanks around", " 7 ", "07"},
            {"minus one", "-1", "FF"},
            {"empty", "", nullptr},
            {"letters", "abc", nullptr},
            {"beyond 32 bits", "99999999999", nullptr},
            {"inner blank", " 1 2 ", nullptr},
            {"degree sign shown as typed", "5°", nullptr},
        };
        const auto add = [&](const char* item, const char* caption, const QString& before, const QStringList& after) {
            for (const Answer& answer : answers) {
                const bool parses = answer.byte != nullptr;
                const QStringList requests =
                    parses ? QStringList{before + QLatin1String(answer.byte)} + after : QStringList();
                const QString error =
                    parses ? QString() : QStringLiteral("'%1' is not a valid integer value").arg(QString(answer.text).trimmed());
                QTest::addRow("%s %s", item, answer.tag) << item << caption << answer.text << requests << error;
            }
        };
        add("Setposition1", "Enter positioner position", QStringLiteral("04 00 "), {});
        add("IRValueSet1", "Enter IR Value", QStringLiteral("07 00 01 "), {"08"});
    }
    void inputBoxTextBecomesTheByte()
    {
        QFETCH(QString, item);
        QFETCH(QString, caption);
        QFETCH(QString, answer);
        QFETCH(QStringList, requests);
        QFETCH(QString, error);
        MainWindowFixture f;
        f.activate();
        const QStringList logBefore = f.log();
        f.prompts.inputAnswers = {answer};

        f.trigger(item.toLatin1().constData());

        QCOMPARE(f.prompts.inputCaptions, QStringList{caption});
        QCOMPARE(f.takeRequests(), packets(requests));
        if (error.isEmpty()) {
            QVERIFY(f.prompts.boxes.isEmpty());
            QCOMPARE(receiveErrors(f.log()), 0);
        } else {
            QCOMPARE(f.prompts.boxes.size(), 1);
            QCOMPARE(f.prompts.boxes.first().kind, PromptSeam::Box::Error);
            QCOMPARE(f.prompts.boxes.first().caption, QStringLiteral("Vantorel"));
            QCOMPARE(f.prompts.boxes.first().text, error);
            QCOMPARE(f.log(), logBefore);
        }
    }

    void cancelledInputBoxSendsNothing_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("caption");
        QTest::newRow("Set Position") << "Setposition1" << "Enter positioner position";
        QTest::newRow("IR Value Set") << "IRValueSet1" << "Enter IR Value";
    }
    void cancelledInputBoxSendsNothing()
    {
        QFETCH(QString, item);
        QFETCH(QString, caption);
        MainWindowFixture f;
        f.activate();
        const QStringList logBefore = f.log();
        f.prompts.inputAnswers = {std::nullopt};

        f.trigger(item.toLatin1().constData());

        QCOMPARE(f.prompts.inputCaptions, QStringList{caption});
        QVERIFY(f.takeRequests().isEmpty());
        QVERIFY(f.prompts.boxes.isEmpty());
        QCOMPARE(f.log(), logBefore);
    }

    void readableReplyIsLoggedAsText_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("textLine"); // how the reply starts in ASCII display
        QTest::newRow("HW Info") << "Info1" << "R: Vantorel";
        QTest::newRow("IR Value Get") << "IRValueGet1" << "R: 0x000x00";
        QTest::newRow("DSQ Power On") << "dsqon1" << "R: OK";
        QTest::newRow("Analyse") << "Analyse1" << "R: OK";
    }
    void readableReplyIsLoggedAsText()
    {
        QFETCH(QString, item);
        QFETCH(QString, textLine);
        MainWindowFixture f;
        f.activate();

        f.trigger(item.toLatin1().constData());

        QTRY_COMPARE(receivedLines(f.log()).size(), 1);
        QVERIFY2(receivedLines(f.log()).first().startsWith(textLine), qPrintable(receivedLines(f.log()).first()));
        QCOMPARE(f.link().DisplayMode.load(), DisplayMode::Hex);
        QVERIFY(f.action("ShowHEX1")->isChecked());
        QCOMPARE(f.statusPanel(0), QStringLiteral(" Show HEX"));

        // Later replies are shown in the display mode the log was in.
        f.trigger("StepUp1");
        QTRY_COMPARE(receivedLines(f.log()).first(), QStringLiteral("R: 4F 4B"));
    }

    void overrideWritesBackTheModeItFound_data()
    {
        readableReplyIsLoggedAsText_data();
    }
    void overrideWritesBackTheModeItFound()
    {
        QFETCH(QString, item);
        QFETCH(QString, textLine);
        MainWindowFixture f;
        f.activate();
        f.trigger("ShowBINARY1");

        f.trigger(item.toLatin1().constData());

        QTRY_COMPARE(receivedLines(f.log()).size(), 1);
        QVERIFY(receivedLines(f.log()).first().startsWith(textLine));
        QCOMPARE(f.link().DisplayMode.load(), DisplayMode::Binary);
        f.trigger("StepUp1");
        QTRY_COMPARE(receivedLines(f.log()).first(), QStringLiteral("R: 01001111 01001011"));
    }

    void displayChosenDuringTheWaitIsOverwritten_data()
    {
        readableReplyIsLoggedAsText_data();
    }
    void displayChosenDuringTheWaitIsOverwritten()
    {
        QFETCH(QString, item);
        MainWindowFixture f;
        f.activate();
        int modeWhenChosen = -1;
        duringTheWait(f, [&] {
            modeWhenChosen = int(f.link().DisplayMode.load());
            f.trigger("ShowBINARY1");
        });

        f.trigger(item.toLatin1().constData());

        QCOMPARE(modeWhenChosen, int(DisplayMode::Ascii));
        // The handler writes back the mode it found; the items and the panel keep the user's choice.
        QCOMPARE(f.link().DisplayMode.load(), DisplayMode::Hex);
        QVERIFY(f.action("ShowBINARY1")->isChecked());
        QVERIFY(!f.action("ShowHEX1")->isChecked());
        QCOMPARE(f.statusPanel(0), QStringLiteral(" Show BINARY"));
    }
};

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
