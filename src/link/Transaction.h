// The steps of a request/reply exchange that do not need a window: writing a packet over a
// fresh receive buffer, and the waits that keep the GUI thread processing events.
#pragma once

#include "SerialIo.h"

class ReceiveBuffer;

#include <cstdint>
#include <string>

constexpr std::size_t PacketSize = 11;

// The request padded with 0x00 bytes to 11 bytes; a longer request stays as it is.
std::string padToPacket(std::string request);

// Resets the shared receive buffer and writes the packet in one write. On failure returns
// false with the system message in `error`. A short write counts as success.
bool WritePort(serial::Port& port, ReceiveBuffer& buffer, const std::string& packet, std::string& error);

// Waits in 100 ms passes, processing GUI events after each, until the receive count reaches
// `expectedLength` or 3 seconds have passed. True when the deadline had not passed.
bool WaitForReply(const ReceiveBuffer& buffer, std::uint8_t expectedLength);

// Waits `ms` milliseconds in 100 ms sleeps, processing GUI events before each.
void WaitMs(int ms);
