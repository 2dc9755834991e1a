// The remote-control table dialog driven like a user: its grid of "0x.." edits and the repeat
// edit, what "Store Data" accepts into RemoteTable, "Clear", and its ".rem" files.
#include "ScriptedPrompts.h"
#include "TableDialogTestKit.h"
#include "Tables.h"
#include "Unit3.h"
#include "Unitx.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

constexpr int GridBytes = KeyCodeBytes;
constexpr int AllBytes = BoxRequests::RemoteTableSize;

QByteArray remoteTableBytes(const TForm3& dialog)
{
    return QByteArray(reinterpret_cast<const char*>(dialog.RemoteTable.data()), static_cast<int>(dialog.RemoteTable.size()));
}

void setRemoteTable(TForm3& dialog, const QByteArray& bytes)
{
    std::copy(bytes.begin(), bytes.end(), dialog.RemoteTable.begin());
}

QString displayed(int value)
{
    return QString::asprintf("0x%02X", value & 0xFF);
}

QString programFolderText()
{
    return QFile::decodeName(AppDir().c_str());
}

} // namespace

class TestRemoteDialog : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void frameAndCaption();
    void controlGeometry_data();
    void controlGeometry();
    void rowLabelsNameTheKeys_data();
    void rowLabelsNameTheKeys();
    void buttonsCarryCaptionsAndGlyphs();
    void tabOrderRunsThroughEditsThenButtons();
    void startsWithZeros();
    void fileDialogSettings_data();
    void fileDialogSettings();
    void showDataWritesTwoUpperCaseHexDigits_data();
    void showDataWritesTwoUpperCaseHexDigits();
    void storeDataReadsGridEdit_data();
    void storeDataReadsGridEdit();
    void storeDataReadsRepeatEdit_data();
    void storeDataReadsRepeatEdit();
    void firstInvalidGridEditIsTheOnlyOneReported();
    void storeDataEndsWithOkOnlyWhenValid_data();
    void storeDataEndsWithOkOnlyWhenValid();
    void cancelWays_data();
    void cancelWays();
    void clearThenCancelLeavesTableAlone();
    void saveWritesTableWithRepeatValueLast();
    void saveWithInvalidRepeatAsksForNoFile();
    void loadTakesFirstBytesOfFile();
    void loadFailureKeepsEdits_data();
    void loadFailureKeepsEdits();

private:
    QLineEdit* edit(int number) const { return editOf(dialog_, number); }
    QStringList editTexts() const;
    // Shows `bytes` in the edits, then sets the table to 0xAA so stored bytes stand out.
    void showThenMarkTable(const QByteArray& bytes);

    std::unique_ptr<ScriptedPrompts> prompts_;
    std::unique_ptr<QWidget> mainWindow_;
    TForm3* dialog_ = nullptr;
    std::unique_ptr<QTemporaryDir> folder_;
};

void TestRemoteDialog::init()
{
    prompts_ = std::make_unique<ScriptedPrompts>();
    mainWindow_ = std::make_unique<QWidget>();
    mainWindow_->setGeometry(100, 100, 900, 700);
    mainWindow_->show();
    dialog_ = new TForm3(mainWindow_.get());
    folder_ = std::make_unique<QTemporaryDir>();
    QVERIFY(folder_->isValid());
}

void TestRemoteDialog::cleanup()
{
    mainWindow_.reset(); // owns the dialog
    dialog_ = nullptr;
    prompts_.reset();
}

QStringList TestRemoteDialog::editTexts() const
{
    QStringList texts;
    for (int i = 0; i < AllBytes; ++i)
        texts << edit(i)->text();
    return texts;
}

void TestRemoteDialog::showThenMarkTable(const QByteArray& bytes)
{
    setRemoteTable(*dialog_, bytes);
    dialog_->ShowData();
    dialog_->RemoteTable.fill(0xAA);
}

void TestRemoteDialog::frameAndCaption()
{
    QCOMPARE(dialog_->objectName(), QString("Form3"));
    QCOMPARE(dialog_->windowTitle(), QString("Remote control"));
    QCOMPARE(dialog_->size(), QSize(473, 474));
    QCOMPARE(dialog_->minimumSize(), dialog_->maximumSize());
    QVERIFY(dialog_->windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!(dialog_->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(dialog_->font().family(), QString("MS Sans Serif"));
    QCOMPARE(edit(96)->font().pixelSize(), 16);
}

void TestRemoteDialog::controlGeometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("Edit0") << "Edit0" << QRect(32, 18, 50, 28);
    QTest::newRow("Edit1") << "Edit1" << QRect(86, 18, 50, 28);
    QTest::newRow("Edit7") << "Edit7" << QRect(410, 18, 50, 28);
    QTest::newRow("Edit8") << "Edit8" << QRect(32, 50, 50, 28);
    QTest::newRow("Edit45") << "Edit45" << QRect(302, 178, 50, 28);
    QTest::newRow("Edit88") << "Edit88" << QRect(32, 370, 50, 28);
    QTest::newRow("Edit95") << "Edit95" << QRect(410, 370, 50, 28);
    QTest::newRow("Edit96") << "Edit96" << QRect(410, 404, 50, 28);
    QTest::newRow("BitBtn1") << "BitBtn1" << QRect(14, 408, 100, 25);
    QTest::newRow("BitBtn2") << "BitBtn2" << QRect(122, 408, 100, 25);
    QTest::newRow("BitBtn3") << "BitBtn3" << QRect(230, 408, 100, 25);
    QTest::newRow("BitBtn4") << "BitBtn4" << QRect(14, 441, 100, 25);
    QTest::newRow("BitBtn5") << "BitBtn5" << QRect(122, 441, 100, 25);
}

void TestRemoteDialog::controlGeometry()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    auto* control = dialog_->findChild<QWidget*>(name);
    QVERIFY(control);
    QCOMPARE(control->geometry(), geometry);
}

void TestRemoteDialog::rowLabelsNameTheKeys_data()
{
    QTest::addColumn<int>("label");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("leftOf"); // the edit the label stands left of
    QTest::newRow("row 0") << 3 << "0" << 0;
    QTest::newRow("row 9") << 12 << "9" << 72;
    QTest::newRow("row 10") << 1 << "^" << 80;
    QTest::newRow("row 11, code-page byte 0xA1") << 2 << QString(QChar(0xA1)) << 88;
    QTest::newRow("repeat") << 13 << "Repeat" << 96;
}

void TestRemoteDialog::rowLabelsNameTheKeys()
{
    QFETCH(int, label);
    QFETCH(QString, caption);
    QFETCH(int, leftOf);
    const QRect labelRect = labelOf(dialog_, label)->geometry();
    const QRect editRect = edit(leftOf)->geometry();

    QCOMPARE(labelOf(dialog_, label)->text(), caption);
    QVERIFY(labelRect.right() < editRect.left());
    QCOMPARE(labelRect.top(), editRect.top());
    if (label == 13)
        QCOMPARE(labelRect.left(), 352);
    else
        QVERIFY(labelRect.left() >= 15 && labelRect.left() <= 17);
}

void TestRemoteDialog::buttonsCarryCaptionsAndGlyphs()
{
    const QStringList captions = {"Store Data", "Cancel", "Clear", "Save Data", "Load Data"};
    for (int i = 0; i < captions.size(); ++i) {
        QPushButton* button = buttonOf(dialog_, i + 1);
        QCOMPARE(button->text(), captions[i]);
        QVERIFY(!button->icon().isNull());
        QVERIFY(!button->isDefault() && !button->autoDefault());
    }
}

void TestRemoteDialog::tabOrderRunsThroughEditsThenButtons()
{
    QStringList expected;
    for (int i = 0; i < AllBytes; ++i)
        expected << QStringLiteral("Edit%1").arg(i);
    expected << "BitBtn1" << "BitBtn2" << "BitBtn3" << "BitBtn4" << "BitBtn5";
    QCOMPARE(tabOrder(edit(0)), expected);
}

void TestRemoteDialog::startsWithZeros()
{
    QCOMPARE(editTexts(), QStringList(AllBytes, "0x00"));
}

void TestRemoteDialog::fileDialogSettings_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("save");
    QTest::addColumn<QString>("title");
    QTest::newRow("Save Data") << 4 << true << "Save";
    QTest::newRow("Load Data") << 5 << false << "Open";
}

void TestRemoteDialog::fileDialogSettings()
{
    QFETCH(int, button);
    QFETCH(bool, save);
    QFETCH(QString, title);

    buttonOf(dialog_, button)->click();

    QCOMPARE(prompts_->fileDialogs.size(), 1);
    const auto& shown = prompts_->fileDialogs.first();
    QCOMPARE(shown.save, save);
    QCOMPARE(shown.settings.title, title);
    QCOMPARE(shown.settings.filter, QString("*.rem|*.rem|*.*|*.*"));
    QCOMPARE(shown.settings.defaultExt, QString(".rem"));
    QCOMPARE(shown.settings.initialDir, programFolderText());
    QCOMPARE(shown.settings.overwritePrompt, save);
    QCOMPARE(shown.settings.fileMustExist, !save);
    QVERIFY(shown.settings.hideReadOnly && shown.settings.pathMustExist && shown.settings.resizable);
}

void TestRemoteDialog::showDataWritesTwoUpperCaseHexDigits_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("shown");
    QTest::newRow("10") << 0 << 10 << "0x0A";
    QTest::newRow("255") << 17 << 255 << "0xFF";
    QTest::newRow("0x1F") << 95 << 0x1F << "0x1F";
    QTest::newRow("repeat value") << 96 << 0x6B << "0x6B";
}

void TestRemoteDialog::showDataWritesTwoUpperCaseHexDigits()
{
    QFETCH(int, index);
    QFETCH(int, value);
    QFETCH(QString, shown);
    dialog_->RemoteTable[static_cast<std::size_t>(index)] = static_cast<std::uint8_t>(value);

    dialog_->ShowData();

    QCOMPARE(edit(index)->text(), shown);
    QCOMPARE(editTexts().count("0x00"), AllBytes - 1);
}

void TestRemoteDialog::storeDataReadsGridEdit_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("stored"); // -1: rejected
    QTest::addColumn<QString>("error");

    QTest::newRow("blanks around lower-case hex") << 5 << " 0x1f " << 31 << QString();
    QTest::newRow("0x prefix") << 5 << "0x1F" << 31 << QString();
    QTest::newRow("$ prefix") << 5 << "$1F" << 31 << QString();
    QTest::newRow("x prefix") << 5 << "x1f" << 31 << QString();
    QTest::newRow("decimal") << 5 << "31" << 31 << QString();
    QTest::newRow("0xFF") << 95 << "0xff" << 255 << QString();
    QTest::newRow("hex without prefix") << 5 << "1F" << -1 << "Invalid value 5:1F! (0..255)";
    QTest::newRow("0x100") << 12 << "0x100" << -1 << "Invalid value 12:0x100! (0..255)";
    QTest::newRow("minus one") << 12 << "-1" << -1 << "Invalid value 12:-1! (0..255)";
    QTest::newRow("empty") << 3 << "" << -1 << "Invalid value 3:! (0..255)";
    QTest::newRow("shown as typed") << 4 << " 0x1g" << -1 << "Invalid value 4: 0x1g! (0..255)";
}

void TestRemoteDialog::storeDataReadsGridEdit()
{
    QFETCH(int, number);
    QFETCH(QString, typed);
    QFETCH(int, stored);
    QFETCH(QString, error);
    showThenMarkTable(countingBytes(AllBytes));
    typeInto(edit(number), typed);

    const int result = dialog_->StoreData();

    QCOMPARE(result, stored >= 0 ? 1 : 0);
    QCOMPARE(prompts_->errorTexts(), error.isEmpty() ? QStringList() : QStringList{error});
    QByteArray expected = countingBytes(AllBytes);
    if (stored >= 0) {
        expected[number] = static_cast<char>(stored);
    } else {
        expected.truncate(number);
        expected.append(QByteArray(AllBytes - number, char(0xAA)));
    }
    QCOMPARE(remoteTableBytes(*dialog_), expected);
    QCOMPARE(edit(number)->text(), typed); // storing does not rewrite the edits
}

void TestRemoteDialog::storeDataReadsRepeatEdit_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("stored"); // -1: rejected
    QTest::addColumn<QString>("error");
    QTest::newRow("blanks around") << " 0x7f " << 0x7F << QString();
    QTest::newRow("decimal") << "3" << 3 << QString();
    QTest::newRow("letters") << "abc" << -1 << "Invalid value abc! (0..255)";
    QTest::newRow("0x100") << "0x100" << -1 << "Invalid value 0x100! (0..255)";
    QTest::newRow("empty") << "" << -1 << "Invalid value ! (0..255)";
}

void TestRemoteDialog::storeDataReadsRepeatEdit()
{
    QFETCH(QString, typed);
    QFETCH(int, stored);
    QFETCH(QString, error);
    showThenMarkTable(countingBytes(AllBytes));
    QVERIFY(showActive(dialog_));
    edit(0)->setFocus();
    typeInto(edit(96), typed);

    const int result = dialog_->StoreData();

    QCOMPARE(result, stored >= 0 ? 1 : 0);
    QCOMPARE(prompts_->errorTexts(), error.isEmpty() ? QStringList() : QStringList{error});
    QByteArray expected = countingBytes(GridBytes);
    expected.append(static_cast<char>(stored >= 0 ? stored : 0xAA));
    QCOMPARE(remoteTableBytes(*dialog_), expected);
    if (stored < 0)
        QTRY_COMPARE(QApplication::focusWidget(), edit(96));
}

void TestRemoteDialog::firstInvalidGridEditIsTheOnlyOneReported()
{
    showThenMarkTable(countingBytes(AllBytes));
    typeInto(edit(20), "zz");
    typeInto(edit(96), "abc");
    QVERIFY(showActive(dialog_));
    edit(96)->setFocus();

    buttonOf(dialog_, 1)->click();

    QCOMPARE(prompts_->errorTexts(), QStringList{"Invalid value 20:zz! (0..255)"});
    QTRY_COMPARE(QApplication::focusWidget(), edit(20));
    QByteArray expected = countingBytes(20);
    expected.append(QByteArray(AllBytes - 20, char(0xAA)));
    QCOMPARE(remoteTableBytes(*dialog_), expected);
    QVERIFY(dialog_->isVisible());
}

void TestRemoteDialog::storeDataEndsWithOkOnlyWhenValid_data()
{
    QTest::addColumn<QString>("typedRepeat");
    QTest::addColumn<int>("result");
    QTest::newRow("valid") << "0x05" << int(QDialog::Accepted);
    QTest::newRow("invalid repeat") << "0x1FF" << LeftOpen;
}

void TestRemoteDialog::storeDataEndsWithOkOnlyWhenValid()
{
    QFETCH(QString, typedRepeat);
    QFETCH(int, result);

    const int ended = runModal(dialog_, [&] {
        typeInto(edit(96), typedRepeat);
        QTest::mouseClick(buttonOf(dialog_, 1), Qt::LeftButton);
    });

    QCOMPARE(ended, result);
    QCOMPARE(dialog_->RemoteTable[96], std::uint8_t(result == QDialog::Accepted ? 5 : 0));
}

void TestRemoteDialog::cancelWays_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("Cancel button") << "button";
    QTest::newRow("Esc key") << "escape";
    QTest::newRow("title bar close box") << "close";
}

void TestRemoteDialog::cancelWays()
{
    QFETCH(QString, way);
    QSignalSpy cancelClicks(buttonOf(dialog_, 2), &QPushButton::clicked);

    const int ended = runModal(dialog_, [&] {
        typeInto(edit(40), "0x99");
        if (way == "button")
            QTest::mouseClick(buttonOf(dialog_, 2), Qt::LeftButton);
        else if (way == "escape")
            QTest::keyClick(edit(40), Qt::Key_Escape);
        else
            dialog_->close();
    });

    QCOMPARE(ended, int(QDialog::Rejected));
    QCOMPARE(cancelClicks.count(), 1);
    QCOMPARE(remoteTableBytes(*dialog_), QByteArray(AllBytes, '\0'));
}

void TestRemoteDialog::clearThenCancelLeavesTableAlone()
{
    setRemoteTable(*dialog_, countingBytes(AllBytes, 30));
    dialog_->ShowData();
    dialog_->sd.initialDir = "/elsewhere";
    dialog_->od.initialDir = "/elsewhere";
    QStringList textsAfterClear;

    const int ended = runModal(dialog_, [&] {
        QTest::mouseClick(buttonOf(dialog_, 3), Qt::LeftButton);
        textsAfterClear = editTexts();
        QTest::mouseClick(buttonOf(dialog_, 2), Qt::LeftButton);
    });

    QCOMPARE(ended, int(QDialog::Rejected));
    QCOMPARE(textsAfterClear, QStringList(AllBytes, "0x00"));
    QCOMPARE(remoteTableBytes(*dialog_), countingBytes(AllBytes, 30));
    QCOMPARE(dialog_->sd.initialDir, programFolderText());
    QCOMPARE(dialog_->od.initialDir, programFolderText());
}

void TestRemoteDialog::saveWritesTableWithRepeatValueLast()
{
    setRemoteTable(*dialog_, countingBytes(AllBytes, 150));
    dialog_->ShowData();
    typeInto(edit(96), "0x33");
    typeInto(edit(0), "$c0");
    const QString path = folder_->filePath("keys.rem");
    prompts_->fileAnswers.push_back(path);

    QTest::mouseClick(buttonOf(dialog_, 4), Qt::LeftButton);

    QByteArray expected = countingBytes(AllBytes, 150);
    expected[0] = char(0xC0);
    expected[96] = 0x33;
    QCOMPARE(readFileBytes(path), expected);
    QVERIFY(prompts_->boxes.isEmpty());
}

void TestRemoteDialog::saveWithInvalidRepeatAsksForNoFile()
{
    typeInto(edit(96), "abc");
    prompts_->fileAnswers.push_back(folder_->filePath("keys.rem"));

    buttonOf(dialog_, 4)->click();

    QCOMPARE(prompts_->errorTexts(), QStringList{"Invalid value abc! (0..255)"});
    QVERIFY(prompts_->fileDialogs.isEmpty());
}

void TestRemoteDialog::loadTakesFirstBytesOfFile()
{
    const QString path = folder_->filePath("long.rem");
    writeFileBytes(path, countingBytes(100, 5));
    prompts_->fileAnswers.push_back(path);
    prompts_->fileAnswers.push_back(folder_->filePath("again.rem"));

    buttonOf(dialog_, 5)->click();

    QVERIFY(prompts_->boxes.isEmpty());
    QCOMPARE(remoteTableBytes(*dialog_), countingBytes(AllBytes, 5));
    QStringList expected;
    for (int i = 0; i < AllBytes; ++i)
        expected << displayed(5 + i);
    QCOMPARE(editTexts(), expected);

    buttonOf(dialog_, 4)->click();
    QCOMPARE(readFileBytes(folder_->filePath("again.rem")), countingBytes(AllBytes, 5));
}

void TestRemoteDialog::loadFailureKeepsEdits_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("fileSize"); // -1: no file is made
    QTest::addColumn<QString>("error");
    QTest::newRow("96-byte file") << "short.rem" << 96 << fileError("Read beyond end of file", 0);
    QTest::newRow("missing file") << "missing.rem" << -1 << fileError("File not found", ENOENT);
}

void TestRemoteDialog::loadFailureKeepsEdits()
{
    QFETCH(QString, name);
    QFETCH(int, fileSize);
    QFETCH(QString, error);
    const QString path = folder_->filePath(name);
    if (fileSize >= 0)
        writeFileBytes(path, countingBytes(fileSize, 100));
    typeInto(edit(50), "0x5");
    const QStringList textsBefore = editTexts();
    prompts_->fileAnswers.push_back(path);

    buttonOf(dialog_, 5)->click();

    QCOMPARE(prompts_->errorTexts(), QStringList{error});
    QCOMPARE(editTexts(), textsBefore);
    QCOMPARE(remoteTableBytes(*dialog_), QByteArray(AllBytes, '\0'));
}

QTEST_MAIN(TestRemoteDialog)
#include "tst_remotedialog.moc"
