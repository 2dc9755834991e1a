#include "ReceiveLoop.h"

#include "ByteFormat.h"
#include "ReceiveBuffer.h"
#include "ReceiveSink.h"
#include "StopSignal.h"

#include <chrono>
#include <exception>
#include <thread>
#include <vector>

namespace {

constexpr auto PassPause = std::chrono::milliseconds(10);

void pause()
{
    std::this_thread::sleep_for(PassPause);
}

void runPass(const ReceiveLoopContext& context, std::vector<std::uint8_t>& chunk)
{
    std::uint32_t queued = 0;
    if (!serial::queryStatus(context.port, queued)) {
        // A vanished device fails every query at once: without the pause the loop would spin.
        pause();
        return;
    }
    pause();
    if (queued == 0)
        return;

    std::uint32_t bytesRead = 0;
    if (!serial::readPort(context.port, chunk.data(), ReceiveBuffer::Capacity, bytesRead, &context.stop))
        return;
    // A stop ends the reader where it is: the bytes of an unfinished read are dropped.
    if (context.stop.raised())
        return;

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
                                const std::atomic<std::uint8_t>& displayMode,
                                const std::atomic<bool>& showCRLF)
{
    std::string text;
    text.reserve(static_cast<std::size_t>(size) * 3);
    for (std::uint32_t i = 0; i < size; ++i) {
        appendReceivedByte(text, data[i], static_cast<DisplayMode>(displayMode.load(std::memory_order_relaxed)),
                           showCRLF.load(std::memory_order_relaxed));
    }
    return text;
}

void runReceiveLoop(const ReceiveLoopContext& context)
{
    context.buffer.reset();
    std::vector<std::uint8_t> chunk(ReceiveBuffer::Capacity + 1);
    do {
        try {
            runPass(context, chunk);
        } catch (const std::exception& error) {
            context.sink.showError(std::string("Thread ") + error.what());
        }
    } while (!context.appTerminating() && !context.stop.raised());
}
