// What the table dialog tests share: a dialog over a main window, finding controls by their
// component names, typing and clicking like a user, running a dialog modally, and table files
// on disk.
#pragma once

#include "ScriptedPrompts.h"

#include <QByteArray>
#include <QDialog>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class TableDialog;

// A shown main window that owns one table dialog, the prompts answered from a script, and a
// folder for table files: where every table dialog test starts.
class TableDialogBench {
public:
    using MakeDialog = TableDialog* (*)(QWidget* mainWindow);
    explicit TableDialogBench(MakeDialog make);

    ScriptedPrompts prompts;
    QTemporaryDir folder;
    QWidget mainWindow; // owns the dialog
    TableDialog* dialog = nullptr;
};

template <typename Dialog>
TableDialog* makeDialog(QWidget* mainWindow)
{
    return new Dialog(mainWindow);
}

QLineEdit* editOf(QWidget* dialog, int number);
QLabel* labelOf(QWidget* dialog, int number);
QPushButton* buttonOf(QWidget* dialog, int number);

// The texts of Edit0 to Edit<count - 1>.
QStringList editTexts(QWidget* dialog, int count);

// Where the control lies in its window's client area.
QRect rectInWindow(const QWidget* control);

// The edit a label names: the one that starts just right of the label and spans its height.
// None when no edit does.
QLineEdit* editNextTo(const QLabel* label);

// The working table, all kind().size bytes of it.
QByteArray tableOf(TableDialog* dialog);
void setTable(TableDialog* dialog, const QByteArray& bytes);
// Shows `bytes` in the edits, then sets the whole table to 0xAA so stored bytes stand out.
void showThenMarkTable(TableDialog* dialog, const QByteArray& bytes);

// The program's folder, where both file dialogs start.
QString programFolderText();

// Selects what the edit holds and types `text` over it.
void typeInto(QLineEdit* edit, const QString& text);

// Shows the dialog without a modal loop and waits until it is the active window, so that
// focus changes can be observed.
bool showActive(QDialog* dialog);

// The names of the controls that Tab visits, starting at `first`, once round.
QStringList tabOrder(QWidget* first);

// Result of runModal when `whileShown` left the dialog open.
constexpr int LeftOpen = 99;

// Shows the dialog with showModalTable and runs `whileShown` as soon as its modal loop runs.
// A dialog still open afterwards is ended with LeftOpen.
int runModal(TableDialog* dialog, const std::function<void()>& whileShown);

// Acts inside a dialog once its modal loop runs, as a user would, when something else (the
// main window's "Setting") shows it. A dialog the action leaves open is cancelled, so the
// command always comes back to the test.
class WhenDialogShown {
public:
    WhenDialogShown(QDialog* dialog, std::function<void(QDialog*)> action);

    bool shown() const { return m_shown; }

private:
    QTimer m_poll;
    bool m_shown = false;
};

// The error text of a failed table file operation: the file layer's message, two blanks and
// the system's text for `code`.
QString fileError(const QString& message, int code);

QByteArray readFileBytes(const QString& path);
void writeFileBytes(const QString& path, const QByteArray& bytes);

// `count` bytes 1, 2, 3, ... (wrapping), distinct from a zeroed table.
QByteArray countingBytes(int count, int first = 1);
