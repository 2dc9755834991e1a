// The positioner table dialog's own: the labels that number its 32 position edits, their
// decimal form, and table byte 32, never shown, carried through its ".pos" files.
// tst_tabledialogs holds what it shares with the remote-control dialog.
#include "TableDialogTestKit.h"
#include "ui/tables/Tables.h"
#include "ui/tables/Unit2.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

class TestPositionerDialog : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void labelsNameTheirPositions();
    void showDataWritesDecimal();
    void loadThenSaveCarriesByte32();

private:
    QLineEdit* edit(int number) const { return editOf(dialog_, number); }

    std::unique_ptr<TableDialogBench> bench_;
    TForm2* dialog_ = nullptr;
};

void TestPositionerDialog::init()
{
    bench_ = std::make_unique<TableDialogBench>(&makeDialog<TForm2>);
    dialog_ = static_cast<TForm2*>(bench_->dialog);
}

void TestPositionerDialog::cleanup()
{
    bench_.reset();
    dialog_ = nullptr;
}

void TestPositionerDialog::labelsNameTheirPositions()
{
    for (int i = 0; i < PositionCount; ++i) {
        QLabel* label = labelOf(dialog_, i + 1);
        QCOMPARE(label->text(), QString::number(i));
        QCOMPARE(editNextTo(label), edit(i));
    }
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
    QVERIFY(!editTexts(dialog_, PositionCount).contains("99"));
}

void TestPositionerDialog::loadThenSaveCarriesByte32()
{
    QByteArray record = countingBytes(33, 60);
    record[32] = 0x77;
    // Names in any script load and save as given (on Windows beyond every ANSI code page).
    const QString in = bench_->folder.filePath(QStringLiteral("in Ωmega таблица.pos"));
    const QString out = bench_->folder.filePath(QStringLiteral("out Łódź 𝄞.pos"));
    writeFileBytes(in, record);
    bench_->prompts.fileAnswers.push_back(in);
    bench_->prompts.fileAnswers.push_back(out);

    buttonOf(dialog_, 4)->click();
    buttonOf(dialog_, 3)->click();

    QCOMPARE(dialog_->PositionTable[32], std::uint8_t(0x77));
    QCOMPARE(readFileBytes(out), record);
    QVERIFY(bench_->prompts.boxes.isEmpty());
}

QTEST_MAIN(TestPositionerDialog)
#include "tst_positionerdialog.moc"
