// The fixed commands of the "Reader" menu against the simulated box: each sends the requests
// its description in BoxCommands gives and waits for their replies; the check-mark items, the
// confirmations and input boxes, and the text display the readable replies are logged in.
#include "MainWindowFixture.h"

#include "link/LinkState.h"
#include "link/ReceiveBuffer.h"
#include "protocol/BoxCommands.h"
#include "protocol/ByteFormat.h"

#include <QLineEdit>
#include <QTest>
#include <QTimer>

namespace {

// The packets the box receives for a command, as its description gives its requests.
QStringList packetsOf(const BoxCommand& command, int argument = 0)
{
    QStringList packets;
    for (const BoxRequest& request : command.requests(static_cast<std::uint8_t>(argument)))
        packets << packetOf(request);
    return packets;
}

const BoxCommand& described(const QString& name)
{
    const BoxCommand* command = BoxCommands::named(name.toStdString());
    if (!command)
        qFatal("no command named %s", qPrintable(name));
    return *command;
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
    void commandSendsWhatItsDescriptionGives_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<QString>("command"); // its name in BoxCommands
        QTest::addColumn<int>("argument");
        QTest::addColumn<bool>("longReply");
        // Every command twice: with the box's own replies and with one byte more than waited for.
        const auto row = [](const char* item, const QStringList& inputs, const char* command, int argument) {
            for (const bool longReply : {false, true}) {
                QTest::addRow("%s%s", item, longReply ? " long reply" : "")
                    << item << inputs << command << argument << longReply;
            }
        };
        // A check-mark item sends its new state: checked by the click.
        row("Info1", {}, "info", 0);
        row("Test22kHz1", {}, "22khz", 1);
        row("dsqon1", {}, "dsq-power", 1);
        row("Analyse1", {}, "analyse", 1);
        row("reset2", {}, "reset", 0);
        row("IRValueDetectEnable1", {}, "ir-detect", 1);
        row("IRValueDetectDisable1", {}, "ir-detect", 0);
        row("IRValueSet1", {"65"}, "ir-set", 65);
        row("IRValueGet1", {}, "ir-get", 0);
        row("StepUp1", {}, "step-up", 0);
        row("StepDown1", {}, "step-down", 0);
        row("Setposition1", {"5"}, "set-position", 5);
        row("Reset1", {}, "diseqc-reset", 0);
        row("SwitchperipheralpowerON1", {}, "peripheral-power-on", 0);
        row("DrivePolarMotorto01", {}, "drive-to-zero", 0);
        row("DriveStepMotorEastE03168FF1", {}, "step-east", 0);
        row("DriveStepMotorWestE03169FF1", {}, "step-west", 0);
        row("RecalculateSatellitePositionsE0316F001", {}, "recalculate", 0);
    }
    void commandSendsWhatItsDescriptionGives()
    {
        QFETCH(QString, item);
        QFETCH(QStringList, inputs);
        QFETCH(QString, command);
        QFETCH(int, argument);
        QFETCH(bool, longReply);
        const BoxCommand& description = described(command);
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

        const QStringList sent = packetsOf(description, argument);
        QCOMPARE(f.takeRequests(), sent);
        QCOMPARE(f.box->pendingRequestBytes(), std::size_t{0});
        for (const QString& bytes : sent)
            QVERIFY2(f.log().contains(sentLine(bytes)), qPrintable(bytes));
        // A wait that asked for more than the box sends would have ended in an error.
        QCOMPARE(receiveErrors(f.log()), 0);
        QCOMPARE(f.prompts.beeps, 0);
        QCOMPARE(f.prompts.boxTexts(), description.askFirst ? QStringList{AreYouSure} : QStringList{});
        QCOMPARE(f.prompts.inputCaptions.size(), inputs.size());
        const bool textReply = description.requests(static_cast<std::uint8_t>(argument)).front().textReply;
        QCOMPARE(modeSeen, int(textReply ? DisplayMode::Ascii : DisplayMode::Hex));
        QCOMPARE(f.link().DisplayMode.load(), DisplayMode::Hex);
    }

    // With the exact length the wait ends without error (above); one byte less must fail,
    // so the command waits for exactly that many bytes.
    void oneByteShortIsAReceiveError_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("argument");
        QTest::newRow("hardware text") << "Info1" << QStringList() << "info" << 0;
        QTest::newRow("IR value, follow-up still sent") << "IRValueSet1" << QStringList{"$7F"} << "ir-set" << 0x7F;
        QTest::newRow("acknowledge") << "StepUp1" << QStringList() << "step-up" << 0;
    }
    void oneByteShortIsAReceiveError()
    {
        QFETCH(QString, item);
        QFETCH(QStringList, inputs);
        QFETCH(QString, command);
        QFETCH(int, argument);
        const BoxRequest first = described(command).requests(static_cast<std::uint8_t>(argument)).front();
        const int replyLength = first.replyLength;
        MainWindowFixture f;
        f.activate();
        for (const QString& input : inputs)
            f.prompts.inputAnswers.push_back(input);
        f.box->forceNextReplyLength(std::uint8_t(first.bytes[0]), std::size_t(replyLength - 1));

        f.trigger(item.toLatin1().constData());

        const QStringList sent = packetsOf(described(command), argument);
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

    // The bus power's request has the opposite sense of the other two (BoxRequests::dsqPower).
    void toggleSendsTheRequestOfItsNewState_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("command");
        QTest::newRow("test tone") << "Test22kHz1" << "22khz";
        QTest::newRow("bus power") << "dsqon1" << "dsq-power";
        QTest::newRow("analyse") << "Analyse1" << "analyse";
    }
    void toggleSendsTheRequestOfItsNewState()
    {
        QFETCH(QString, item);
        QFETCH(QString, command);
        MainWindowFixture f;
        f.activate();
        QAction* toggle = f.action(item.toLatin1().constData());
        QVERIFY(!toggle->isChecked());
        for (const bool checked : {true, false, true}) {
            toggle->trigger();
            QCOMPARE(toggle->isChecked(), checked);
            QCOMPARE(f.takeRequests(), packetsOf(described(command), checked));
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
        QCOMPARE(f.takeRequests(), packetsOf(BoxCommands::DsqPower, true));
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
        QCOMPARE(f.takeRequests(), packetsOf(BoxCommands::Analyse, true) + packetsOf(BoxCommands::Analyse, false));
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
        QCOMPARE(f.takeRequests(), packetsOf(BoxCommands::SoftwareReset));
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
        const auto add = [&](const char* item, const char* caption, const BoxCommand& command) {
            for (const Answer& answer : answers) {
                const bool parses = answer.byte >= 0;
                const QStringList requests = parses ? packetsOf(command, answer.byte) : QStringList();
                const QString error =
                    parses ? QString() : QStringLiteral("'%1' is not a valid integer value").arg(QString(answer.text).trimmed());
                QTest::addRow("%s %s", item, answer.tag) << item << caption << answer.text << requests << error;
            }
        };
        add("Setposition1", "Enter positioner position", BoxCommands::SetPosition);
        add("IRValueSet1", "Enter IR Value", BoxCommands::SetIrValue);
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
