// Every request of the interface box with its expected reply length, and the table replies.
#include "protocol/BoxRequests.h"

#include "doctest.h"

#include <array>
#include <numeric>

using namespace BoxRequests;
using namespace std::string_literals;

TEST_CASE("every request has its bytes and its reply length")
{
    const std::array<std::uint8_t, 8> positions{10, 20, 30, 40, 50, 60, 70, 80};
    const std::array<std::uint8_t, 8> keyCode{0x00, 0xFF, 0x01, 0x80, 0x7F, 0x0D, 0x0A, 0x00};
    const struct {
        const char* name;
        BoxRequest request;
        std::string bytes;
        int replyLength;
    } rows[] = {
        {"hardware info", hardwareInfo(), "\x01"s, 90},
        {"set position 0", setPosition(0), "\x04\x00\x00"s, 2},
        {"set position 44", setPosition(44), "\x04\x00\x2C"s, 2},
        {"set position 255", setPosition(255), "\x04\x00\xFF"s, 2},
        {"step up", stepUp(), "\x05\x00"s, 2},
        {"step down", stepDown(), "\x05\x01"s, 2},
        {"read position table", readPositionTable(), "\x06"s, 35},
        {"set IR value", setIrValue(0x1F), "\x07\x00\x01\x1F"s, 3},
        {"set IR value 0", setIrValue(0), "\x07\x00\x01\x00"s, 3},
        {"set repeat value", setRepeatValue(0xA5), "\x07\x00\x02\xA5"s, 3},
        {"follow-up", followUp(), "\x08"s, 2},
        {"read remote table", readRemoteTable(), "\x09"s, 99},
        {"IR detect on", irDetect(true), "\x09\x01\x01"s, 2},
        {"IR detect off", irDetect(false), "\x09\x01\x00"s, 2},
        {"positioner chunk", writeTableChunk(PositionerTableId, 0x00, positions.data()),
         "\x0A\x01\x00\x0A\x14\x1E\x28\x32\x3C\x46\x50"s, 10},
        {"last remote chunk", writeTableChunk(RemoteTableId, 0x58, keyCode.data()),
         "\x0A\x02\x58\x00\xFF\x01\x80\x7F\x0D\x0A\x00"s, 10},
        {"DSQ power checked", dsqPower(true), "\x0B\x00"s, 2},
        {"DSQ power unchecked", dsqPower(false), "\x0B\x01"s, 2},
        {"22 kHz on", test22kHz(true), "\x0C\x01"s, 2},
        {"22 kHz off", test22kHz(false), "\x0C\x00"s, 2},
        {"analyse on", analyse(true), "\x0D\x01"s, 2},
        {"analyse off", analyse(false), "\x0D\x00"s, 2},
        {"software reset", softwareReset(), "\x0E"s, 2},
        {"read IR value", readIrValue(), "\x11"s, 2},
        {"three-byte message", diseqcMessage("\xE0\x31\x60"s), "\x03\x03\xE0\x31\x60"s, 2},
        {"six-byte message with zeros", diseqcMessage("\xE2\x00\x38\x00\x01\x00"s),
         "\x03\x06\xE2\x00\x38\x00\x01\x00"s, 2},
        {"DiSEqC reset", diseqcReset(), "\x03\x03\xE0\x00\x00"s, 2},
        {"peripheral power on", diseqcPeripheralPowerOn(), "\x03\x03\xE0\x00\x03"s, 2},
        {"polar motor to 0", drivePolarMotorToZero(), "\x03\x04\xE0\x31\x6E\x00"s, 2},
        {"step motor east", driveStepMotorEast(), "\x03\x04\xE0\x31\x68\xFF"s, 2},
        {"step motor west", driveStepMotorWest(), "\x03\x04\xE0\x31\x69\xFF"s, 2},
        {"recalculate positions", recalculateSatellitePositions(), "\x03\x04\xE0\x31\x6F\x00"s, 2},
    };
    for (const auto& row : rows) {
        INFO(row.name);
        CHECK(row.request.bytes == row.bytes);
        CHECK(int(row.request.replyLength) == row.replyLength);
    }
}

TEST_CASE("a request carries a DiSEqC message after 03 and its length")
{
    CHECK(BoxRequests::carriedDiseqcMessage({std::string("\x03\x03\xE0\x31\x60\x00", 6), 2}) == "\xE0\x31\x60");
    CHECK_FALSE(BoxRequests::carriedDiseqcMessage({std::string("\x05\x00", 2), 2}));
}

TEST_CASE("a position reply fills positions 0 to 31 and leaves byte 32")
{
    std::array<std::uint8_t, PositionReplyLength> reply{};
    std::iota(reply.begin(), reply.end(), std::uint8_t(100));
    std::array<std::uint8_t, PositionTableSize> table;
    table.fill(0xEE);

    decodePositionReply(reply.data(), table.data());

    for (int position = 0; position < 32; ++position)
        CHECK(int(table[std::size_t(position)]) == 101 + position);
    CHECK(int(table[32]) == 0xEE);
}

TEST_CASE("a remote reply puts the key codes first and its first byte, the repeat value, last")
{
    std::array<std::uint8_t, RemoteReplyLength> reply{};
    std::iota(reply.begin(), reply.end(), std::uint8_t(1));
    std::array<std::uint8_t, RemoteTableSize> table;
    table.fill(0xEE);

    decodeRemoteReply(reply.data(), table.data());

    for (int index = 0; index < 96; ++index)
        CHECK(int(table[std::size_t(index)]) == index + 2);
    CHECK(int(table[96]) == 1);
}
