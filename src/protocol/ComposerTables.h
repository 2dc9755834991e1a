// The constant tables behind the DiSEqC composer's four lists: framing byte, address
// (family) byte, version level and command byte. Texts are single-byte Latin-1.
#pragma once

#include <array>
#include <cstdint>

struct tdescarray {
    std::uint8_t Level; // DiSEqC version times ten (12 = 1.2); 0 = listed at every level
    std::uint8_t Code;  // the byte the row stands for on the bus
    const char* Text;
};

extern const std::array<tdescarray, 8> FramingTable;
extern const std::array<tdescarray, 18> FamilyTable;
extern const std::array<tdescarray, 4> LevelTable;
extern const std::array<tdescarray, 65> CommandTable;
