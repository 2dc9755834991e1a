// "Setting" of the positioner and of the remote control: read the table from the box, edit
// it in its dialog, and write it back in 8-byte chunks when the user stores it.
#include "Unit1.h"

#include "Unit2.h"
#include "Unit3.h"
#include "Unitx.h"

#include <QDialog>

BoxExchange TForm1::boxExchange()
{
    return [this](const BoxRequest& request) {
        sendRequest(request);
        return RxBuffer.contents();
    };
}

void TForm1::Settings1Click()
{
    if (!downloadPositionTable(boxExchange(), Form2->PositionTable)) {
        ErrorBox(QStringLiteral("Error on receive!"));
        return;
    }
    Form2->ShowData();
    if (Form2->showModalTable() != QDialog::Accepted)
        return;
    uploadPositionTable(boxExchange(), Form2->PositionTable);
    InfoBox(QStringLiteral("Done"));
}

void TForm1::settings2Click()
{
    if (!downloadRemoteTable(boxExchange(), Form3->RemoteTable)) {
        ErrorBox(QStringLiteral("Error on receive!"));
        return;
    }
    Form3->ShowData();
    if (Form3->showModalTable() != QDialog::Accepted)
        return;
    uploadRemoteTable(boxExchange(), Form3->RemoteTable);
    InfoBox(QStringLiteral("Done"));
}
