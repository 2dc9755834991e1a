// What the box does with each request: its effect on the box's state and the reply bytes,
// always of the length the program waits for.
#pragma once

#include "BoxTables.h"
#include "PacketAssembler.h"

#include <cstdint>
#include <string>

namespace boxsim {

// Replies to opcodes the box does not know: two bytes, '?' and 0x00.
class BoxRequestHandler {
public:
    explicit BoxRequestHandler(BoxTables& tables) : m_tables(&tables) {}

    Packet handle(const Packet& request);

    bool analyseMode() const { return m_analyseMode; }

    // One line of bus traffic as analyse mode reports it, e.g. "BUS E0 31 6B 05\r\n": the
    // last DiSEqC message the box sent, or a reset message before any.
    std::string busTrafficLine() const;

private:
    Packet handleIrValue(const Packet& request);
    Packet handleRemoteRead(const Packet& request);
    Packet handleChunkWrite(const Packet& request);

    BoxTables* m_tables; // a pointer, so that a fresh handler can be assigned over this one
    std::uint8_t m_irValue = 0;
    bool m_irDetection = false;
    bool m_analyseMode = false;
    Packet m_lastMessage{0xE0, 0x00, 0x00};
};

} // namespace boxsim
