#include "ui/tables/Unit2.h"

#include "ui/tables/TableEdits.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int Columns = 8;
constexpr int RowY[] = {18, 51, 83, 114};
constexpr int ColumnX[Columns] = {32, 91, 151, 212, 271, 329, 387, 445};
constexpr int FirstColumnXBelowTopRow = 30;
const QSize EditSize(35, 28);

QRect editGeometry(int position)
{
    const int row = position / Columns;
    const int column = position % Columns;
    const int x = column == 0 && row > 0 ? FirstColumnXBelowTopRow : ColumnX[column];
    return QRect(QPoint(x, RowY[row]), EditSize);
}

// The position number right-aligned just left of its edit.
QRect labelGeometry(const QRect& edit)
{
    return QRect(edit.left() - 25, edit.top(), 23, edit.height());
}

} // namespace

TForm2::TForm2(QWidget* parent)
    : TableDialog(parent, PositionerTableKind, QStringLiteral("Form2"), QStringLiteral("Positioner settings"), QSize(496, 192))
{
    for (int i = 0; i < PositionCount; ++i) {
        const QRect geometry = editGeometry(i);
        addLabel(i + 1, QString::number(i), labelGeometry(geometry), Qt::AlignRight | Qt::AlignVCenter);
        // Named in full: a screen reader would say the label's bare number.
        edits_.push_back(addEdit(i, geometry, QStringLiteral("Position %1").arg(i)));
    }
    addButton(1, QStringLiteral("Store Data"), Glyph::GreenTick, {14, 156}, [this] { BitBtn1Click(); });
    setCancelButton(addButton(2, QStringLiteral("Cancel"), Glyph::RedCross, {122, 156}, [this] { BitBtn2Click(); }));
    addButton(3, QStringLiteral("Save Data"), Glyph::Diskette, {230, 156}, [this] { BitBtn3Click(); });
    addButton(4, QStringLiteral("Load Data"), Glyph::OpenFolder, {338, 156}, [this] { BitBtn4Click(); });
    FormCreate();
}

void TForm2::FormCreate()
{
    startFileDialogsAfresh();
    for (QLineEdit* edit : edits_)
        edit->setText(QStringLiteral("0"));
}

int TForm2::StoreData()
{
    return storeEdits(edits_, PositionTable.data(), TypedCase::AsTyped) ? 1 : 0;
}

void TForm2::ShowData()
{
    for (int i = 0; i < PositionCount; ++i)
        edits_[i]->setText(QString::number(PositionTable[i]));
}

void TForm2::BitBtn1Click()
{
    storeAndAccept();
}

void TForm2::BitBtn2Click()
{
    hideWithCancel();
}

void TForm2::BitBtn3Click()
{
    saveToFile();
}

void TForm2::BitBtn4Click()
{
    loadFromFile();
}
