// What the positioner and remote-control dialogs share, driven like a user in each: the fixed
// frame, controls that lie apart inside it, the buttons, tab order and keys, what "Store Data"
// accepts into the table, the ways to cancel, the table files and where the dialog shows.
#include "TableDialogTestKit.h"
#include "ui/tables/TableDialog.h"
#include "ui/tables/Tables.h"
#include "ui/tables/Unit2.h"
#include "ui/tables/Unit3.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QWindow>
#include <QtTest>

#include <algorithm>
#include <memory>

using MakeDialog = TableDialogBench::MakeDialog;
Q_DECLARE_METATYPE(MakeDialog)

namespace {

// The system's code for a file whose folder is missing.
#ifdef Q_OS_WIN
constexpr int MissingFolderError = 3; // ERROR_PATH_NOT_FOUND
#else
constexpr int MissingFolderError = ENOENT;
#endif

// The edits, labels and buttons a user sees.
QList<QWidget*> controlsOf(QWidget* dialog)
{
    QList<QWidget*> controls;
    for (QWidget* widget : dialog->findChildren<QWidget*>()) {
        if (!widget->objectName().isEmpty()
            && (qobject_cast<QLineEdit*>(widget) || qobject_cast<QLabel*>(widget) || qobject_cast<QPushButton*>(widget)))
            controls << widget;
    }
    return controls;
}

// Where a user sees the control: a label's text (its box is not drawn), an edit or a button whole.
QRect seenRect(const QWidget* control)
{
    const QRect place = rectInWindow(control);
    const auto* label = qobject_cast<const QLabel*>(control);
    if (!label)
        return place;
    // A label paints no further than its own box, whatever its font makes of the text.
    return label->fontMetrics()
        .boundingRect(label->contentsRect(), int(label->alignment()), label->text())
        .intersected(label->contentsRect())
        .translated(place.topLeft());
}

} // namespace

class TestTableDialogs : public QObject {
    Q_OBJECT

private slots:
    void initTestCase_data();
    void init();
    void cleanup();

    void frameCaptionAndFonts();
    void controlsLieApartInsideTheDialog();
    void everyLabelStandsNextToAnEdit();
    void buttonsCarryCaptionsAndGlyphs();
    void enterInAnEditPressesNoButton();
    void eachShowingStartsOnTheFirstEditAndReturnPressesTheFocusedButton();
    void tabOrderRunsThroughEditsThenButtons();
    void startsWithZerosInTheProgramFolder();
    void fileDialogSettings();
    void storeDataReadsEdit_data();
    void storeDataReadsEdit();
    void storeDataTrimsControlCharacters();
    void firstInvalidEditIsTheOnlyOneReported();
    void storeDataEndsWithOkOnlyWhenValid_data();
    void storeDataEndsWithOkOnlyWhenValid();
    void cancelWays_data();
    void cancelWays();
    void saveWritesTableAsTyped();
    void saveWithInvalidEditAsksForNoFile();
    void cancelledSaveKeepsStoredValues();
    void loadShowsFirstBytesOfFileAndSavesThem();
    void loadFailureKeepsEdits_data();
    void loadFailureKeepsEdits();
    void terminatingApplicationShowsNothing();
    void centredFirstThenKeptWhereLeft();
    void firstShowingStaysOnTheScreen();

private:
    QLineEdit* edit(int number) const { return editOf(dialog_, number); }
    QLineEdit* lastEdit() const { return edit(edits_ - 1); }
    QPushButton* button(const QString& caption) const { return buttonOf(dialog_, buttons_.indexOf(caption) + 1); }
    QString shown(int value) const { return QString::asprintf(byteForm_.constData(), value); }
    ScriptedPrompts& prompts() const { return bench_->prompts; }
    QString fileName(const QString& name) const { return bench_->folder.filePath(name + extension_); }

    std::unique_ptr<TableDialogBench> bench_;
    TableDialog* dialog_ = nullptr;
    int edits_ = 0;
    QStringList buttons_;
    QByteArray byteForm_;
    QString extension_;
};

void TestTableDialogs::initTestCase_data()
{
    QTest::addColumn<MakeDialog>("make");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("edits"); // Edit0 on, one for each table byte shown
    QTest::addColumn<QByteArray>("byteForm"); // how an edit shows a byte
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<QString>("extension");
    QTest::newRow("positioner") << &makeDialog<TForm2> << "Form2" << "Positioner settings" << PositionCount
                                << QByteArray("%d") << QStringList{"Store Data", "Cancel", "Save Data", "Load Data"}
                                << ".pos";
    QTest::newRow("remote") << &makeDialog<TForm3> << "Form3" << "Remote control" << BoxRequests::RemoteTableSize
                            << QByteArray("0x%02X")
                            << QStringList{"Store Data", "Cancel", "Clear", "Save Data", "Load Data"} << ".rem";
}

void TestTableDialogs::init()
{
    QFETCH_GLOBAL(MakeDialog, make);
    QFETCH_GLOBAL(int, edits);
    QFETCH_GLOBAL(QStringList, buttons);
    QFETCH_GLOBAL(QByteArray, byteForm);
    QFETCH_GLOBAL(QString, extension);
    bench_ = std::make_unique<TableDialogBench>(make);
    dialog_ = bench_->dialog;
    edits_ = edits;
    buttons_ = buttons;
    byteForm_ = byteForm;
    extension_ = extension;
}

void TestTableDialogs::cleanup()
{
    bench_.reset();
    dialog_ = nullptr;
}

void TestTableDialogs::frameCaptionAndFonts()
{
    QFETCH_GLOBAL(QString, name);
    QFETCH_GLOBAL(QString, caption);
    QCOMPARE(dialog_->objectName(), name);
    QCOMPARE(dialog_->windowTitle(), caption);
    QCOMPARE(dialog_->minimumSize(), dialog_->size());
    QCOMPARE(dialog_->maximumSize(), dialog_->size());
    const Qt::WindowFlags flags = dialog_->windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(dialog_->isHidden());

    QCOMPARE(dialog_->font().family(), QString("MS Sans Serif"));
    QCOMPARE(dialog_->font().pixelSize(), 11);
    for (QWidget* control : controlsOf(dialog_))
        QCOMPARE(control->font().pixelSize(), qobject_cast<QPushButton*>(control) ? 11 : 16);
}

// Where the controls stand is the dialog's own design; a user sees it wrong when controls
// cover one another, stick out of the dialog or leave a blank band along its edges.
void TestTableDialogs::controlsLieApartInsideTheDialog()
{
    const QList<QWidget*> controls = controlsOf(dialog_);
    QRect used;
    for (int i = 0; i < controls.size(); ++i) {
        const QRect place = seenRect(controls[i]);
        QVERIFY2(dialog_->rect().contains(place), qPrintable(controls[i]->objectName()));
        used |= place;
        for (int j = i + 1; j < controls.size(); ++j)
            QVERIFY2(!place.intersects(seenRect(controls[j])),
                     qPrintable(controls[i]->objectName() + " and " + controls[j]->objectName()));
    }
    const int widestBand = std::max({used.left(), used.top(), dialog_->width() - 1 - used.right(),
                                     dialog_->height() - 1 - used.bottom()});
    QVERIFY2(widestBand < buttonOf(dialog_, 1)->height(), qPrintable(QStringLiteral("%1 px").arg(widestBand)));
}

void TestTableDialogs::everyLabelStandsNextToAnEdit()
{
    for (QLabel* label : dialog_->findChildren<QLabel*>())
        QVERIFY2(editNextTo(label), qPrintable(label->objectName()));
}

void TestTableDialogs::buttonsCarryCaptionsAndGlyphs()
{
    for (int i = 0; i < buttons_.size(); ++i) {
        QPushButton* button = buttonOf(dialog_, i + 1);
        QCOMPARE(button->text(), buttons_[i]);
        QVERIFY(!button->icon().isNull());
        QVERIFY(!button->isDefault() && !button->autoDefault());
    }
}

void TestTableDialogs::enterInAnEditPressesNoButton()
{
    QVERIFY(showActive(dialog_));
    typeInto(edit(0), "12");
    QTest::keyClick(edit(0), Qt::Key_Return);
    QVERIFY(dialog_->isVisible());
    QCOMPARE(tableOf(dialog_), QByteArray(dialog_->kind().size, '\0'));
}

void TestTableDialogs::eachShowingStartsOnTheFirstEditAndReturnPressesTheFocusedButton()
{
    // The first showing ends on "Cancel", the second on "Store Data" with the keypad's Enter.
    const struct {
        const char* button;
        Qt::KeyboardModifiers modifiers;
        Qt::Key key;
        int result;
    } showings[] = {{"Cancel", Qt::NoModifier, Qt::Key_Return, QDialog::Rejected},
                    {"Store Data", Qt::KeypadModifier, Qt::Key_Enter, QDialog::Accepted}};
    for (const auto& showing : showings) {
        const int ended = runModal(dialog_, [&] {
            QTRY_COMPARE(QApplication::focusWidget(), edit(0));
            button(showing.button)->setFocus();
            QTest::keyClick(button(showing.button), showing.key, showing.modifiers);
        });
        QCOMPARE(ended, showing.result);
    }
}

void TestTableDialogs::tabOrderRunsThroughEditsThenButtons()
{
    QStringList expected;
    for (int i = 0; i < edits_; ++i)
        expected << QStringLiteral("Edit%1").arg(i);
    for (int i = 1; i <= buttons_.size(); ++i)
        expected << QStringLiteral("BitBtn%1").arg(i);
    QCOMPARE(tabOrder(edit(0)), expected);
}

void TestTableDialogs::startsWithZerosInTheProgramFolder()
{
    QCOMPARE(editTexts(dialog_, edits_), QStringList(edits_, shown(0)));
    QCOMPARE(dialog_->sd.initialDir, programFolderText());
    QCOMPARE(dialog_->od.initialDir, programFolderText());
}

void TestTableDialogs::fileDialogSettings()
{
    button("Save Data")->click();
    button("Load Data")->click();

    QCOMPARE(prompts().fileDialogs.size(), 2);
    for (int i = 0; i < 2; ++i) {
        const bool save = i == 0;
        const FileDialogSettings& settings = prompts().fileDialogs[i].settings;
        QCOMPARE(prompts().fileDialogs[i].save, save);
        QCOMPARE(settings.title, save ? QString("Save") : QString("Open"));
        QCOMPARE(settings.filter, QStringLiteral("*%1|*%1|*.*|*.*").arg(extension_));
        QCOMPARE(settings.defaultExt, extension_);
        QCOMPARE(settings.initialDir, programFolderText());
        QCOMPARE(settings.overwritePrompt, save);
        QCOMPARE(settings.fileMustExist, !save);
        QVERIFY(settings.hideReadOnly && settings.pathMustExist && settings.resizable);
    }
    QVERIFY(prompts().boxes.isEmpty());
}

void TestTableDialogs::storeDataReadsEdit_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("stored"); // -1: rejected

    QTest::newRow("blanks around") << 5 << " 17 " << 17;
    QTest::newRow("0x prefix") << 5 << "0x1F" << 31;
    QTest::newRow("lower-case hex") << 5 << "0x1f" << 31;
    QTest::newRow("$ prefix") << 5 << "$FF" << 255;
    QTest::newRow("x prefix") << 5 << "x1f" << 31;
    QTest::newRow("plus sign") << 5 << "+12" << 12;
    QTest::newRow("leading zeros") << 5 << "007" << 7;
    QTest::newRow("zero") << 5 << "0" << 0;
    QTest::newRow("0xff in the last grid edit") << 31 << "0xff" << 255;
    QTest::newRow("256") << 5 << "256" << -1;
    QTest::newRow("300 with blank") << 5 << " 300" << -1;
    QTest::newRow("0x100") << 12 << "0x100" << -1;
    QTest::newRow("empty") << 3 << "" << -1;
    QTest::newRow("minus one") << 3 << "-1" << -1;
    QTest::newRow("letters") << 3 << "abc" << -1;
    QTest::newRow("hex without prefix") << 3 << "1F" << -1;
    QTest::newRow("$FFFFFFFF is -1") << 3 << "$FFFFFFFF" << -1;
    QTest::newRow("blank inside") << 31 << "1 2" << -1;
    QTest::newRow("shown as typed") << 4 << " 0x1g" << -1;
}

void TestTableDialogs::storeDataReadsEdit()
{
    QFETCH(int, number);
    QFETCH(QString, typed);
    QFETCH(int, stored);
    const int size = dialog_->kind().size;
    showThenMarkTable(dialog_, countingBytes(size));
    typeInto(edit(number), typed);

    const int result = dialog_->StoreData();

    QCOMPARE(result, stored >= 0 ? 1 : 0);
    QByteArray expected = countingBytes(edits_) + QByteArray(size - edits_, char(0xAA));
    if (stored >= 0) {
        expected[number] = static_cast<char>(stored);
        QVERIFY(prompts().boxes.isEmpty());
    } else {
        expected = expected.left(number) + QByteArray(size - number, char(0xAA));
        const QString error = QStringLiteral("Invalid value %1:%2! (0..255)").arg(number).arg(typed);
        QCOMPARE(prompts().errorTexts(), QStringList{error});
    }
    QCOMPARE(tableOf(dialog_), expected);
    QCOMPARE(edit(number)->text(), typed); // storing does not rewrite the edits
}

void TestTableDialogs::storeDataTrimsControlCharacters()
{
    edit(9)->clear();
    edit(9)->insert(QStringLiteral("\t 0x20\x01\x1F")); // as pasted
    QVERIFY(edit(9)->text().startsWith('\t'));

    QCOMPARE(dialog_->StoreData(), 1);

    QCOMPARE(dialog_->tableBytes()[9], std::uint8_t(0x20));
}

void TestTableDialogs::firstInvalidEditIsTheOnlyOneReported()
{
    const int size = dialog_->kind().size;
    showThenMarkTable(dialog_, countingBytes(size));
    typeInto(edit(7), "x");
    typeInto(lastEdit(), "999");
    QVERIFY(showActive(dialog_));
    lastEdit()->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), lastEdit());

    button("Store Data")->click();

    QCOMPARE(prompts().errorTexts(), QStringList{"Invalid value 7:x! (0..255)"});
    QTRY_COMPARE(QApplication::focusWidget(), edit(7));
    QVERIFY(dialog_->isVisible());
    QCOMPARE(tableOf(dialog_), countingBytes(7) + QByteArray(size - 7, char(0xAA)));
}

void TestTableDialogs::storeDataEndsWithOkOnlyWhenValid_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("stored");
    QTest::newRow("valid") << "$80" << int(QDialog::Accepted) << 0x80;
    QTest::newRow("invalid") << "256" << LeftOpen << 0;
}

void TestTableDialogs::storeDataEndsWithOkOnlyWhenValid()
{
    QFETCH(QString, typed);
    QFETCH(int, result);
    QFETCH(int, stored);

    const int ended = runModal(dialog_, [&] {
        typeInto(lastEdit(), typed);
        QTest::mouseClick(button("Store Data"), Qt::LeftButton);
    });

    QCOMPARE(ended, result);
    QCOMPARE(int(dialog_->tableBytes()[edits_ - 1]), stored);
}

void TestTableDialogs::cancelWays_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("Cancel button") << "button";
    QTest::newRow("Esc key") << "escape";
    QTest::newRow("title bar close box") << "close";
}

void TestTableDialogs::cancelWays()
{
    QFETCH(QString, way);
    QSignalSpy cancelClicks(button("Cancel"), &QPushButton::clicked);

    const int ended = runModal(dialog_, [&] {
        typeInto(edit(0), "99");
        if (way == "button")
            QTest::mouseClick(button("Cancel"), Qt::LeftButton);
        else if (way == "escape")
            QTest::keyClick(edit(0), Qt::Key_Escape);
        else
            dialog_->close();
    });

    QCOMPARE(ended, int(QDialog::Rejected));
    QCOMPARE(cancelClicks.count(), 1);
    QVERIFY(dialog_->isHidden());
    QCOMPARE(tableOf(dialog_), QByteArray(dialog_->kind().size, '\0'));
    QCOMPARE(edit(0)->text(), QString("99")); // the edits keep their texts between showings
}

void TestTableDialogs::saveWritesTableAsTyped()
{
    setTable(dialog_, countingBytes(dialog_->kind().size, 150));
    dialog_->ShowData();
    typeInto(edit(0), "$c0");
    typeInto(lastEdit(), "0x33");
    prompts().fileAnswers.push_back(fileName("saved"));

    QTest::mouseClick(button("Save Data"), Qt::LeftButton);

    QByteArray expected = countingBytes(dialog_->kind().size, 150);
    expected[0] = char(0xC0);
    expected[edits_ - 1] = 0x33;
    QCOMPARE(readFileBytes(fileName("saved")), expected);
    QCOMPARE(tableOf(dialog_), expected);
    QVERIFY(prompts().boxes.isEmpty());
}

void TestTableDialogs::saveWithInvalidEditAsksForNoFile()
{
    typeInto(lastEdit(), "256");
    prompts().fileAnswers.push_back(fileName("saved"));

    button("Save Data")->click();

    QCOMPARE(prompts().errorTexts().size(), 1);
    QVERIFY(prompts().fileDialogs.isEmpty());
    QVERIFY(!QFile::exists(fileName("saved")));
}

void TestTableDialogs::cancelledSaveKeepsStoredValues()
{
    typeInto(edit(2), "200");

    button("Save Data")->click();

    QCOMPARE(prompts().fileDialogs.size(), 1);
    QCOMPARE(dialog_->tableBytes()[2], std::uint8_t(200));
    QVERIFY(prompts().boxes.isEmpty());
}

void TestTableDialogs::loadShowsFirstBytesOfFileAndSavesThem()
{
    const int size = dialog_->kind().size;
    writeFileBytes(fileName("long"), countingBytes(size + 7, 100));
    prompts().fileAnswers.push_back(fileName("long"));
    prompts().fileAnswers.push_back(fileName("again"));

    button("Load Data")->click();

    QVERIFY(prompts().boxes.isEmpty());
    QCOMPARE(tableOf(dialog_), countingBytes(size, 100));
    QStringList expected;
    for (int i = 0; i < edits_; ++i)
        expected << shown(100 + i);
    QCOMPARE(editTexts(dialog_, edits_), expected);

    button("Save Data")->click();
    QCOMPARE(readFileBytes(fileName("again")), countingBytes(size, 100));
}

void TestTableDialogs::loadFailureKeepsEdits_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("oneByteShort"); // false: no file is made
    QTest::addColumn<QString>("error");
    QTest::newRow("short file") << "short" << true << fileError("Read beyond end of file", 0);
    QTest::newRow("missing file") << "missing" << false << fileError("File not found", ENOENT);
    QTest::newRow("missing folder") << "gone/table" << false << fileError("Invalid filename", MissingFolderError);
}

void TestTableDialogs::loadFailureKeepsEdits()
{
    QFETCH(QString, name);
    QFETCH(bool, oneByteShort);
    QFETCH(QString, error);
    if (oneByteShort)
        writeFileBytes(fileName(name), countingBytes(dialog_->kind().size - 1, 100));
    typeInto(edit(1), "abc"); // loading must not look at the edits
    const QStringList textsBefore = editTexts(dialog_, edits_);
    prompts().fileAnswers.push_back(fileName(name));

    button("Load Data")->click();

    QCOMPARE(prompts().errorTexts(), QStringList{error});
    QCOMPARE(editTexts(dialog_, edits_), textsBefore);
    QCOMPARE(tableOf(dialog_), QByteArray(dialog_->kind().size, '\0'));
}

void TestTableDialogs::terminatingApplicationShowsNothing()
{
    dialog_->setTerminatingCheck([] { return true; });
    bool shownModal = false;
    const int ended = runModal(dialog_, [&] { shownModal = true; });

    QCOMPARE(ended, int(QDialog::Rejected));
    QVERIFY(!shownModal);
    QVERIFY(dialog_->isHidden());
}

void TestTableDialogs::centredFirstThenKeptWhereLeft()
{
    const QPoint userPlace(30, 40);
    QPoint firstCentre;
    QSize frameSlack; // the window frame may shift the client area by its margins
    runModal(dialog_, [&] {
        firstCentre = dialog_->geometry().center();
        frameSlack = dialog_->frameGeometry().size() - dialog_->size();
        // The user drags the dialog away, through the window system as a real drag does.
        dialog_->windowHandle()->setFramePosition(userPlace);
        QTRY_COMPARE(dialog_->frameGeometry().topLeft(), userPlace);
        button("Cancel")->click();
    });
    const QPoint mainCentre = bench_->mainWindow.geometry().center();
    const QPoint offset = firstCentre - mainCentre;
    QVERIFY2(std::abs(offset.x()) <= frameSlack.width() + 1 && std::abs(offset.y()) <= frameSlack.height() + 1,
             qPrintable(QStringLiteral("dialog centre %1,%2, main window centre %3,%4")
                            .arg(firstCentre.x()).arg(firstCentre.y()).arg(mainCentre.x()).arg(mainCentre.y())));

    bench_->mainWindow.move(400, 300);
    QPoint secondPlace;
    runModal(dialog_, [&] { secondPlace = dialog_->frameGeometry().topLeft(); });

    QCOMPARE(secondPlace, userPlace);
}

void TestTableDialogs::firstShowingStaysOnTheScreen()
{
    // Centred over a main window in the screen's corner, the dialog would stick out.
    bench_->mainWindow.setGeometry(0, 0, 200, 100);
    QRect placed;
    runModal(dialog_, [&] {
        placed = dialog_->geometry();
        button("Cancel")->click();
    });
    QVERIFY(bench_->mainWindow.screen()->availableGeometry().contains(placed));
}

QTEST_MAIN(TestTableDialogs)
#include "tst_tabledialogs.moc"
