#include "TableKind.h"

#include "Tables.h"

const TableKind PositionerTableKind{
    BoxRequests::PositionTableSize, ".pos", BoxRequests::readPositionTable, BoxRequests::decodePositionReply,
    BoxRequests::PositionerTableId, PositionCount, false};

const TableKind RemoteTableKind{
    BoxRequests::RemoteTableSize, ".rem", BoxRequests::readRemoteTable, BoxRequests::decodeRemoteReply,
    BoxRequests::RemoteTableId, KeyCodeBytes, true};
