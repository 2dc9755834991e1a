#include "TableDialogTestKit.h"

#include "app/SystemMessage.h"
#include "app/Unitx.h"
#include "ui/tables/TableDialog.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <algorithm>

namespace {

template <typename Control>
Control* named(QWidget* dialog, const QString& name)
{
    auto* control = dialog->findChild<Control*>(name);
    if (!control)
        qFatal("no control named %s", qPrintable(name));
    return control;
}

// The most pixels between a label and the edit it names.
constexpr int LabelGap = 4;

} // namespace

TableDialogBench::TableDialogBench(MakeDialog make)
{
    if (!folder.isValid())
        qFatal("no folder for table files");
    mainWindow.setGeometry(100, 100, 600, 400);
    mainWindow.show();
    dialog = make(&mainWindow);
}

QLineEdit* editOf(QWidget* dialog, int number)
{
    return named<QLineEdit>(dialog, QStringLiteral("Edit%1").arg(number));
}

QLabel* labelOf(QWidget* dialog, int number)
{
    return named<QLabel>(dialog, QStringLiteral("Label%1").arg(number));
}

QPushButton* buttonOf(QWidget* dialog, int number)
{
    return named<QPushButton>(dialog, QStringLiteral("BitBtn%1").arg(number));
}

QStringList editTexts(QWidget* dialog, int count)
{
    QStringList texts;
    for (int i = 0; i < count; ++i)
        texts << editOf(dialog, i)->text();
    return texts;
}

QRect rectInWindow(const QWidget* control)
{
    return QRect(control->mapTo(control->window(), QPoint(0, 0)), control->size());
}

QLineEdit* editNextTo(const QLabel* label)
{
    const QRect labelRect = rectInWindow(label);
    for (QLineEdit* edit : label->window()->findChildren<QLineEdit*>()) {
        const QRect editRect = rectInWindow(edit);
        if (labelRect.right() < editRect.left() && labelRect.right() >= editRect.left() - LabelGap
            && labelRect.top() >= editRect.top() && labelRect.bottom() <= editRect.bottom())
            return edit;
    }
    return nullptr;
}

QByteArray tableOf(TableDialog* dialog)
{
    return QByteArray(reinterpret_cast<const char*>(dialog->tableBytes()), dialog->kind().size);
}

void setTable(TableDialog* dialog, const QByteArray& bytes)
{
    std::copy(bytes.begin(), bytes.end(), dialog->tableBytes());
}

void showThenMarkTable(TableDialog* dialog, const QByteArray& bytes)
{
    setTable(dialog, bytes);
    dialog->ShowData();
    std::fill_n(dialog->tableBytes(), dialog->kind().size, std::uint8_t(0xAA));
}

QString programFolderText()
{
    return QFile::decodeName(AppDir().c_str());
}

void typeInto(QLineEdit* edit, const QString& text)
{
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

bool showActive(QDialog* dialog)
{
    dialog->show();
    dialog->activateWindow();
    return QTest::qWaitForWindowActive(dialog);
}

QStringList tabOrder(QWidget* first)
{
    QStringList names;
    QWidget* widget = first;
    do {
        if (widget->focusPolicy() & Qt::TabFocus)
            names << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget && widget != first);
    return names;
}

int runModal(TableDialog* dialog, const std::function<void()>& whileShown)
{
    // Owned here, so it cannot fire later when the dialog was never shown.
    QTimer trigger;
    trigger.setSingleShot(true);
    QObject::connect(&trigger, &QTimer::timeout, dialog, [dialog, &whileShown] {
        whileShown();
        if (dialog->isVisible())
            dialog->done(LeftOpen);
    });
    trigger.start(0);
    return dialog->showModalTable();
}

WhenDialogShown::WhenDialogShown(QDialog* dialog, std::function<void(QDialog*)> action)
{
    QObject::connect(&m_poll, &QTimer::timeout, [this, dialog, action = std::move(action)] {
        if (m_shown || QApplication::activeModalWidget() != dialog)
            return;
        m_shown = true;
        action(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    m_poll.start(10);
}

QString fileError(const QString& message, int code)
{
    return message + QStringLiteral("  ") + fromAnsi(systemMessage(code));
}

QByteArray readFileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return file.readAll();
}

void writeFileBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray countingBytes(int count, int first)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes.append(static_cast<char>((first + i) & 0xFF));
    return bytes;
}
