// "Setting" of the positioner and of the remote control: read the table from the box, edit
// it in its dialog, and write it back in 8-byte chunks when the user stores it.
#include "Unit1.h"

#include "BoxRequests.h"
#include "ReceiveBuffer.h"
#include "Tables.h"
#include "Unit2.h"
#include "Unit3.h"
#include "Unitx.h"

#include <QDialog>

void TForm1::Settings1Click()
{
    const BoxRequest read = BoxRequests::readPositionTable();
    sendRequest(read);
    if (RxBuffer.count() != read.replyLength) {
        ErrorBox(QStringLiteral("Error on receive!"));
        return;
    }
    std::uint8_t reply[BoxRequests::PositionReplyLength];
    RxBuffer.copyOut(0, reply, sizeof reply);
    BoxRequests::decodePositionReply(reply, PositionTable.data());

    Form2->ShowData();
    if (Form2->showModalTable() != QDialog::Accepted)
        return;
    for (std::uint8_t offset = 0; offset < 32; offset += BoxRequests::TableChunkLength)
        sendRequest(BoxRequests::writeTableChunk(BoxRequests::PositionerTableId, offset, PositionTable.data() + offset));
    InfoBox(QStringLiteral("Done"));
}

void TForm1::settings2Click()
{
    const BoxRequest read = BoxRequests::readRemoteTable();
    sendRequest(read);
    if (RxBuffer.count() != read.replyLength) {
        ErrorBox(QStringLiteral("Error on receive!"));
        return;
    }
    std::uint8_t reply[BoxRequests::RemoteReplyLength];
    RxBuffer.copyOut(0, reply, sizeof reply);
    BoxRequests::decodeRemoteReply(reply, RemoteTable.data());

    Form3->ShowData();
    if (Form3->showModalTable() != QDialog::Accepted)
        return;
    for (std::uint8_t offset = 0; offset < 96; offset += BoxRequests::TableChunkLength)
        sendRequest(BoxRequests::writeTableChunk(BoxRequests::RemoteTableId, offset, RemoteTable.data() + offset));
    sendRequest(BoxRequests::setRepeatValue(RemoteTable[96]));
    sendRequest(BoxRequests::followUp());
    InfoBox(QStringLiteral("Done"));
}
