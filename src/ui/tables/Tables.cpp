#include "Tables.h"

std::array<std::uint8_t, 33> PositionTable{};
std::array<std::uint8_t, 97> RemoteTable{};
