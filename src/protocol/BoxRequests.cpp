#include "protocol/BoxRequests.h"

#include <algorithm>
#include <initializer_list>

namespace BoxRequests {

namespace {

BoxRequest request(std::initializer_list<std::uint8_t> bytes, std::uint8_t replyLength)
{
    return {std::string(bytes.begin(), bytes.end()), replyLength};
}

BoxRequest switchRequest(std::uint8_t opcode, bool on)
{
    return request({opcode, static_cast<std::uint8_t>(on ? 1 : 0)}, 2);
}

BoxRequest textRequest(BoxRequest plain)
{
    plain.textReply = true;
    return plain;
}

BoxRequest fixedMessage(std::initializer_list<std::uint8_t> message)
{
    return diseqcMessage(std::string(message.begin(), message.end()));
}

} // namespace

BoxRequest hardwareInfo() { return textRequest(request({0x01}, 90)); }

BoxRequest diseqcMessage(std::string_view message)
{
    BoxRequest result{std::string{'\x03', static_cast<char>(message.size())}, DiseqcReplyLength};
    result.bytes.append(message);
    return result;
}

BoxRequest diseqcMessage(const DiseqcMessage& message)
{
    return diseqcMessage(std::string(message.begin(), message.end()));
}

std::optional<std::string> carriedDiseqcMessage(const BoxRequest& request)
{
    const std::string& bytes = request.bytes;
    if (bytes.size() < 2 || bytes[0] != '\x03')
        return std::nullopt;
    return bytes.substr(2, static_cast<unsigned char>(bytes[1]));
}

BoxRequest setPosition(std::uint8_t position) { return request({0x04, 0x00, position}, 2); }
BoxRequest stepUp() { return request({0x05, 0x00}, 2); }
BoxRequest stepDown() { return request({0x05, 0x01}, 2); }
BoxRequest readPositionTable() { return request({0x06}, PositionReplyLength); }
BoxRequest setIrValue(std::uint8_t value) { return request({0x07, 0x00, 0x01, value}, 3); }
BoxRequest setRepeatValue(std::uint8_t repeat) { return request({0x07, 0x00, 0x02, repeat}, 3); }
BoxRequest followUp() { return request({0x08}, 2); }
BoxRequest readRemoteTable() { return request({0x09}, RemoteReplyLength); }
BoxRequest irDetect(bool on) { return request({0x09, 0x01, static_cast<std::uint8_t>(on ? 1 : 0)}, 2); }

BoxRequest writeTableChunk(std::uint8_t table, std::uint8_t offset, const std::uint8_t* eight)
{
    BoxRequest result = request({0x0A, table, offset}, 10);
    result.bytes.append(reinterpret_cast<const char*>(eight), TableChunkLength);
    return result;
}

BoxRequest dsqPower(bool checked) { return textRequest(switchRequest(0x0B, !checked)); }
BoxRequest test22kHz(bool on) { return switchRequest(0x0C, on); }
BoxRequest analyse(bool on) { return textRequest(switchRequest(0x0D, on)); }
BoxRequest softwareReset() { return request({0x0E}, 2); }
BoxRequest readIrValue() { return textRequest(request({0x11}, 2)); }

BoxRequest diseqcReset() { return fixedMessage({0xE0, 0x00, 0x00}); }
BoxRequest diseqcPeripheralPowerOn() { return fixedMessage({0xE0, 0x00, 0x03}); }
// The menu item's message as the menu has always sent it, one data byte; an aim at a satellite
// due south sends the angular command with both its bytes instead (E0 31 6E E0 00).
BoxRequest drivePolarMotorToZero() { return fixedMessage({0xE0, 0x31, 0x6E, 0x00}); }
BoxRequest driveStepMotorEast() { return fixedMessage({0xE0, 0x31, 0x68, 0xFF}); }
BoxRequest driveStepMotorWest() { return fixedMessage({0xE0, 0x31, 0x69, 0xFF}); }
BoxRequest recalculateSatellitePositions() { return fixedMessage({0xE0, 0x31, 0x6F, 0x00}); }

void decodePositionReply(const std::uint8_t* reply, std::uint8_t table[PositionTableSize])
{
    std::copy(reply + 1, reply + 1 + PositionTableSize - 1, table);
}

void decodeRemoteReply(const std::uint8_t* reply, std::uint8_t table[RemoteTableSize])
{
    table[RemoteTableSize - 1] = reply[0];
    std::copy(reply + 1, reply + RemoteTableSize, table);
}

} // namespace BoxRequests
