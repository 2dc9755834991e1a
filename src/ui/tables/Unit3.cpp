#include "ui/tables/Unit3.h"

#include "ui/tables/TableEdits.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int Rows = 12;
constexpr int Columns = 8;
constexpr int GridBytes = Rows * Columns;
static_assert(GridBytes == KeyCodeBytes, "one edit per key code byte");
constexpr int ColumnX[Columns] = {32, 86, 140, 194, 248, 302, 356, 410};
const QSize EditSize(50, 28);

int rowY(int row)
{
    return 18 + 32 * row;
}

// Rows 0 to 9 are the digit keys (Label3 to Label12); row 10 is "^" (Label1) and row 11 the
// key whose name is the code-page character 0xA1 (Label2).
int rowLabelNumber(int row)
{
    return row < 10 ? row + 3 : row - 9;
}

QString rowLabelCaption(int row)
{
    if (row < 10)
        return QString::number(row);
    return row == 10 ? QStringLiteral("^") : QString::fromLatin1("\xA1");
}

// The key of a row as a screen reader says it. The two symbols are a pair of arrows: "^" points
// up, and 0xA1 is its counterpart turned over, a caron (pointing down) in the window's
// East-European code page and an inverted exclamation mark in the Western one.
QString rowKeyName(int row)
{
    if (row < 10)
        return QStringLiteral("Key %1").arg(row);
    return row == 10 ? QStringLiteral("Key up") : QStringLiteral("Key down");
}

QString displayForm(std::uint8_t value)
{
    return QString::asprintf("0x%02X", value);
}

} // namespace

TForm3::TForm3(QWidget* parent)
    : TableDialog(parent, RemoteTableKind, QStringLiteral("Form3"), QStringLiteral("Remote control"), QSize(473, 474))
{
    for (int row = 0; row < Rows; ++row) {
        const QString key = rowKeyName(row);
        QLabel* label = addLabel(rowLabelNumber(row), rowLabelCaption(row), QRect(15, rowY(row), 16, EditSize.height()),
                                 Qt::AlignLeft | Qt::AlignVCenter);
        label->setAccessibleName(key);
        // Bytes are counted from 1 within a key, as a person counts the edits of a row.
        for (int column = 0; column < Columns; ++column)
            gridEdits_.push_back(addEdit(row * Columns + column, QRect(QPoint(ColumnX[column], rowY(row)), EditSize),
                                         QStringLiteral("%1, byte %2").arg(key).arg(column + 1)));
    }
    QLabel* repeatLabel = addLabel(13, QStringLiteral("Repeat"), QRect(352, 404, 56, EditSize.height()),
                                   Qt::AlignLeft | Qt::AlignVCenter);
    Edit96 = addEdit(RepeatByte, QRect(QPoint(410, 404), EditSize));
    repeatLabel->setBuddy(Edit96);

    addButton(1, QStringLiteral("Store Data"), Glyph::GreenTick, {14, 408}, [this] { BitBtn1Click(); });
    setCancelButton(addButton(2, QStringLiteral("Cancel"), Glyph::RedCross, {122, 408}, [this] { BitBtn2Click(); }));
    addButton(3, QStringLiteral("Clear"), Glyph::BlankPage, {230, 408}, [this] { BitBtn3Click(); });
    addButton(4, QStringLiteral("Save Data"), Glyph::Diskette, {14, 441}, [this] { BitBtn4Click(); });
    addButton(5, QStringLiteral("Load Data"), Glyph::OpenFolder, {122, 441}, [this] { BitBtn5Click(); });
    FormCreate();
}

void TForm3::FormCreate()
{
    startFileDialogsAfresh();
    for (QLineEdit* edit : gridEdits_)
        edit->setText(displayForm(0));
    Edit96->setText(displayForm(0));
}

int TForm3::StoreData()
{
    if (!storeEdits(gridEdits_, RemoteTable.data(), TypedCase::UpperCase))
        return 0;
    const std::optional<std::uint8_t> repeat = byteInEdit(*Edit96, TypedCase::UpperCase);
    if (!repeat) {
        reportInvalidEdit(*Edit96, QStringLiteral("Invalid value %1! (0..255)").arg(Edit96->text()));
        return 0;
    }
    RemoteTable[RepeatByte] = *repeat;
    return 1;
}

void TForm3::ShowData()
{
    for (int i = 0; i < GridBytes; ++i)
        gridEdits_[i]->setText(displayForm(RemoteTable[i]));
    Edit96->setText(displayForm(RemoteTable[RepeatByte]));
}

void TForm3::BitBtn1Click()
{
    storeAndAccept();
}

void TForm3::BitBtn2Click()
{
    hideWithCancel();
}

void TForm3::BitBtn3Click()
{
    FormCreate();
}

void TForm3::BitBtn4Click()
{
    saveToFile();
}

void TForm3::BitBtn5Click()
{
    loadFromFile();
}
