#include "ui/tables/TableDialog.h"

#include "app/Unitx.h"
#include "app/UserPaths.h"
#include "ui/tables/TableFilePrompts.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace {

QFont dialogFont(int pixelSize)
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(pixelSize);
    return font;
}

// The edits and their labels hold numbers and hexadecimal bytes, which need no shaping:
// skipping it spares each of the dialogs' many edits the shaper.
QFont fieldFont()
{
    QFont font = dialogFont(16);
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

constexpr int DialogFontPixels = 11;
const QSize ButtonSize(100, 25);

} // namespace

TableDialog::TableDialog(QWidget* parent, const TableKind& kind, const QString& name, const QString& caption,
                         QSize clientSize)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , sd(tableSaveDialog(QLatin1String(kind.extension)))
    , od(tableOpenDialog(QLatin1String(kind.extension)))
    , kind_(kind)
{
    setObjectName(name);
    setWindowTitle(caption);
    setFont(dialogFont(DialogFontPixels));
    setFixedSize(clientSize);
    setSizeGripEnabled(false);
    // The edits and their labels are made on a transparent layer in their own font. An edit
    // lays out its text as it is made: made on the dialog, it would load the dialog's font at
    // start-up, which only the buttons use once the dialog is shown, and lay out again when
    // given its own font.
    fields_ = new QWidget(this);
    fields_->setFont(fieldFont());
    fields_->setGeometry(rect());
}

QLineEdit* TableDialog::addEdit(int number, const QRect& geometry, const QString& spokenName)
{
    auto* edit = new QLineEdit(fields_);
    edit->setObjectName(QStringLiteral("Edit%1").arg(number));
    edit->setGeometry(geometry);
    edit->setAccessibleName(spokenName);
    if (!firstEdit_)
        firstEdit_ = edit;
    return edit;
}

QLabel* TableDialog::addLabel(int number, const QString& caption, const QRect& geometry, Qt::Alignment alignment)
{
    auto* label = new QLabel(caption, fields_);
    label->setObjectName(QStringLiteral("Label%1").arg(number));
    label->setGeometry(geometry);
    label->setAlignment(alignment);
    return label;
}

QPushButton* TableDialog::addButton(int number, const QString& caption, Glyph glyph, QPoint position,
                                    std::function<void()> handler)
{
    auto* button = new QPushButton(QIcon(glyphPixmap(glyph)), caption, this);
    button->setObjectName(QStringLiteral("BitBtn%1").arg(number));
    button->setGeometry(QRect(position, ButtonSize));
    button->setIconSize(QSize(16, 16));
    // Enter in an edit must not press any button.
    button->setAutoDefault(false);
    button->setDefault(false);
    connect(button, &QPushButton::clicked, this, [handler = std::move(handler)] { runHandler(handler); });
    return button;
}

void TableDialog::startFileDialogsAfresh()
{
    sd.initialDir = dialogStartFolder();
    od.initialDir = dialogStartFolder();
}

void TableDialog::storeAndAccept()
{
    if (StoreData() == 1)
        accept();
}

void TableDialog::saveToFile()
{
    if (StoreData() == 0)
        return;
    saveTableAs(sd, tableBytes(), static_cast<std::size_t>(kind_.size));
}

void TableDialog::loadFromFile()
{
    if (loadTableFrom(od, tableBytes(), static_cast<std::size_t>(kind_.size)))
        ShowData();
}

void TableDialog::setCancelButton(QPushButton* button)
{
    cancelButton_ = button;
}

void TableDialog::reject()
{
    if (cancelButton_)
        cancelButton_->click();
    else
        hideWithCancel();
}

// The buttons are never default buttons, so that Return in an edit presses none; Return on a
// focused button presses that one, as in the dialogs of Windows.
void TableDialog::keyPressEvent(QKeyEvent* event)
{
    const bool keypadEnter = event->key() == Qt::Key_Enter && event->modifiers() == Qt::KeypadModifier;
    const bool plainReturn = (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
                             && event->modifiers() == Qt::NoModifier;
    if (auto* button = qobject_cast<QPushButton*>(focusWidget()); button && (plainReturn || keypadEnter)) {
        button->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TableDialog::setTerminatingCheck(std::function<bool()> terminating)
{
    terminating_ = std::move(terminating);
}

void TableDialog::hideWithCancel()
{
    QDialog::reject();
}

int TableDialog::showModalTable()
{
    if (terminating_ && terminating_())
        return QDialog::Rejected;
    if (!shownBefore_) {
        centreOverMainWindow();
        shownBefore_ = true;
    }
    // Every showing starts on the first edit, whichever control the last one ended on.
    if (firstEdit_)
        firstEdit_->setFocus();
    return exec();
}

// Later showings keep the place the user left the dialog at: an explicit move keeps Qt from
// placing it again. A dialog taller than the main window stays on its screen.
void TableDialog::centreOverMainWindow()
{
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (!owner)
        return;
    QRect placed = rect();
    placed.moveCenter(owner->geometry().center());
    if (const QScreen* screen = owner->screen()) {
        const QRect available = screen->availableGeometry();
        placed.moveLeft(qBound(available.left(), placed.left(), qMax(available.left(), available.right() - placed.width())));
        placed.moveTop(qBound(available.top(), placed.top(), qMax(available.top(), available.bottom() - placed.height())));
    }
    move(placed.topLeft());
}
