// The program's working copies of the two tables the interface box keeps. Only the GUI
// thread reads or writes them.
#pragma once

#include <array>
#include <cstdint>

// Bytes 0 to 31: positioner positions 0 to 31. Byte 32 is carried along but never shown
// or sent; only loading a table file changes it.
extern std::array<std::uint8_t, 33> PositionTable;

// Bytes 0 to 95: twelve 8-byte remote-control key codes; byte 96: the repeat value.
extern std::array<std::uint8_t, 97> RemoteTable;
