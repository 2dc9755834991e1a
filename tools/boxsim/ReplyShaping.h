// How a reply leaves the box: its bytes and, for fault and demo runs, how they are timed.
#pragma once

#include "PacketAssembler.h"

namespace boxsim {

enum class Fault {
    None,
    Silent, // no reply at all
    Short,  // one byte less than the program waits for
    Long,   // one extra byte
    Late,   // the whole reply after a delay
    Split,  // the reply in two parts with a pause between them
};

struct Reply {
    Packet bytes;         // empty: nothing is sent
    int delayMs = 0;      // before the first byte
    int splitPauseMs = 0; // above 0: the first half, this pause, then the rest
};

Reply shapeReply(Packet bytes, Fault fault, int lateDelayMs, int splitPauseMs);

} // namespace boxsim
