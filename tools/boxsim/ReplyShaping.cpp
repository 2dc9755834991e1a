#include "ReplyShaping.h"

#include <utility>

namespace boxsim {

Reply shapeReply(Packet bytes, Fault fault, int lateDelayMs, int splitPauseMs)
{
    Reply reply;
    reply.bytes = std::move(bytes);
    switch (fault) {
    case Fault::None:
        break;
    case Fault::Silent:
        reply.bytes.clear();
        break;
    case Fault::Short:
        if (!reply.bytes.empty())
            reply.bytes.pop_back();
        break;
    case Fault::Long:
        reply.bytes.push_back(0x00);
        break;
    case Fault::Late:
        reply.delayMs = lateDelayMs;
        break;
    case Fault::Split:
        reply.splitPauseMs = splitPauseMs;
        break;
    }
    return reply;
}

} // namespace boxsim
