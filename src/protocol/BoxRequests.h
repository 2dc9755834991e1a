// The requests the interface box understands, each with the number of reply bytes the
// program waits for, and the layout of the two table replies. The transaction pads every
// request with zero bytes to the full packet length.
#pragma once

#include "protocol/DiseqcMessages.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct BoxRequest {
    std::string bytes; // may contain zero bytes
    std::uint8_t replyLength;
    bool textReply = false; // the reply is text, shown in the ASCII form whatever the display
};

namespace BoxRequests {

constexpr std::uint8_t DiseqcReplyLength = 2;
constexpr std::uint8_t PositionReplyLength = 35;
constexpr std::uint8_t RemoteReplyLength = 99;

constexpr std::uint8_t PositionerTableId = 1;
constexpr std::uint8_t RemoteTableId = 2;
constexpr int TableChunkLength = 8;
constexpr int PositionTableSize = 33;
constexpr int RemoteTableSize = 97;

BoxRequest hardwareInfo();
// 03 n b1..bn: the box puts the n message bytes on the DiSEqC bus.
BoxRequest diseqcMessage(std::string_view message);
BoxRequest diseqcMessage(const DiseqcMessage& message);
// The message such a request carries; none for any other request.
std::optional<std::string> carriedDiseqcMessage(const BoxRequest& request);
BoxRequest setPosition(std::uint8_t position);
BoxRequest stepUp();
BoxRequest stepDown();
BoxRequest readPositionTable();
BoxRequest setIrValue(std::uint8_t value);
BoxRequest setRepeatValue(std::uint8_t repeat);
// Sent after every IR or repeat value setting.
BoxRequest followUp();
BoxRequest readRemoteTable();
BoxRequest irDetect(bool on);
// 0A t k d0..d7: eight table bytes starting at byte offset k of table t.
BoxRequest writeTableChunk(std::uint8_t table, std::uint8_t offset, const std::uint8_t* eight);
// The box powers the bus with 0B 00 and switches it off with 0B 01.
BoxRequest dsqPower(bool checked);
BoxRequest test22kHz(bool on);
BoxRequest analyse(bool on);
BoxRequest softwareReset();
BoxRequest readIrValue();

// The fixed messages of the "DiSEqC Send" menu, all to framing E0.
BoxRequest diseqcReset();
BoxRequest diseqcPeripheralPowerOn();
BoxRequest drivePolarMotorToZero();
BoxRequest driveStepMotorEast();
BoxRequest driveStepMotorWest();
BoxRequest recalculateSatellitePositions();

// Reply bytes 1..32 are positions 0..31; table byte 32 is not part of the reply.
void decodePositionReply(const std::uint8_t* reply, std::uint8_t table[PositionTableSize]);
// Reply byte 0 is the repeat value (table byte 96), bytes 1..96 the twelve key codes.
void decodeRemoteReply(const std::uint8_t* reply, std::uint8_t table[RemoteTableSize]);

} // namespace BoxRequests
