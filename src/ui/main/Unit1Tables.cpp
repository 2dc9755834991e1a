// "Setting" of the positioner and of the remote control: read the table from the box, edit
// it in its dialog, and write it back in 8-byte chunks when the user stores it.
#include "Unit1.h"

#include "TableTransfer.h"
#include "Unit2.h"
#include "Unit3.h"
#include "Unitx.h"

#include <QDialog>

BoxExchange TForm1::boxExchange()
{
    return [this](const BoxRequest& request) { return sendBoxRequest(request).reply; };
}

void TForm1::editTableInBox(TableDialog& dialog)
{
    if (!downloadTable(boxExchange(), dialog.kind(), dialog.tableBytes())) {
        ErrorBox(QStringLiteral("Error on receive!"));
        return;
    }
    dialog.ShowData();
    if (dialog.showModalTable() != QDialog::Accepted)
        return;
    uploadTable(boxExchange(), dialog.kind(), dialog.tableBytes());
    InfoBox(QStringLiteral("Done"));
}

void TForm1::Settings1Click()
{
    editTableInBox(*Form2);
}

void TForm1::settings2Click()
{
    editTableInBox(*Form3);
}
