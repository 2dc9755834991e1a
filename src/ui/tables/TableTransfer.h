// Reading a table from the interface box and writing it back, over one request/reply
// exchange. No windows: the main window's "Setting" commands call these around the dialogs,
// and the command line calls them between the box and a file.
#pragma once

#include "protocol/BoxRequests.h"
#include "ui/tables/TableKind.h"

#include <cstdint>
#include <functional>
#include <vector>

// Sends one request and waits for its reply; gives the bytes counted when the wait ended.
using BoxExchange = std::function<std::vector<std::uint8_t>(const BoxRequest&)>;

// What each front end shows when a download is refused.
constexpr const char* DownloadFailedText = "Error on receive!";

// A download takes a reply of exactly the expected length only: a short reply and a long one
// are both refused (false), and the table (`kind.size` bytes) is left as it was.
bool downloadTable(const BoxExchange& box, const TableKind& kind, std::uint8_t* table);

// An upload sends every 8-byte chunk whatever the box answers to the one before; the remote
// table then gets its repeat value and the follow-up request.
void uploadTable(const BoxExchange& box, const TableKind& kind, const std::uint8_t* table);
