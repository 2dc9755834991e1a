#include "link/ReceiveLoop.h"

#include "link/ReceiveBuffer.h"
#include "link/ReceiveSink.h"
#include "link/StopSignal.h"
#include "protocol/ByteFormat.h"

#include <chrono>
#include <exception>
#include <thread>
#include <vector>

namespace {

// After the first byte comes, the pause lets the rest of a reply gather in the driver, so a
// reply normally arrives as one read and one log line.
constexpr auto PassPause = std::chrono::milliseconds(10);
// An idle port is watched for its first byte instead of polled every pause; the wait ends at
// once when input comes or the reader is stopped, and at the latest after this long, so the
// loop still tests for the program's end.
constexpr std::uint32_t IdleWaitMs = 100;

void pause()
{
    std::this_thread::sleep_for(PassPause);
}

// `lastReadFull` carries over between passes: a read that filled the whole chunk means the
// line is streaming, and the next read follows without the pause.
void runPass(const ReceiveLoopContext& context, std::vector<std::uint8_t>& chunk, bool& lastReadFull)
{
    std::uint32_t queued = 0;
    if (!context.port.queryStatus(queued)) {
        // A vanished device fails every query at once: without the pause the loop would spin.
        pause();
        return;
    }
    if (queued == 0) {
        lastReadFull = false;
        if (!context.port.waitForInput(IdleWaitMs, &context.stop))
            pause();
        return;
    }
    if (!lastReadFull)
        pause();

    std::uint32_t bytesRead = 0;
    if (!context.port.read(chunk.data(), ReceiveBuffer::Capacity, bytesRead, &context.stop, context.longestRead))
        return;
    // A stop ends the reader where it is: the bytes of an unfinished read are dropped.
    if (context.stop.raised())
        return;
    lastReadFull = bytesRead == ReceiveBuffer::Capacity;

    const bool overflow = context.buffer.wouldOverflow(bytesRead);
    if (overflow)
        context.sink.showReceived("Buffer full");
    context.buffer.store(chunk.data(), bytesRead, overflow);
    if (bytesRead == 0)
        return;
    context.sink.showReceived(formatReceivedChunk(chunk.data(), bytesRead, context.displayMode, context.showCRLF));
}

} // namespace

std::string formatReceivedChunk(const std::uint8_t* data, std::uint32_t size,
                                const std::atomic<DisplayMode>& displayMode,
                                const std::atomic<bool>& showCRLF)
{
    std::string text;
    text.reserve(static_cast<std::size_t>(size) * 3);
    for (std::uint32_t i = 0; i < size; ++i) {
        appendReceivedByte(text, data[i], displayMode.load(std::memory_order_relaxed),
                           showCRLF.load(std::memory_order_relaxed));
    }
    return text;
}

void runReceiveLoop(const ReceiveLoopContext& context)
{
    context.buffer.reset();
    std::vector<std::uint8_t> chunk(ReceiveBuffer::Capacity + 1);
    bool lastReadFull = false;
    do {
        try {
            runPass(context, chunk, lastReadFull);
        } catch (const std::exception& error) {
            context.sink.showError(std::string("Thread ") + error.what());
        }
    } while (!context.appTerminating() && !context.stop.raised());
}
