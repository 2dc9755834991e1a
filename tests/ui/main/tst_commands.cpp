// The fixed commands of the "Reader" menu against the simulated box: each sends the box's
// requests for it and waits for their replies; the check-mark items, the confirmations and
// input boxes, and the text display the readable replies are logged in. The request bytes
// and reply lengths are the box's command set, written out here as its table gives them.
#include "MainWindowFixture.h"

#include "link/LinkState.h"
#include "link/ReceiveBuffer.h"
#include "protocol/ByteFormat.h"

#include <QLineEdit>
#include <QTest>
#include <QTimer>

namespace {

// Whole packets of the requests written as "05 00".
QStringList packets(const QStringList& requests)
{
    QStringList whole;
    for (const QString& request : requests)
        whole << packet(request);
    return whole;
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
    void commandSendsTheBoxsRequests_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<QStringList>("requests");
        QTest::addColumn<bool>("askFirst"); // "Are you sure?"
        QTest::addColumn<bool>("textReply"); // logged in the ASCII form whatever the display
        QTest::addColumn<bool>("longReply");
        // Every command twice: with the box's own replies and with one byte more than waited for.
        const auto row = [](const char* item, const QStringList& inputs, const QStringList& requests, bool askFirst,
                            bool textReply) {
            for (const bool longReply : {false, true}) {
                QTest::addRow("%s%s", item, longReply ? " long reply" : "")
                    << item << inputs << requests << askFirst << textReply << longReply;
            }
        };
        // A check-mark item sends its new state: checked by the click. The bus power is on
        // with 0B 00, the opposite sense of the other two.
        row("Info1", {}, {"01"}, false, true);
        row("Test22kHz1", {}, {"0C 01"}, false, false);
        row("dsqon1", {}, {"0B 00"}, false, true);
        row("Analyse1", {}, {"0D 01"}, false, true);
        row("reset2", {}, {"0E"}, true, false);
        row("IRValueDetectEnable1", {}, {"09 01 01"}, false, false);
        row("IRValueDetectDisable1", {}, {"09 01 00"}, false, false);
        row("IRValueSet1", {"65"}, {"07 00 01 41", "08"}, false, false);
        row("IRValueGet1", {}, {"11"}, false, true);
        row("StepUp1", {}, {"05 00"}, false, false);
        row("StepDown1", {}, {"05 01"}, false, false);
        row("Setposition1", {"5"}, {"04 00 05"}, false, false);
        row("Reset1", {}, {"03 03 E0 00 00"}, false, false);
        row("SwitchperipheralpowerON1", {}, {"03 03 E0 00 03"}, false, false);
        row("DrivePolarMotorto01", {}, {"03 04 E0 31 6E 00"}, false, false);
        row("DriveStepMotorEastE03168FF1", {}, {"03 04 E0 31 68 FF"}, false, false);
        row("DriveStepMotorWestE03169FF1", {}, {"03 04 E0 31 69 FF"}, false, false);
        row("RecalculateSatellitePositionsE0316F001", {}, {"03 04 E0 31 6F 00"}, true, false);
    }
    void commandSendsTheBoxsRequests()
    {
        QFETCH(QString, item);
        QFETCH(QStringList, inputs);
        QFETCH(QStringList, requests);
        QFETCH(bool, askFirst);
        QFETCH(bool, textReply);
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
        QCOMPARE(f.prompts.boxTexts(), askFirst ? QStringList{AreYouSure} : QStringList{});
        QCOMPARE(f.prompts.inputCaptions.size(), inputs.size());
        QCOMPARE(modeSeen, int(textReply ? DisplayMode::Ascii : DisplayMode::Hex));
        QCOMPARE(f.link().DisplayMode.load(), DisplayMode::Hex);
    }

    // With the exact length the wait ends without error (above); one byte less must fail,
    // so the command waits for exactly that many bytes.
    void oneByteShortIsAReceiveError_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<QStringList>("requests");
        QTest::addColumn<int>("replyLength"); // of the first request
        QTest::newRow("hardware text") << "Info1" << QStringList() << QStringList{"01"} << 90;
        QTest::newRow("IR value, follow-up still sent") << "IRValueSet1" << QStringList{"$7F"}
                                                        << QStringList{"07 00 01 7F", "08"} << 3;
        QTest::newRow("acknowledge") << "StepUp1" << QStringList() << QStringList{"05 00"} << 2;
    }
    void oneByteShortIsAReceiveError()
    {
        QFETCH(QString, item);
        QFETCH(QStringList, inputs);
        QFETCH(QStringList, requests);
        QFETCH(int, replyLength);
        MainWindowFixture f;
        f.activate();
        for (const QString& input : inputs)
            f.prompts.inputAnswers.push_back(input);
        const std::uint8_t opcode = std::uint8_t(requests.first().left(2).toUInt(nullptr, 16));
        f.box->forceNextReplyLength(opcode, std::size_t(replyLength - 1));

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

    // The bus power's request has the opposite sense of the other two.
    void toggleSendsTheRequestOfItsNewState_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("checkedRequest");
        QTest::addColumn<QString>("uncheckedRequest");
        QTest::newRow("test tone") << "Test22kHz1" << "0C 01" << "0C 00";
        QTest::newRow("bus power") << "dsqon1" << "0B 00" << "0B 01";
        QTest::newRow("analyse") << "Analyse1" << "0D 01" << "0D 00";
    }
    void toggleSendsTheRequestOfItsNewState()
    {
        QFETCH(QString, item);
        QFETCH(QString, checkedRequest);
        QFETCH(QString, uncheckedRequest);
        MainWindowFixture f;
        f.activate();
        QAction* toggle = f.action(item.toLatin1().constData());
        QVERIFY(!toggle->isChecked());
        for (const bool checked : {true, false, true}) {
            toggle->trigger();
            QCOMPARE(toggle->isChecked(), checked);
            QCOMPARE(f.takeRequests(), QStringList{packet(checked ? checkedRequest : uncheckedRequest)});
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
        QCOMPARE(f.takeRequests(), packets({"0D 01", "0D 00"}));
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

    // The integer rule itself is tst_integerinput's; here the window trims the text, keeps the
    // low byte and shows a failure as the user typed it.
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
            int byte; // -1: the text does not parse
        };
        const Answer answers[] = {
            {"300 keeps its low byte", "300", 0x2C},
            {"blanks around", " 7 ", 0x07},
            {"minus one", "-1", 0xFF},
            {"letters", "abc", -1},
            {"degree sign shown as typed", "5°", -1},
        };
        // The request is `head` and the byte; the requests `after` follow it.
        const auto add = [&](const char* item, const char* caption, const char* head, const QStringList& after) {
            for (const Answer& answer : answers) {
                const bool parses = answer.byte >= 0;
                const QStringList requests =
                    parses ? packets(QStringList{QString::asprintf("%s %02X", head, answer.byte)} + after) : QStringList();
                const QString error =
                    parses ? QString() : QStringLiteral("'%1' is not a valid integer value").arg(QString(answer.text).trimmed());
                QTest::addRow("%s %s", item, answer.tag) << item << caption << answer.text << requests << error;
            }
        };
        add("Setposition1", "Enter positioner position", "04 00", {});
        add("IRValueSet1", "Enter IR Value", "07 00 01", {"08"});
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
        QCOMPARE(f.takeRequests(), requests);
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
