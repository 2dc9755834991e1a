// How bytes are written out for the user: the log's tokens for received bytes, the dump
// of a sent packet, and the binary form of a byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

enum class DisplayMode : std::uint8_t { Hex = 0, Binary = 1, Ascii = 2 };

// A byte as 8 characters "0"/"1", most significant bit first.
std::string ByteToBin(std::uint8_t value);

// Two upper-case hexadecimal digits.
std::string hexByte(std::uint8_t value);

// Appends the token (and its separator) of one received byte in the given display mode.
// In ASCII mode CR and LF always show as tokens; in the other modes only with showCRLF.
void appendReceivedByte(std::string& out, std::uint8_t value, DisplayMode mode, bool showCRLF);

// "0x03 0x03 0xE0 ..." with one blank after every byte, the last one included.
std::string packetDump(std::string_view packet);
