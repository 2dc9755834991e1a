// The positioner table dialog driven like a user: its controls, what "Store Data" accepts
// into PositionTable, how it closes, and its ".pos" files.
#include "ScriptedPrompts.h"
#include "SystemMessage.h"
#include "TableDialogTestKit.h"
#include "Tables.h"
#include "Unit2.h"
#include "Unitx.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>

#include <memory>

namespace {

constexpr int Positions = PositionCount;
// The system's code for a file whose folder is missing.
#ifdef Q_OS_WIN
constexpr int MissingFolderError = 3; // ERROR_PATH_NOT_FOUND
#else
constexpr int MissingFolderError = ENOENT;
#endif

QByteArray positionTableBytes(const TForm2& dialog)
{
    return QByteArray(reinterpret_cast<const char*>(dialog.PositionTable.data()),
                      static_cast<int>(dialog.PositionTable.size()));
}

void setPositionTable(TForm2& dialog, const QByteArray& bytes)
{
    std::copy(bytes.begin(), bytes.end(), dialog.PositionTable.begin());
}

QString programFolderText()
{
    return QFile::decodeName(AppDir().c_str());
}

} // namespace

class TestPositionerDialog : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void frameAndCaption();
    void controlGeometry_data();
    void controlGeometry();
    void labelsNameTheirPositions();
    void fonts();
    void tabOrderRunsThroughEditsThenButtons();
    void noButtonIsDefault();
    void startsWithZeros();
    void fileDialogSettings_data();
    void fileDialogSettings();
    void showDataWritesDecimal();
    void storeDataReadsEdit_data();
    void storeDataReadsEdit();
    void storeDataTrimsControlCharacters();
    void invalidEditStopsStoreThere();
    void storeDataEndsWithOkOnlyWhenValid_data();
    void storeDataEndsWithOkOnlyWhenValid();
    void cancelWays_data();
    void cancelWays();
    void saveWritesTableAsTyped();
    void saveWithInvalidEditAsksForNoFile();
    void cancelledSaveKeepsStoredValues();
    void loadShowsFirstBytesOfFile();
    void loadThenSaveCarriesByte32();
    void loadFailureKeepsEdits_data();
    void loadFailureKeepsEdits();
    void terminatingApplicationShowsNothing();
    void centredFirstThenKeptWhereLeft();
    void firstShowingStaysOnTheScreen();

private:
    QLineEdit* edit(int number) const { return editOf(dialog_, number); }
    QStringList editTexts() const;

    std::unique_ptr<ScriptedPrompts> prompts_;
    std::unique_ptr<QWidget> mainWindow_;
    TForm2* dialog_ = nullptr;
    std::unique_ptr<QTemporaryDir> folder_;
};

void TestPositionerDialog::init()
{
    prompts_ = std::make_unique<ScriptedPrompts>();
    mainWindow_ = std::make_unique<QWidget>();
    mainWindow_->setGeometry(100, 100, 600, 400);
    mainWindow_->show();
    dialog_ = new TForm2(mainWindow_.get());
    folder_ = std::make_unique<QTemporaryDir>();
    QVERIFY(folder_->isValid());
}

void TestPositionerDialog::cleanup()
{
    mainWindow_.reset(); // owns the dialog
    dialog_ = nullptr;
    prompts_.reset();
}

QStringList TestPositionerDialog::editTexts() const
{
    QStringList texts;
    for (int i = 0; i < Positions; ++i)
        texts << edit(i)->text();
    return texts;
}

void TestPositionerDialog::frameAndCaption()
{
    QCOMPARE(dialog_->objectName(), QString("Form2"));
    QCOMPARE(dialog_->windowTitle(), QString("Positioner settings"));
    QCOMPARE(dialog_->size(), QSize(496, 192));
    QCOMPARE(dialog_->minimumSize(), QSize(496, 192));
    QCOMPARE(dialog_->maximumSize(), QSize(496, 192));
    const Qt::WindowFlags flags = dialog_->windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(dialog_->isHidden());
}

void TestPositionerDialog::controlGeometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("Edit0") << "Edit0" << QRect(32, 18, 35, 28);
    QTest::newRow("Edit1") << "Edit1" << QRect(91, 18, 35, 28);
    QTest::newRow("Edit7") << "Edit7" << QRect(445, 18, 35, 28);
    QTest::newRow("Edit8") << "Edit8" << QRect(30, 51, 35, 28);
    QTest::newRow("Edit19") << "Edit19" << QRect(212, 83, 35, 28);
    QTest::newRow("Edit24") << "Edit24" << QRect(30, 114, 35, 28);
    QTest::newRow("Edit31") << "Edit31" << QRect(445, 114, 35, 28);
    QTest::newRow("BitBtn1") << "BitBtn1" << QRect(14, 156, 100, 25);
    QTest::newRow("BitBtn2") << "BitBtn2" << QRect(122, 156, 100, 25);
    QTest::newRow("BitBtn3") << "BitBtn3" << QRect(230, 156, 100, 25);
    QTest::newRow("BitBtn4") << "BitBtn4" << QRect(338, 156, 100, 25);
}

void TestPositionerDialog::controlGeometry()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    auto* control = dialog_->findChild<QWidget*>(name);
    QVERIFY(control);
    QCOMPARE(control->geometry(), geometry);
}

void TestPositionerDialog::labelsNameTheirPositions()
{
    for (int i = 0; i < Positions; ++i) {
        QLabel* label = labelOf(dialog_, i + 1);
        const QRect editRect = edit(i)->geometry();
        QCOMPARE(label->text(), QString::number(i));
        QVERIFY2(label->geometry().right() < editRect.left() && label->geometry().right() >= editRect.left() - 4,
                 qPrintable(label->objectName()));
        QVERIFY(label->geometry().top() >= editRect.top() && label->geometry().bottom() <= editRect.bottom());
    }
    const QStringList captions = {"Store Data", "Cancel", "Save Data", "Load Data"};
    for (int i = 0; i < captions.size(); ++i) {
        QCOMPARE(buttonOf(dialog_, i + 1)->text(), captions[i]);
        QVERIFY(!buttonOf(dialog_, i + 1)->icon().isNull());
    }
}

void TestPositionerDialog::fonts()
{
    QCOMPARE(dialog_->font().family(), QString("MS Sans Serif"));
    QCOMPARE(dialog_->font().pixelSize(), 11);
    QCOMPARE(edit(13)->font().pixelSize(), 16);
    QCOMPARE(labelOf(dialog_, 14)->font().pixelSize(), 16);
    QCOMPARE(buttonOf(dialog_, 1)->font().pixelSize(), 11);
}

void TestPositionerDialog::tabOrderRunsThroughEditsThenButtons()
{
    QStringList expected;
    for (int i = 0; i < Positions; ++i)
        expected << QStringLiteral("Edit%1").arg(i);
    expected << "BitBtn1" << "BitBtn2" << "BitBtn3" << "BitBtn4";
    QCOMPARE(tabOrder(edit(0)), expected);
}

void TestPositionerDialog::noButtonIsDefault()
{
    for (int i = 1; i <= 4; ++i) {
        QVERIFY(!buttonOf(dialog_, i)->isDefault());
        QVERIFY(!buttonOf(dialog_, i)->autoDefault());
    }
    // Enter in an edit stores nothing and leaves the dialog open.
    QVERIFY(showActive(dialog_));
    typeInto(edit(0), "12");
    QTest::keyClick(edit(0), Qt::Key_Return);
    QVERIFY(dialog_->isVisible());
    QCOMPARE(dialog_->PositionTable[0], std::uint8_t(0));
}

void TestPositionerDialog::startsWithZeros()
{
    QCOMPARE(editTexts(), QStringList(Positions, "0"));
    QCOMPARE(dialog_->sd.initialDir, programFolderText());
    QCOMPARE(dialog_->od.initialDir, programFolderText());
}

void TestPositionerDialog::fileDialogSettings_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("save");
    QTest::addColumn<QString>("title");
    QTest::newRow("Save Data") << 3 << true << "Save";
    QTest::newRow("Load Data") << 4 << false << "Open";
}

void TestPositionerDialog::fileDialogSettings()
{
    QFETCH(int, button);
    QFETCH(bool, save);
    QFETCH(QString, title);

    buttonOf(dialog_, button)->click();

    QCOMPARE(prompts_->fileDialogs.size(), 1);
    const auto& shown = prompts_->fileDialogs.first();
    QCOMPARE(shown.save, save);
    QCOMPARE(shown.settings.title, title);
    QCOMPARE(shown.settings.filter, QString("*.pos|*.pos|*.*|*.*"));
    QCOMPARE(shown.settings.defaultExt, QString(".pos"));
    QCOMPARE(shown.settings.initialDir, programFolderText());
    QCOMPARE(shown.settings.overwritePrompt, save);
    QCOMPARE(shown.settings.fileMustExist, !save);
    QVERIFY(shown.settings.hideReadOnly);
    QVERIFY(shown.settings.pathMustExist);
    QVERIFY(shown.settings.resizable);
    QVERIFY(prompts_->boxes.isEmpty());
}

void TestPositionerDialog::showDataWritesDecimal()
{
    dialog_->PositionTable[0] = 0;
    dialog_->PositionTable[1] = 7;
    dialog_->PositionTable[2] = 10;
    dialog_->PositionTable[31] = 255;
    dialog_->PositionTable[32] = 99;

    dialog_->ShowData();

    QCOMPARE(edit(0)->text(), QString("0"));
    QCOMPARE(edit(1)->text(), QString("7"));
    QCOMPARE(edit(2)->text(), QString("10"));
    QCOMPARE(edit(31)->text(), QString("255"));
    QVERIFY(!editTexts().contains("99"));
}

void TestPositionerDialog::storeDataReadsEdit_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("stored"); // -1: rejected
    QTest::addColumn<QString>("error");

    QTest::newRow("blanks around") << 5 << " 17 " << 17 << QString();
    QTest::newRow("0x prefix") << 5 << "0x1F" << 31 << QString();
    QTest::newRow("lower-case hex") << 5 << "0x1f" << 31 << QString();
    QTest::newRow("$ prefix") << 5 << "$FF" << 255 << QString();
    QTest::newRow("x prefix") << 5 << "x1F" << 31 << QString();
    QTest::newRow("plus sign") << 5 << "+12" << 12 << QString();
    QTest::newRow("leading zeros") << 5 << "007" << 7 << QString();
    QTest::newRow("zero") << 5 << "0" << 0 << QString();
    QTest::newRow("256") << 5 << "256" << -1 << "Invalid value 5:256! (0..255)";
    QTest::newRow("300 with blank") << 5 << " 300" << -1 << "Invalid value 5: 300! (0..255)";
    QTest::newRow("empty") << 3 << "" << -1 << "Invalid value 3:! (0..255)";
    QTest::newRow("minus one") << 3 << "-1" << -1 << "Invalid value 3:-1! (0..255)";
    QTest::newRow("letters") << 3 << "abc" << -1 << "Invalid value 3:abc! (0..255)";
    QTest::newRow("hex without prefix") << 3 << "1F" << -1 << "Invalid value 3:1F! (0..255)";
    QTest::newRow("$FFFFFFFF is -1") << 3 << "$FFFFFFFF" << -1 << "Invalid value 3:$FFFFFFFF! (0..255)";
    QTest::newRow("blank inside") << 31 << "1 2" << -1 << "Invalid value 31:1 2! (0..255)";
}

void TestPositionerDialog::storeDataReadsEdit()
{
    QFETCH(int, number);
    QFETCH(QString, typed);
    QFETCH(int, stored);
    QFETCH(QString, error);
    dialog_->PositionTable[number] = 0x42;
    typeInto(edit(number), typed);

    const int result = dialog_->StoreData();

    QCOMPARE(result, stored >= 0 ? 1 : 0);
    QCOMPARE(prompts_->errorTexts(), error.isEmpty() ? QStringList() : QStringList{error});
    QCOMPARE(int(dialog_->PositionTable[number]), stored >= 0 ? stored : 0x42);
    QCOMPARE(edit(number)->text(), typed);
}

void TestPositionerDialog::storeDataTrimsControlCharacters()
{
    edit(9)->clear();
    edit(9)->insert(QStringLiteral("\t 0x20\x01\x1F")); // as pasted
    QVERIFY(edit(9)->text().startsWith('\t'));

    QCOMPARE(dialog_->StoreData(), 1);

    QCOMPARE(dialog_->PositionTable[9], std::uint8_t(0x20));
}

void TestPositionerDialog::invalidEditStopsStoreThere()
{
    setPositionTable(*dialog_, QByteArray(33, char(0xAA)));
    for (int i = 0; i < Positions; ++i)
        edit(i)->setText(QString::number(i + 1));
    typeInto(edit(7), "x");
    typeInto(edit(20), "999");
    QVERIFY(showActive(dialog_));
    edit(0)->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), edit(0));

    buttonOf(dialog_, 1)->click();

    QCOMPARE(prompts_->errorTexts(), QStringList{"Invalid value 7:x! (0..255)"});
    QTRY_COMPARE(QApplication::focusWidget(), edit(7));
    QVERIFY(dialog_->isVisible());
    QByteArray expected = countingBytes(7);
    expected.append(QByteArray(26, char(0xAA)));
    QCOMPARE(positionTableBytes(*dialog_), expected);
}

void TestPositionerDialog::storeDataEndsWithOkOnlyWhenValid_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("byte5");
    QTest::newRow("valid") << "$80" << int(QDialog::Accepted) << 0x80;
    QTest::newRow("invalid") << "256" << LeftOpen << 0;
}

void TestPositionerDialog::storeDataEndsWithOkOnlyWhenValid()
{
    QFETCH(QString, typed);
    QFETCH(int, result);
    QFETCH(int, byte5);

    const int ended = runModal(dialog_, [&] {
        typeInto(edit(5), typed);
        buttonOf(dialog_, 1)->click();
    });

    QCOMPARE(ended, result);
    QCOMPARE(int(dialog_->PositionTable[5]), byte5);
}

void TestPositionerDialog::cancelWays_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("Cancel button") << "button";
    QTest::newRow("Esc key") << "escape";
    QTest::newRow("title bar close box") << "close";
}

void TestPositionerDialog::cancelWays()
{
    QFETCH(QString, way);
    QSignalSpy cancelClicks(buttonOf(dialog_, 2), &QPushButton::clicked);

    const int ended = runModal(dialog_, [&] {
        typeInto(edit(0), "99");
        if (way == "button")
            QTest::mouseClick(buttonOf(dialog_, 2), Qt::LeftButton);
        else if (way == "escape")
            QTest::keyClick(edit(0), Qt::Key_Escape);
        else
            dialog_->close();
    });

    QCOMPARE(ended, int(QDialog::Rejected));
    QCOMPARE(cancelClicks.count(), 1);
    QVERIFY(dialog_->isHidden());
    QCOMPARE(dialog_->PositionTable[0], std::uint8_t(0));
    QCOMPARE(edit(0)->text(), QString("99")); // the edits keep their texts between showings
}

void TestPositionerDialog::saveWritesTableAsTyped()
{
    setPositionTable(*dialog_, countingBytes(33));
    dialog_->PositionTable[32] = 0x5A;
    dialog_->ShowData();
    typeInto(edit(4), "0x10");
    const QString path = folder_->filePath("saved.pos");
    prompts_->fileAnswers.push_back(path);

    buttonOf(dialog_, 3)->click();

    QByteArray expected = countingBytes(33);
    expected[4] = 0x10;
    expected[32] = 0x5A;
    QCOMPARE(readFileBytes(path), expected);
    QCOMPARE(positionTableBytes(*dialog_), expected);
    QVERIFY(prompts_->boxes.isEmpty());
}

void TestPositionerDialog::saveWithInvalidEditAsksForNoFile()
{
    typeInto(edit(5), "256");
    prompts_->fileAnswers.push_back(folder_->filePath("saved.pos"));

    buttonOf(dialog_, 3)->click();

    QCOMPARE(prompts_->errorTexts(), QStringList{"Invalid value 5:256! (0..255)"});
    QVERIFY(prompts_->fileDialogs.isEmpty());
    QVERIFY(!QFile::exists(folder_->filePath("saved.pos")));
}

void TestPositionerDialog::cancelledSaveKeepsStoredValues()
{
    typeInto(edit(2), "200");

    buttonOf(dialog_, 3)->click();

    QCOMPARE(prompts_->fileDialogs.size(), 1);
    QCOMPARE(dialog_->PositionTable[2], std::uint8_t(200));
    QVERIFY(prompts_->boxes.isEmpty());
}

void TestPositionerDialog::loadShowsFirstBytesOfFile()
{
    const QString path = folder_->filePath("long.pos");
    writeFileBytes(path, countingBytes(40, 100));
    prompts_->fileAnswers.push_back(path);

    buttonOf(dialog_, 4)->click();

    QVERIFY(prompts_->boxes.isEmpty());
    QCOMPARE(positionTableBytes(*dialog_), countingBytes(33, 100));
    QStringList expected;
    for (int i = 0; i < Positions; ++i)
        expected << QString::number(100 + i);
    QCOMPARE(editTexts(), expected);
}

void TestPositionerDialog::loadThenSaveCarriesByte32()
{
    QByteArray record = countingBytes(33, 60);
    record[32] = 0x77;
    // Names in any script load and save as given (on Windows beyond every ANSI code page).
    const QString in = folder_->filePath(QStringLiteral("in Ωmega таблица.pos"));
    const QString out = folder_->filePath(QStringLiteral("out Łódź 𝄞.pos"));
    writeFileBytes(in, record);
    prompts_->fileAnswers.push_back(in);
    prompts_->fileAnswers.push_back(out);

    buttonOf(dialog_, 4)->click();
    buttonOf(dialog_, 3)->click();

    QCOMPARE(dialog_->PositionTable[32], std::uint8_t(0x77));
    QCOMPARE(readFileBytes(out), record);
    QVERIFY(prompts_->boxes.isEmpty());
}

void TestPositionerDialog::loadFailureKeepsEdits_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("fileSize"); // -1: no file is made
    QTest::addColumn<QString>("error");
    QTest::newRow("20-byte file") << "short.pos" << 20 << fileError("Read beyond end of file", 0);
    QTest::newRow("missing file") << "missing.pos" << -1 << fileError("File not found", ENOENT);
    QTest::newRow("missing folder") << "gone/table.pos" << -1 << fileError("Invalid filename", MissingFolderError);
}

void TestPositionerDialog::loadFailureKeepsEdits()
{
    QFETCH(QString, name);
    QFETCH(int, fileSize);
    QFETCH(QString, error);
    const QString path = folder_->filePath(name);
    if (fileSize >= 0)
        writeFileBytes(path, countingBytes(fileSize, 100));
    typeInto(edit(1), "abc"); // loading must not look at the edits
    const QStringList textsBefore = editTexts();
    prompts_->fileAnswers.push_back(path);

    buttonOf(dialog_, 4)->click();

    QCOMPARE(prompts_->errorTexts(), QStringList{error});
    QCOMPARE(editTexts(), textsBefore);
    QCOMPARE(positionTableBytes(*dialog_), QByteArray(33, '\0'));
}

void TestPositionerDialog::terminatingApplicationShowsNothing()
{
    dialog_->setTerminatingCheck([] { return true; });
    bool shown = false;
    const int ended = runModal(dialog_, [&] { shown = true; });

    QCOMPARE(ended, int(QDialog::Rejected));
    QVERIFY(!shown);
    QVERIFY(dialog_->isHidden());
}

void TestPositionerDialog::centredFirstThenKeptWhereLeft()
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
        dialog_->BitBtn2Click();
    });
    const QPoint mainCentre = mainWindow_->geometry().center();
    const QPoint offset = firstCentre - mainCentre;
    QVERIFY2(std::abs(offset.x()) <= frameSlack.width() + 1 && std::abs(offset.y()) <= frameSlack.height() + 1,
             qPrintable(QStringLiteral("dialog centre %1,%2, main window centre %3,%4")
                            .arg(firstCentre.x()).arg(firstCentre.y()).arg(mainCentre.x()).arg(mainCentre.y())));

    mainWindow_->move(400, 300);
    QPoint secondPlace;
    runModal(dialog_, [&] { secondPlace = dialog_->frameGeometry().topLeft(); });

    QCOMPARE(secondPlace, userPlace);
}

void TestPositionerDialog::firstShowingStaysOnTheScreen()
{
    // Centred over a main window in the screen's corner, the dialog would stick out.
    mainWindow_->setGeometry(0, 0, 200, 100);
    QRect placed;
    runModal(dialog_, [&] {
        placed = dialog_->geometry();
        dialog_->BitBtn2Click();
    });
    QVERIFY(mainWindow_->screen()->availableGeometry().contains(placed));
}

QTEST_MAIN(TestPositionerDialog)
#include "tst_positionerdialog.moc"
