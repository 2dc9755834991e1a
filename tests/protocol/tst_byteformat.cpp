// How received and sent bytes are written out in the log.
#include "protocol/ByteFormat.h"

#include "doctest.h"

using namespace std::string_literals;

TEST_CASE("a byte in binary has eight digits, the highest bit first")
{
    const struct {
        int value;
        const char* bits;
    } rows[] = {{0x00, "00000000"}, {0x01, "00000001"}, {0x4F, "01001111"},
                {0x80, "10000000"}, {0xA5, "10100101"}, {0xFF, "11111111"}};
    for (const auto& row : rows)
        CHECK(ByteToBin(static_cast<std::uint8_t>(row.value)) == row.bits);
}

TEST_CASE("a byte in hex has two upper-case digits")
{
    const struct {
        int value;
        const char* hex;
    } rows[] = {{0x00, "00"}, {0x0A, "0A"}, {0x6B, "6B"}, {0xE0, "E0"}, {0xFF, "FF"}};
    for (const auto& row : rows)
        CHECK(hexByte(static_cast<std::uint8_t>(row.value)) == row.hex);
}

TEST_CASE("received bytes become the tokens of their display mode")
{
    const std::string okLine = "\x4F\x4B\x0D\x0A";
    const struct {
        const char* name;
        std::string bytes;
        DisplayMode mode;
        bool showCRLF;
        const char* text;
    } rows[] = {
        {"hex, CRLF shown", okLine, DisplayMode::Hex, true, "4F 4B <CR> <LF> "},
        {"hex, CRLF hidden", okLine, DisplayMode::Hex, false, "4F 4B 0D 0A "},
        {"binary, CRLF shown", okLine, DisplayMode::Binary, true, "01001111 01001011 <CR> <LF> "},
        {"binary, CRLF hidden", okLine, DisplayMode::Binary, false, "01001111 01001011 00001101 00001010 "},
        {"ascii, CRLF shown", okLine, DisplayMode::Ascii, true, "OK<CR><LF>"},
        {"ascii, CRLF hidden", okLine, DisplayMode::Ascii, false, "OK<CR><LF>"},
        {"ascii 00", "\0"s, DisplayMode::Ascii, true, "0x00"},
        {"ascii 09", "\x09", DisplayMode::Ascii, true, "0x09"},
        {"ascii 1F", "\x1F", DisplayMode::Ascii, true, "0x1F"},
        {"ascii blank", "\x20", DisplayMode::Ascii, false, " "},
        {"ascii tilde", "\x7E", DisplayMode::Ascii, false, "~"},
        {"ascii 7F", "\x7F", DisplayMode::Ascii, false, "0x7F"},
        {"ascii 80", "\x80", DisplayMode::Ascii, false, "0x80"},
        {"ascii FF", "\xFF", DisplayMode::Ascii, false, "0xFF"},
        {"ascii mixed", "A\0B"s, DisplayMode::Ascii, false, "A0x00B"},
        {"hex 00 FF", "\0\xFF"s, DisplayMode::Hex, true, "00 FF "},
        {"binary 00", "\0"s, DisplayMode::Binary, true, "00000000 "},
    };
    for (const auto& row : rows) {
        INFO(row.name);
        std::string out;
        for (char byte : row.bytes)
            appendReceivedByte(out, static_cast<std::uint8_t>(byte), row.mode, row.showCRLF);
        CHECK(out == row.text);
    }
}

TEST_CASE("tokens are appended to the line")
{
    std::string line = "4F ";
    appendReceivedByte(line, 0x4B, DisplayMode::Hex, true);
    appendReceivedByte(line, 0x0D, DisplayMode::Binary, false);
    CHECK(line == "4F 4B 00001101 ");
}

TEST_CASE("a sent packet is dumped byte by byte")
{
    const struct {
        std::string packet;
        const char* dump;
    } rows[] = {
        {"", ""},
        {"\x03\x03\xE0\x00\x00\x00\x00\x00\x00\x00\x00"s, "0x03 0x03 0xE0 0x00 0x00 0x00 0x00 0x00 0x00 0x00 0x00 "},
        {"\x0A\x01\x00\x0A\x14\x1E\x28\x32\x3C\x46\x50"s, "0x0A 0x01 0x00 0x0A 0x14 0x1E 0x28 0x32 0x3C 0x46 0x50 "},
        {"\xFF\x6b", "0xFF 0x6B "},
    };
    for (const auto& row : rows)
        CHECK(packetDump(row.packet) == row.dump);
}
