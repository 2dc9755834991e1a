#include "BoxRequestHandler.h"

#include <algorithm>
#include <cstdio>

namespace boxsim {
namespace {

const Packet Acknowledge{'O', 'K'};
const Packet Unknown{'?', 0x00};

constexpr std::size_t HardwareInfoLength = 90;
constexpr std::size_t PositionReadLength = 35;
constexpr std::size_t RemoteReadLength = 99;
constexpr std::size_t ChunkEchoLength = 10;
constexpr std::size_t ChunkDataOffset = 3;
constexpr std::size_t ChunkDataSize = 8;
constexpr std::size_t MessageOffset = 2;

// Readable in any display mode: text padded with blanks, CR LF at the very end.
Packet hardwareInfo()
{
    const std::string text =
        "Vantorel simulated interface box  FW 1.0  32 positions  12 remote keys";
    Packet reply(text.begin(), text.end());
    reply.resize(HardwareInfoLength - 2, ' ');
    reply.push_back('\r');
    reply.push_back('\n');
    return reply;
}

Packet positionRead(const PositionTable& table)
{
    Packet reply(PositionReadLength, 0x00);
    reply[0] = 0x06;
    std::copy(table.begin(), table.end(), reply.begin() + 1);
    return reply;
}

} // namespace

Packet BoxRequestHandler::handle(const Packet& request)
{
    switch (request.at(0)) {
    case 0x01:
        return hardwareInfo();
    case 0x03: {
        const std::size_t length = std::min(std::size_t{request.at(1)}, PacketSize - MessageOffset);
        if (length > 0)
            m_lastMessage.assign(request.begin() + MessageOffset,
                                 request.begin() + MessageOffset + length);
        return Acknowledge;
    }
    case 0x06:
        return positionRead(m_tables->positions());
    case 0x07:
        return handleIrValue(request);
    case 0x09:
        return handleRemoteRead(request);
    case 0x0A:
        return handleChunkWrite(request);
    case 0x0D:
        m_analyseMode = request.at(1) == 0x01;
        return Acknowledge;
    case 0x11:
        return Packet{m_irValue, static_cast<std::uint8_t>(m_irDetection ? 0x01 : 0x00)};
    // Positioning, bus power, test tone, reset and the follow-up request are only
    // acknowledged: nothing the program reads back depends on them.
    case 0x04:
    case 0x05:
    case 0x08:
    case 0x0B:
    case 0x0C:
    case 0x0E:
        return Acknowledge;
    default:
        return Unknown;
    }
}

std::string BoxRequestHandler::busTrafficLine() const
{
    std::string line = "BUS";
    char hex[4];
    for (const std::uint8_t byte : m_lastMessage) {
        std::snprintf(hex, sizeof hex, " %02X", byte);
        line += hex;
    }
    return line + "\r\n";
}

Packet BoxRequestHandler::handleIrValue(const Packet& request)
{
    if (request.at(2) == 0x01)
        m_irValue = request.at(3);
    else if (request.at(2) == 0x02)
        m_tables->setRepeatValue(request.at(3));
    return Packet{0x07, 'O', 'K'};
}

Packet BoxRequestHandler::handleRemoteRead(const Packet& request)
{
    if (request.at(1) == 0x01) {
        m_irDetection = request.at(2) == 0x01;
        return Acknowledge;
    }
    if (request.at(1) != 0x00)
        return Unknown;
    const RemoteTable& table = m_tables->remote();
    Packet reply(RemoteReadLength, 0x00);
    reply[0] = table[RepeatValueIndex];
    std::copy(table.begin(), table.begin() + RepeatValueIndex, reply.begin() + 1);
    return reply;
}

Packet BoxRequestHandler::handleChunkWrite(const Packet& request)
{
    const std::uint8_t* data = request.data() + ChunkDataOffset;
    if (request.at(1) == 0x01)
        m_tables->writePositionChunk(request.at(2), data, ChunkDataSize);
    else if (request.at(1) == 0x02)
        m_tables->writeRemoteChunk(request.at(2), data, ChunkDataSize);
    return Packet(request.begin(), request.begin() + ChunkEchoLength);
}

} // namespace boxsim
