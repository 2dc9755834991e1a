#include "ui/tables/TableTransfer.h"

bool downloadTable(const BoxExchange& box, const TableKind& kind, std::uint8_t* table)
{
    const BoxRequest read = kind.readRequest();
    const std::vector<std::uint8_t> reply = box(read);
    if (reply.size() != read.replyLength)
        return false;
    kind.decodeReply(reply.data(), table);
    return true;
}

void uploadTable(const BoxExchange& box, const TableKind& kind, const std::uint8_t* table)
{
    for (int offset = 0; offset < kind.chunkedBytes; offset += BoxRequests::TableChunkLength)
        box(BoxRequests::writeTableChunk(kind.tableId, static_cast<std::uint8_t>(offset), table + offset));
    if (!kind.repeatValueLast)
        return;
    box(BoxRequests::setRepeatValue(table[kind.chunkedBytes]));
    box(BoxRequests::followUp());
}
