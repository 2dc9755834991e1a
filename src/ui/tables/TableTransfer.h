// Reading a table from the interface box and writing it back, over one request/reply
// exchange. No windows: the main window's "Setting" commands call these around the dialogs.
#pragma once

#include "BoxRequests.h"
#include "Tables.h"

#include <cstdint>
#include <functional>
#include <vector>

// Sends one request and waits for its reply; gives the bytes counted when the wait ended.
using BoxExchange = std::function<std::vector<std::uint8_t>(const BoxRequest&)>;

// A download takes a reply of exactly the expected length only: a short reply and a long one
// are both refused (false), and the table is left as it was. The positioner download fills
// bytes 0 to 31; byte 32 is neither downloaded nor uploaded.
bool downloadPositionTable(const BoxExchange& box, PositionTableBytes& table);
bool downloadRemoteTable(const BoxExchange& box, RemoteTableBytes& table);

// Uploads send every 8-byte chunk whatever the box answers to the one before; the remote
// table then gets its repeat value and the follow-up request.
void uploadPositionTable(const BoxExchange& box, const PositionTableBytes& table);
void uploadRemoteTable(const BoxExchange& box, const RemoteTableBytes& table);
