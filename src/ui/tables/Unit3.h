// Unit3: the remote-control table dialog TForm3 (instance Form3, owned by the main window).
// It holds RemoteTable, shows its twelve 8-byte key codes and the repeat value as "0x.."
// texts, stores what the user typed back into the table, clears the edits, and saves the
// table to or loads it from a ".rem" file.
#pragma once

#include "ui/tables/TableDialog.h"
#include "ui/tables/Tables.h"

#include <vector>

class TForm3 : public TableDialog {
    Q_OBJECT

public:
    explicit TForm3(QWidget* parent = nullptr);

    // Both file dialogs start in the program's folder; every edit shows "0x00".
    void FormCreate();
    // 1 when all 97 edits held bytes and all were stored; 0 after reporting the first that did not.
    int StoreData() override;
    // All 97 bytes of RemoteTable into the edits, as "0x" and two upper-case hex digits.
    void ShowData() override;

    void BitBtn1Click(); // "Store Data"
    void BitBtn2Click(); // "Cancel"
    void BitBtn3Click(); // "Clear"
    void BitBtn4Click(); // "Save Data"
    void BitBtn5Click(); // "Load Data"

    std::uint8_t* tableBytes() override { return RemoteTable.data(); }

    // The working copy of the remote-control table, all 0 at start. Only the GUI thread uses it.
    RemoteTableBytes RemoteTable{};

private:
    std::vector<QLineEdit*> gridEdits_; // Edit0 to Edit95, edit i showing table byte i
    QLineEdit* Edit96 = nullptr;        // the repeat value, table byte 96
};
