#include "TableTransfer.h"

namespace {

using ReplyDecoder = void (*)(const std::uint8_t* reply, std::uint8_t* table);

bool download(const BoxExchange& box, const BoxRequest& read, ReplyDecoder decode, std::uint8_t* table)
{
    const std::vector<std::uint8_t> reply = box(read);
    if (reply.size() != read.replyLength)
        return false;
    decode(reply.data(), table);
    return true;
}

void uploadChunks(const BoxExchange& box, std::uint8_t tableId, const std::uint8_t* table, int size)
{
    for (int offset = 0; offset < size; offset += BoxRequests::TableChunkLength)
        box(BoxRequests::writeTableChunk(tableId, static_cast<std::uint8_t>(offset), table + offset));
}

} // namespace

bool downloadPositionTable(const BoxExchange& box, PositionTableBytes& table)
{
    return download(box, BoxRequests::readPositionTable(), BoxRequests::decodePositionReply, table.data());
}

bool downloadRemoteTable(const BoxExchange& box, RemoteTableBytes& table)
{
    return download(box, BoxRequests::readRemoteTable(), BoxRequests::decodeRemoteReply, table.data());
}

void uploadPositionTable(const BoxExchange& box, const PositionTableBytes& table)
{
    uploadChunks(box, BoxRequests::PositionerTableId, table.data(), PositionCount);
}

void uploadRemoteTable(const BoxExchange& box, const RemoteTableBytes& table)
{
    uploadChunks(box, BoxRequests::RemoteTableId, table.data(), KeyCodeBytes);
    box(BoxRequests::setRepeatValue(table[RepeatByte]));
    box(BoxRequests::followUp());
}
