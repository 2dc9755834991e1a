// The remote-control table dialog's own: the labels that name its twelve keys and the repeat
// edit, the "0x.." form of its edits, the repeat value stored last, and "Clear".
// tst_tabledialogs holds what it shares with the positioner dialog.
#include "TableDialogTestKit.h"
#include "ui/tables/Tables.h"
#include "ui/tables/Unit3.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

namespace {

constexpr int AllBytes = BoxRequests::RemoteTableSize;

} // namespace

class TestRemoteDialog : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void rowLabelsNameTheKeys_data();
    void rowLabelsNameTheKeys();
    void showDataWritesTwoUpperCaseHexDigits_data();
    void showDataWritesTwoUpperCaseHexDigits();
    void storeDataReadsRepeatEdit_data();
    void storeDataReadsRepeatEdit();
    void clearThenCancelLeavesTableAlone();

private:
    QLineEdit* edit(int number) const { return editOf(dialog_, number); }

    std::unique_ptr<TableDialogBench> bench_;
    TForm3* dialog_ = nullptr;
};

void TestRemoteDialog::init()
{
    bench_ = std::make_unique<TableDialogBench>(&makeDialog<TForm3>);
    dialog_ = static_cast<TForm3*>(bench_->dialog);
}

void TestRemoteDialog::cleanup()
{
    bench_.reset();
    dialog_ = nullptr;
}

void TestRemoteDialog::rowLabelsNameTheKeys_data()
{
    QTest::addColumn<int>("label");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("edit"); // the edit the label names
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
    QFETCH(int, edit);

    QCOMPARE(labelOf(dialog_, label)->text(), caption);
    QCOMPARE(editNextTo(labelOf(dialog_, label)), this->edit(edit));
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
    QCOMPARE(editTexts(dialog_, AllBytes).count("0x00"), AllBytes - 1);
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
    showThenMarkTable(dialog_, countingBytes(AllBytes));
    QVERIFY(showActive(dialog_));
    edit(0)->setFocus();
    typeInto(edit(RepeatByte), typed);

    const int result = dialog_->StoreData();

    QCOMPARE(result, stored >= 0 ? 1 : 0);
    QCOMPARE(bench_->prompts.errorTexts(), error.isEmpty() ? QStringList() : QStringList{error});
    QByteArray expected = countingBytes(KeyCodeBytes);
    expected.append(static_cast<char>(stored >= 0 ? stored : 0xAA));
    QCOMPARE(tableOf(dialog_), expected);
    if (stored < 0)
        QTRY_COMPARE(QApplication::focusWidget(), edit(RepeatByte));
}

void TestRemoteDialog::clearThenCancelLeavesTableAlone()
{
    setTable(dialog_, countingBytes(AllBytes, 30));
    dialog_->ShowData();
    dialog_->sd.initialDir = "/elsewhere";
    dialog_->od.initialDir = "/elsewhere";
    QStringList textsAfterClear;

    const int ended = runModal(dialog_, [&] {
        QTest::mouseClick(buttonOf(dialog_, 3), Qt::LeftButton);
        textsAfterClear = editTexts(dialog_, AllBytes);
        QTest::mouseClick(buttonOf(dialog_, 2), Qt::LeftButton);
    });

    QCOMPARE(ended, int(QDialog::Rejected));
    QCOMPARE(textsAfterClear, QStringList(AllBytes, "0x00"));
    QCOMPARE(tableOf(dialog_), countingBytes(AllBytes, 30));
    QCOMPARE(dialog_->sd.initialDir, programFolderText());
    QCOMPARE(dialog_->od.initialDir, programFolderText());
}

QTEST_MAIN(TestRemoteDialog)
#include "tst_remotedialog.moc"
