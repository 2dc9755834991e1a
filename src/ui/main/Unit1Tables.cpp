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

#include <vector>

bool TForm1::downloadTable(const BoxRequest& read, ReplyDecoder decode, std::uint8_t* table)
{
    sendRequest(read);
    // Only an exact count is a table: a short reply and a long one are both refused.
    if (RxBuffer.count() != read.replyLength) {
        ErrorBox(QStringLiteral("Error on receive!"));
        return false;
    }
    std::vector<std::uint8_t> reply(read.replyLength);
    RxBuffer.copyOut(0, reply.data(), read.replyLength);
    decode(reply.data(), table);
    return true;
}

void TForm1::uploadTable(std::uint8_t tableId, const std::uint8_t* table, int size)
{
    // The outcome of each chunk is not examined: every chunk is sent whatever happens.
    for (int offset = 0; offset < size; offset += BoxRequests::TableChunkLength)
        sendRequest(BoxRequests::writeTableChunk(tableId, static_cast<std::uint8_t>(offset), table + offset));
}

void TForm1::Settings1Click()
{
    if (!downloadTable(BoxRequests::readPositionTable(), BoxRequests::decodePositionReply, PositionTable.data()))
        return;
    Form2->ShowData();
    if (Form2->showModalTable() != QDialog::Accepted)
        return;
    uploadTable(BoxRequests::PositionerTableId, PositionTable.data(), 32);
    InfoBox(QStringLiteral("Done"));
}

void TForm1::settings2Click()
{
    if (!downloadTable(BoxRequests::readRemoteTable(), BoxRequests::decodeRemoteReply, RemoteTable.data()))
        return;
    Form3->ShowData();
    if (Form3->showModalTable() != QDialog::Accepted)
        return;
    uploadTable(BoxRequests::RemoteTableId, RemoteTable.data(), 96);
    sendRequest(BoxRequests::setRepeatValue(RemoteTable[96]));
    sendRequest(BoxRequests::followUp());
    InfoBox(QStringLiteral("Done"));
}
