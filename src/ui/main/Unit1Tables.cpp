// "Setting" of the positioner and of the remote control: read the table from the box, edit
// it in its dialog, and write it back in 8-byte chunks when the user stores it.
#include "ui/main/Unit1.h"

#include "app/Unitx.h"
#include "ui/tables/TableTransfer.h"
#include "ui/tables/Unit2.h"
#include "ui/tables/Unit3.h"

#include <QDialog>

BoxExchange TForm1::boxExchange()
{
    return [this](const BoxRequest& request) { return sendBoxRequest(request).reply; };
}

void TForm1::editTableInBox(TableDialog& dialog)
{
    if (!downloadTable(boxExchange(), dialog.kind(), dialog.tableBytes())) {
        ErrorBox(QString::fromLatin1(DownloadFailedText));
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
