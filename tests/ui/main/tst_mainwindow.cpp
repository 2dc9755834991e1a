// The main window's frame: caption, menu tree, status bar, composer layout, the log pane
// and the "Log" menu.
#include "MainWindowFixture.h"

#include "link/LinkState.h"
#include "ui/main/LogView.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTest>

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void startsWithCaptionHexDisplayAndSize()
    {
        MainWindowFixture f(false);
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Vantorel"));
        QCOMPARE(f.statusPanel(0), QStringLiteral(" Show HEX"));
        QCOMPARE(f.statusPanel(1), QString());
        QCOMPARE(f.window->width(), 467);
        QCOMPARE(f.window->height() - f.window->menuBar()->sizeHint().height(), 331);
        QVERIFY(f.log().isEmpty());
        QCOMPARE(f.link().DisplayMode.load(), DisplayMode::Hex);
    }

    void menuItemsHaveCaptionsShortcutsAndChecks_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shortcut");
        QTest::addColumn<int>("checked"); // -1: not a check item
        const auto row = [](const char* name, const QString& caption, const char* shortcut, int checked) {
            QTest::newRow(name) << name << caption << shortcut << checked;
        };
        row("About1", "About", "", -1);
        row("Exit1", "Exit", "", -1);
        row("Open1", "Open COM port", "", -1);
        row("Close1", "Close COM port", "", -1);
        row("Info1", "HW Info", "Ctrl+I", -1);
        row("Test22kHz1", "Test 22kHz", "", 0);
        row("dsqon1", "DSQ Power On", "Ctrl+P", 0);
        row("Analyse1", "Analyse", "Ctrl+A", 0);
        row("reset2", "SW Reset", "", -1);
        row("IRValueDetectEnable1", "IR Value Detect Enable", "", -1);
        row("IRValueDetectDisable1", "IR Value Detect Disable", "", -1);
        row("IRValueSet1", "IR Value Set", "", -1);
        row("IRValueGet1", "IR Value Get", "", -1);
        row("settings2", "Setting", "", -1);
        row("StepUp1", "Step Up", "", -1);
        row("StepDown1", "Step Down", "", -1);
        row("Setposition1", "Set Position", "Ctrl+S", -1);
        row("Settings1", "Setting", "", -1);
        row("Reset1", "Reset To All (E0-00-00)", "Ctrl+Alt+R", -1);
        row("SwitchperipheralpowerON1", "Switch peripheral power supply ON (E0-00-03)", "", -1);
        row("DrivePolarMotorto01", QString::fromLatin1("Drive Positioner Motor to 0\xB0 (E0-31-6E-0)"), "Ctrl+Alt+O", -1);
        row("DriveStepMotorEastE03168FF1", "Drive Step Motor East (E0-31-68-FF)", "Ctrl+Alt+E", -1);
        row("DriveStepMotorWestE03169FF1", "Drive Step Motor West (E0-31-69-FF)", "Ctrl+Alt+W", -1);
        row("RecalculateSatellitePositionsE0316F001", "Recalculate Satellite Positions (E0-31-6F-00)", "", -1);
        row("Sendselectedcommand1", "Send selected command", "Ctrl+Alt+C", -1);
        row("Showtimestamp1", "Show timestamp", "F5", 0);
        row("Clearlog1", "Clear log", "Ctrl+L", -1);
        row("Savelog1", "Save log", "", -1);
        row("ShowCRLF1", "Show <CR><LF>", "", 1);
        row("ShowHEX1", "Show HEX", "F1", 1);
        row("ShowASCII1", "Show ASCII", "F2", 0);
        row("ShowBINARY1", "Show BINARY", "F3", 0);
        row("PointtheDish1", "Point the Dish...", "Ctrl+D", -1);
        row("SwitchesandSingleCable1", "Switches and Single Cable...", "Ctrl+U", -1);
    }
    void menuItemsHaveCaptionsShortcutsAndChecks()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, shortcut);
        QFETCH(int, checked);
        MainWindowFixture f(false);
        QAction* item = f.action(name.toLatin1().constData());
        QCOMPARE(item->text(), caption);
        QCOMPARE(item->shortcut(), QKeySequence(shortcut));
        QCOMPARE(item->isCheckable(), checked >= 0);
        if (checked >= 0)
            QCOMPARE(item->isChecked(), checked == 1);
    }

    void menuTreeHasItsOrder()
    {
        MainWindowFixture f(false);
        const auto names = [](QMenu* menu) {
            QStringList list;
            for (QAction* item : menu->actions())
                list << item->objectName();
            return list;
        };
        QCOMPARE(names(f.find<QMenu>("Reader1")),
                 QStringList({"Open1", "Close1", "N2", "Hardware1", "RemoteControl1", "Positioner1", "Send1"}));
        QCOMPARE(names(f.find<QMenu>("Hardware1")), QStringList({"Info1", "Test22kHz1", "dsqon1", "Analyse1", "N7", "reset2"}));
        QCOMPARE(names(f.find<QMenu>("Log1")),
                 QStringList({"Showtimestamp1", "Clearlog1", "Savelog1", "N6", "ShowCRLF1", "ShowHEX1", "ShowASCII1", "ShowBINARY1"}));
        QStringList top;
        for (QAction* menu : f.window->menuBar()->actions())
            top << menu->text();
        QCOMPARE(top, QStringList({"Program", "Reader", "Log", "Installer"}));
        QCOMPARE(names(f.find<QMenu>("Installer1")), QStringList({"PointtheDish1", "SwitchesandSingleCable1"}));
        // No two items share a shortcut.
        QList<QKeySequence> shortcuts;
        for (const QAction* item : f.window->actions()) {
            QVERIFY2(item->shortcut().isEmpty() || !shortcuts.contains(item->shortcut()), qPrintable(item->objectName()));
            shortcuts << item->shortcut();
        }
    }

    void composerControlsSitAtTheirPlacesAndStretch()
    {
        MainWindowFixture f(false);
        f.link().OpenOnActivate = false;
        f.activate();
        QCOMPARE(f.find<QComboBox>("framing")->geometry(), QRect(87, 6, 371, 25));
        QCOMPARE(f.find<QComboBox>("command")->geometry().width(), 372);
        QCOMPARE(f.find<QLineEdit>("opt2")->geometry().topLeft(), QPoint(137, 102));
        QCOMPARE(f.find<QComboBox>("compat")->geometry(), QRect(374, 102, 84, 25));
        QCOMPARE(f.find<QLineEdit>("opt1")->maxLength(), 4);
        f.window->resize(600, f.window->height());
        QTRY_COMPARE(f.find<QComboBox>("framing")->width(), 371 + 133);
        QCOMPARE(f.find<QComboBox>("compat")->width(), 84);
        QVERIFY(f.find<LogView>("m")->geometry().top() >= 139);
    }

    void addLogPutsTrimmedLinesOnTop()
    {
        MainWindowFixture f(false);
        f.window->AddLog("first");
        f.window->AddLog("  second \t\r\n");
        f.window->AddLog("");
        QCOMPARE(f.log(), QStringList({"", "  second", "first"}));
    }

    void limitedLogKeepsLimitPlusOneLines()
    {
        MainWindowFixture f(false, "loglines=3");
        QCOMPARE(f.link().LogLines, 3);
        for (int i = 1; i <= 5; ++i)
            f.window->AddLog(QString::number(i));
        QCOMPARE(f.log(), QStringList({"5", "4", "3", "2"}));
        f.window->AddLog("6");
        QCOMPARE(f.log(), QStringList({"6", "5", "4", "3"}));
    }

    void unlimitedLogGrows_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::newRow("missing") << QString();
        QTest::newRow("zero") << "loglines=0";
        QTest::newRow("minus one") << "loglines=-1";
        QTest::newRow("garbage") << "loglines=many";
    }
    void unlimitedLogGrows()
    {
        QFETCH(QString, setting);
        MainWindowFixture f(false, setting);
        for (int i = 0; i < 50; ++i)
            f.window->AddLog(QString::number(i));
        QCOMPARE(f.log().size(), 50);
    }

    void timeStampPrefixesOnlyNewLines()
    {
        MainWindowFixture f(false);
        f.window->AddLog("before");
        f.trigger("Showtimestamp1"); // F5
        f.window->AddLog("after");
        f.window->AddLog("");
        const QRegularExpression stamp(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d\\d \\d\\d:\\d\\d:\\d\\d $"));
        QVERIFY2(stamp.match(f.log().at(0)).hasMatch(), qPrintable(f.log().at(0)));
        QVERIFY(f.log().at(1).endsWith(QStringLiteral(" after")));
        QCOMPARE(f.log().at(2), QStringLiteral("before"));
        f.trigger("Showtimestamp1");
        f.window->AddLog("plain");
        QCOMPARE(f.log().at(0), QStringLiteral("plain"));
    }

    void clearLogAsksFirst()
    {
        MainWindowFixture f(false);
        f.window->AddLog("kept");
        f.prompts.questionAnswers = {false};
        f.trigger("Clearlog1");
        QCOMPARE(f.prompts.boxes.last().caption, QStringLiteral("Question"));
        QCOMPARE(f.prompts.boxes.last().text, QStringLiteral("Clear Log?"));
        QCOMPARE(f.log(), QStringList({"kept"}));
        f.prompts.questionAnswers = {true};
        f.trigger("Clearlog1");
        QVERIFY(f.log().isEmpty());
    }

    void saveLogWritesNewestFirstWithCrLf()
    {
        MainWindowFixture f(false);
        f.window->AddLog("old");
        f.window->AddLog("new");
        const QString path = f.dir.filePath("saved.log");
        f.prompts.fileAnswers = {path};
        f.trigger("Savelog1");
        const FileDialogSettings& dialog = f.prompts.fileDialogs.last().settings;
        QVERIFY(f.prompts.fileDialogs.last().save);
        QCOMPARE(dialog.title, QStringLiteral("Save log"));
        QCOMPARE(dialog.filter, QStringLiteral("*.log|*.log|*.*|*.*"));
        QCOMPARE(dialog.defaultExt, QStringLiteral(".log"));
        QCOMPARE(dialog.initialDir, f.dir.path() + '/');
        QVERIFY(dialog.overwritePrompt && dialog.hideReadOnly && dialog.pathMustExist);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("new\r\nold\r\n"));
    }

    void savingAnEmptyLogGivesAnEmptyFile()
    {
        MainWindowFixture f(false);
        const QString path = f.dir.filePath("empty.log");
        f.prompts.fileAnswers = {path};
        f.trigger("Savelog1");
        QCOMPARE(QFileInfo(path).size(), 0);
        QVERIFY(f.prompts.errorTexts().isEmpty());
    }

    void failedSaveReportsAndKeepsTheOldFile()
    {
        MainWindowFixture f(false);
        f.window->AddLog("line");
        f.prompts.fileAnswers = {f.dir.filePath("missing/folder/x.log")};
        f.trigger("Savelog1");
        QCOMPARE(f.prompts.boxes.size(), 1);
        QVERIFY(f.prompts.boxes.last().text.contains(QStringLiteral("x.log")));
        QCOMPARE(f.log(), QStringList({"line"}));

        // A folder in the way of the target: the write fails, the folder stays as it was.
        const QString blocked = f.dir.filePath("blocked.log");
        QVERIFY(QDir().mkpath(blocked + "/inside"));
        f.prompts.fileAnswers = {blocked};
        f.trigger("Savelog1");
        QCOMPARE(f.prompts.boxes.size(), 2);
        QVERIFY(QFileInfo(blocked + "/inside").isDir());
    }

    void displayItemsAreExclusive_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("panel");
        QTest::newRow("F2") << "ShowASCII1" << 2 << " Show ASCII";
        QTest::newRow("F3") << "ShowBINARY1" << 1 << " Show BINARY";
        QTest::newRow("F1") << "ShowHEX1" << 0 << " Show HEX";
    }
    void displayItemsAreExclusive()
    {
        QFETCH(QString, item);
        QFETCH(int, mode);
        QFETCH(QString, panel);
        MainWindowFixture f(false);
        f.trigger("ShowBINARY1");
        f.trigger(item.toLatin1().constData());
        f.trigger(item.toLatin1().constData()); // choosing it again keeps it chosen
        for (const char* name : {"ShowHEX1", "ShowASCII1", "ShowBINARY1"})
            QCOMPARE(f.action(name)->isChecked(), item == QLatin1String(name));
        QCOMPARE(int(f.link().DisplayMode.load()), mode);
        QCOMPARE(f.statusPanel(0), panel);
    }

    void crLfItemMirrorsTheOption()
    {
        MainWindowFixture f(false);
        f.trigger("ShowCRLF1");
        QVERIFY(!f.action("ShowCRLF1")->isChecked());
        QVERIFY(!f.link().ShowCRLF);
        f.trigger("ShowCRLF1");
        QVERIFY(f.link().ShowCRLF);
    }

    void aboutShowsTheProgramName()
    {
        MainWindowFixture f(false);
        f.trigger("About1");
        QCOMPARE(f.prompts.boxes.last().caption, QStringLiteral("Information"));
        QVERIFY(f.prompts.boxes.last().text.startsWith(QStringLiteral("Vantorel\r\r")));
    }

    void exitClosesWithoutAQuestion()
    {
        MainWindowFixture f(false);
        f.link().OpenOnActivate = false;
        f.activate();
        f.trigger("Exit1");
        QVERIFY(!f.window->isVisible());
        QVERIFY(f.prompts.boxes.isEmpty());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
