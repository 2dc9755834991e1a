#include "ui/tables/TableKind.h"

#include "ui/tables/Tables.h"

const TableKind PositionerTableKind{
    BoxRequests::PositionTableSize, ".pos", BoxRequests::readPositionTable, BoxRequests::decodePositionReply,
    BoxRequests::PositionerTableId, PositionCount, false};

const TableKind RemoteTableKind{
    BoxRequests::RemoteTableSize, ".rem", BoxRequests::readRemoteTable, BoxRequests::decodeRemoteReply,
    BoxRequests::RemoteTableId, KeyCodeBytes, true};
