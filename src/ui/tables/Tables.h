// The two tables the interface box keeps, as the program holds its working copies of them.
#pragma once

#include "protocol/BoxRequests.h"

#include <array>
#include <cstdint>

// Bytes 0 to 31: positioner positions 0 to 31. Byte 32 is carried along but never shown
// or sent; only loading a table file changes it.
using PositionTableBytes = std::array<std::uint8_t, BoxRequests::PositionTableSize>;
constexpr int PositionCount = BoxRequests::PositionTableSize - 1;

// Bytes 0 to 95: twelve 8-byte remote-control key codes; byte 96: the repeat value.
using RemoteTableBytes = std::array<std::uint8_t, BoxRequests::RemoteTableSize>;
constexpr int KeyCodeBytes = BoxRequests::RemoteTableSize - 1;
constexpr int RepeatByte = KeyCodeBytes;
