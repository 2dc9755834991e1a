#include "PacketAssembler.h"

namespace boxsim {

void PacketAssembler::append(const std::uint8_t* data, std::size_t size)
{
    m_bytes.insert(m_bytes.end(), data, data + size);
}

bool PacketAssembler::takePacket(Packet& packet)
{
    if (m_bytes.size() < PacketSize)
        return false;
    const auto end = m_bytes.begin() + PacketSize;
    packet.assign(m_bytes.begin(), end);
    m_bytes.erase(m_bytes.begin(), end);
    return true;
}

} // namespace boxsim
