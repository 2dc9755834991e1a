// Unit2: the positioner table dialog TForm2 (instance Form2, owned by the main window). It
// holds PositionTable, shows its bytes 0 to 31 in decimal edits, stores what the user typed
// back into the table, and saves the table to or loads it from a ".pos" file.
#pragma once

#include "ui/tables/TableDialog.h"
#include "ui/tables/Tables.h"

#include <vector>

class TForm2 : public TableDialog {
    Q_OBJECT

public:
    explicit TForm2(QWidget* parent = nullptr);

    // Both file dialogs start in the program's folder; every edit shows "0".
    void FormCreate();
    // 1 when every edit held a byte and all were stored; 0 after reporting the first that did not.
    int StoreData() override;
    // PositionTable bytes 0 to 31 into the edits, in decimal.
    void ShowData() override;

    void BitBtn1Click(); // "Store Data"
    void BitBtn2Click(); // "Cancel"
    void BitBtn3Click(); // "Save Data"
    void BitBtn4Click(); // "Load Data"

    std::uint8_t* tableBytes() override { return PositionTable.data(); }

    // The working copy of the positioner table, all 0 at start. Only the GUI thread uses it.
    PositionTableBytes PositionTable{};

private:
    std::vector<QLineEdit*> edits_; // Edit0 to Edit31, edit i showing position i
};
