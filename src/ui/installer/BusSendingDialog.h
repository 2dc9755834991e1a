// What the installer's dialogs share: shown beside the main window without stopping it, so
// that its log keeps showing what arrives; the focus on the first edit at each showing; Return
// in an edit only ends the typing, and on a focused button presses it; Escape closes; and the
// sends, which go through the main window's transaction.
#pragma once

#include "protocol/DiseqcMessages.h"

#include <QDialog>

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;

// Sends messages in turn through the main window's request/reply transaction, `gap` apart, for
// as long as `from` stays shown; while that transaction is busy, it sends nothing and says so.
using DiseqcSender =
    std::function<void(const std::vector<DiseqcMessage>& messages, std::chrono::milliseconds gap, const QWidget* from)>;

class BusSendingDialog : public QDialog {
    Q_OBJECT

public:
    // Shows the dialog, or brings it to the front, with the focus on its first edit.
    void showDialog();

protected:
    BusSendingDialog(QWidget* parent, const char* name, const QString& title, DiseqcSender send);

    void setFirstEdit(QLineEdit* edit) { m_firstEdit = edit; }

    // A button that works out its messages when pressed and sends them; none (a value that
    // does not make sense, said in the dialog already) sends nothing and beeps.
    QPushButton* addSendButton(const char* name, const QString& caption,
                               std::function<std::optional<std::vector<DiseqcMessage>>()> messages);

    // A figure the dialog works out: read-only text the keyboard reaches, named for a screen
    // reader by `spokenName` and described by what it shows.
    static QLabel* newFigure(const char* name, const QString& spokenName);
    static void showFigure(QLabel* figure, const QString& text);
    // The figure beside a caption that is no label of a control: the figure names itself.
    static void addFigureRow(QFormLayout* form, const QString& caption, QLabel* figure);

    // The quiet between the messages of one press.
    virtual std::chrono::milliseconds messageGap() const { return Diseqc::MessageGap; }

    void keyPressEvent(QKeyEvent* event) override;
    // Figures that wrap onto more lines than at the last layout make the dialog taller rather
    // than being cut off.
    bool event(QEvent* event) override;

private:
    DiseqcSender m_send;
    QLineEdit* m_firstEdit = nullptr;
};
