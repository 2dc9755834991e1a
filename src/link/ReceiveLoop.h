// The receive thread's work: poll the port, read whatever arrives, store it in the shared
// receive buffer and hand one formatted line per read to the GUI thread.
#pragma once

#include "link/SerialIo.h"
#include "protocol/ByteFormat.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

class ReceiveBuffer;
class ReceiveSink;
class StopSignal;

struct ReceiveLoopContext {
    serial::Port& port;
    ReceiveBuffer& buffer;
    const std::atomic<DisplayMode>& displayMode;
    const std::atomic<bool>& showCRLF;
    ReceiveSink& sink;
    const StopSignal& stop;                // the reader's terminate flag
    std::function<bool()> appTerminating;  // checked after every pass
    // Where given and above the buffer's count, a read that starts ends at that count: an
    // awaited reply is in as soon as its last byte is, whatever follows it on the line.
    const std::atomic<std::uint32_t>* replyEnd = nullptr;
};

// Formats a chunk as one log line's text, reading the display options for every byte.
std::string formatReceivedChunk(const std::uint8_t* data, std::uint32_t size,
                                const std::atomic<DisplayMode>& displayMode,
                                const std::atomic<bool>& showCRLF);

// Runs passes until, after a pass, the application is terminating or the stop is raised.
void runReceiveLoop(const ReceiveLoopContext& context);
