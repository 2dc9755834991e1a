#include "protocol/ByteFormat.h"

namespace {

constexpr char HexDigits[] = "0123456789ABCDEF";

void appendHex(std::string& out, std::uint8_t value)
{
    out += HexDigits[value >> 4];
    out += HexDigits[value & 0x0F];
}

void appendBinary(std::string& out, std::uint8_t value)
{
    for (int bit = 7; bit >= 0; --bit)
        out += (value >> bit) & 1 ? '1' : '0';
}

} // namespace

std::string ByteToBin(std::uint8_t value)
{
    std::string text;
    appendBinary(text, value);
    return text;
}

std::string hexByte(std::uint8_t value)
{
    std::string text;
    appendHex(text, value);
    return text;
}

void appendReceivedByte(std::string& out, std::uint8_t value, DisplayMode mode, bool showCRLF)
{
    const bool lineEnd = value == 13 || value == 10;
    if (lineEnd && (showCRLF || mode == DisplayMode::Ascii)) {
        out += value == 13 ? "<CR>" : "<LF>";
        if (mode != DisplayMode::Ascii)
            out += ' ';
        return;
    }
    switch (mode) {
    case DisplayMode::Hex:
        appendHex(out, value);
        out += ' ';
        break;
    case DisplayMode::Binary:
        appendBinary(out, value);
        out += ' ';
        break;
    case DisplayMode::Ascii:
        if (value >= 32 && value <= 126) {
            out += static_cast<char>(value);
        } else {
            out += "0x";
            appendHex(out, value);
        }
        break;
    }
}

std::string packetDump(std::string_view packet)
{
    std::string dump;
    dump.reserve(packet.size() * 5);
    for (char byte : packet) {
        dump += "0x";
        appendHex(dump, static_cast<std::uint8_t>(byte));
        dump += ' ';
    }
    return dump;
}
