// What the positioner and remote-control dialogs share: the fixed dialog frame and fonts,
// controls at fixed places, Esc and the close box acting as "Cancel", and the modal showing
// that centres the dialog over the main window the first time only.
#pragma once

#include "Glyphs.h"

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

class TableDialog : public QDialog {
    Q_OBJECT

public:
    // Shows the dialog modally; QDialog::Accepted or QDialog::Rejected. While the application
    // is terminating it shows nothing and returns Rejected at once.
    int showModalTable();

    // Tells whether the application is terminating; never, until one is set.
    void setTerminatingCheck(std::function<bool()> terminating);

    // Esc and the title bar's close box press "Cancel".
    void reject() override;

protected:
    TableDialog(QWidget* parent, const QString& name, const QString& caption, QSize clientSize);

    // Edits and labels are named "Edit<number>" and "Label<number>". Controls take the tab
    // order in which they are added.
    QLineEdit* addEdit(int number, const QRect& geometry);
    QLabel* addLabel(int number, const QString& caption, const QRect& geometry, Qt::Alignment alignment);

    // Button "BitBtn<number>", 100 x 25 px, with a glyph; never a default button. `handler`
    // runs on a click, with its errors shown by the default handler.
    QPushButton* addButton(int number, const QString& caption, Glyph glyph, QPoint position,
                           std::function<void()> handler);

    // The button whose click Esc and the close box stand for.
    void setCancelButton(QPushButton* button);

    // Hides the dialog and ends its modal display with Cancel.
    void hideWithCancel();

private:
    void centreOverMainWindow();

    QWidget* fields_;
    QPushButton* cancelButton_ = nullptr;
    std::function<bool()> terminating_;
    bool shownBefore_ = false;
};
