// The window's waits for its box session: they keep the GUI thread processing events.
#pragma once

#include <chrono>
#include <cstdint>

class ReceiveBuffer;

// Waits in 100 ms passes, processing GUI events after each, until the receive count reaches
// `expectedLength` or `timeout` has passed. True when the deadline had not passed.
bool WaitForReply(const ReceiveBuffer& buffer, std::uint32_t expectedLength, std::chrono::milliseconds timeout);

// Waits `ms` milliseconds in 100 ms sleeps, processing GUI events before each.
void WaitMs(int ms);
