// Cuts the byte stream coming from the program into the box's fixed-size request packets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace boxsim {

using Packet = std::vector<std::uint8_t>;

constexpr std::size_t PacketSize = 11;

class PacketAssembler {
public:
    void append(const std::uint8_t* data, std::size_t size);

    // Moves the oldest complete packet into `packet`; false while fewer than 11 bytes wait.
    bool takePacket(Packet& packet);

    // Bytes of a packet that has not been completed yet.
    std::size_t pendingBytes() const { return m_bytes.size(); }

private:
    std::vector<std::uint8_t> m_bytes;
};

} // namespace boxsim
