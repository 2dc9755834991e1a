// The two tables the interface box keeps, each described once: its size (the size of its
// file too), its file extension, how it is read from the box and how it is written back.
// The dialogs, the window's "Setting" commands and the command line all work from these.
#pragma once

#include "protocol/BoxRequests.h"

#include <cstdint>

struct TableKind {
    int size;              // bytes in the working table and in a table file
    const char* extension; // of the table's files, with its dot
    BoxRequest (*readRequest)();
    // Fills the table from a reply of exactly readRequest().replyLength bytes.
    void (*decodeReply)(const std::uint8_t* reply, std::uint8_t* table);
    std::uint8_t tableId;   // as the chunk writes name it
    int chunkedBytes;       // the leading bytes written back in 8-byte chunks
    bool repeatValueLast;   // then byte `chunkedBytes` as the repeat value, and the follow-up
};

// Bytes 0 to 31 downloaded and uploaded; byte 32 is neither.
extern const TableKind PositionerTableKind;
// Key codes in bytes 0 to 95, the repeat value in byte 96.
extern const TableKind RemoteTableKind;
