// The receive thread's work: poll the port, read whatever arrives, store it in the shared
// receive buffer and hand one formatted line per read to the GUI thread.
#pragma once

#include "link/SerialIo.h"
#include "protocol/ByteFormat.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
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
    // Where given, a read ends after this long at the latest, even on a line that never falls
    // quiet for the read's gap (a busy bus): what came is shown, and an awaited reply counted.
    std::optional<std::chrono::milliseconds> longestRead = std::nullopt;
};

// Formats a chunk as one log line's text, reading the display options for every byte.
std::string formatReceivedChunk(const std::uint8_t* data, std::uint32_t size,
                                const std::atomic<DisplayMode>& displayMode,
                                const std::atomic<bool>& showCRLF);

// Runs passes until, after a pass, the application is terminating or the stop is raised.
void runReceiveLoop(const ReceiveLoopContext& context);
