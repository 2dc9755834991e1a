// What the table dialog tests share: finding controls by their component names, typing
// and clicking like a user, running a dialog modally, and table files on disk.
#pragma once

#include <QByteArray>
#include <QDialog>
#include <QString>
#include <QStringList>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class TableDialog;

QLineEdit* editOf(QWidget* dialog, int number);
QLabel* labelOf(QWidget* dialog, int number);
QPushButton* buttonOf(QWidget* dialog, int number);

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

// The error text of a failed table file operation: the file layer's message, two blanks and
// the system's text for `code`.
QString fileError(const QString& message, int code);

QByteArray readFileBytes(const QString& path);
void writeFileBytes(const QString& path, const QByteArray& bytes);

// `count` bytes 1, 2, 3, ... (wrapping), distinct from a zeroed table.
QByteArray countingBytes(int count, int first = 1);
