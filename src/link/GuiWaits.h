// The waits of the window's box session: they keep the GUI thread processing events.
#pragma once

class ReceiveBuffer;

#include <cstdint>

// Waits in 100 ms passes, processing GUI events after each, until the receive count reaches
// `expectedLength` or 3 seconds have passed. True when the deadline had not passed.
bool WaitForReply(const ReceiveBuffer& buffer, std::uint8_t expectedLength);

// Waits `ms` milliseconds in 100 ms sleeps, processing GUI events before each.
void WaitMs(int ms);
