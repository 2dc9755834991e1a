// What the positioner and remote-control dialogs share: the fixed dialog frame and fonts,
// controls at fixed places, Esc and the close box acting as "Cancel", Return pressing the
// focused button, the modal showing that centres the dialog over the main window the first
// time only and starts on the first edit every time, and the working table with its
// "Store Data", "Save Data" and "Load Data".
#pragma once

#include "app/Prompts.h"
#include "ui/tables/Glyphs.h"
#include "ui/tables/TableKind.h"

#include <QDialog>

#include <cstdint>
#include <functional>

class QKeyEvent;
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

    const TableKind& kind() const { return kind_; }
    // The working table, kind().size bytes.
    virtual std::uint8_t* tableBytes() = 0;
    // 1 when every edit held a byte and all were stored; 0 after reporting the first that did not.
    virtual int StoreData() = 0;
    // The working table into the edits.
    virtual void ShowData() = 0;

    FileDialogSettings sd; // "Save"
    FileDialogSettings od; // "Open"

protected:
    TableDialog(QWidget* parent, const TableKind& kind, const QString& name, const QString& caption,
                QSize clientSize);

    // Both file dialogs start in the program's folder, or in the documents folder where the
    // user may not write there.
    void startFileDialogsAfresh();

    // "Store Data": the edits into the table, and the dialog closed with OK.
    void storeAndAccept();
    // "Save Data": the edits into the table, then the table into a file the user picks.
    void saveToFile();
    // "Load Data": the table from a file the user picks, into the edits.
    void loadFromFile();

    // Edits and labels are named "Edit<number>" and "Label<number>". Controls take the tab
    // order in which they are added. `spokenName` is what a screen reader calls the edit;
    // without one the edit takes the text of the label whose buddy it is.
    QLineEdit* addEdit(int number, const QRect& geometry, const QString& spokenName = {});
    QLabel* addLabel(int number, const QString& caption, const QRect& geometry, Qt::Alignment alignment);

    // Button "BitBtn<number>", 100 x 25 px, with a glyph; never a default button. `handler`
    // runs on a click, with its errors shown by the default handler.
    QPushButton* addButton(int number, const QString& caption, Glyph glyph, QPoint position,
                           std::function<void()> handler);

    // The button whose click Esc and the close box stand for.
    void setCancelButton(QPushButton* button);

    // Hides the dialog and ends its modal display with Cancel.
    void hideWithCancel();

    void keyPressEvent(QKeyEvent* event) override;

private:
    void centreOverMainWindow();

    const TableKind& kind_;
    QWidget* fields_;
    QLineEdit* firstEdit_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    std::function<bool()> terminating_;
    bool shownBefore_ = false;
};
