// Any chunk the receive thread could read, formatted in every display mode with and without
// CR/LF tokens: the log line is printable text, and the HEX and BINARY forms give one token
// per byte.
#include "FuzzCheck.h"
#include "Harnesses.h"

#include "link/ReceiveBuffer.h"
#include "link/ReceiveLoop.h"

#include <algorithm>
#include <atomic>

namespace {

bool printable(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 32 && c <= 126; });
}

} // namespace

int fuzzReceivedChunk(const std::uint8_t* data, std::size_t size)
{
    // The receive thread never reads more than the buffer holds at once.
    const auto chunkSize = static_cast<std::uint32_t>(std::min<std::size_t>(size, ReceiveBuffer::Capacity));
    for (const DisplayMode mode : {DisplayMode::Hex, DisplayMode::Binary, DisplayMode::Ascii}) {
        for (const bool crlf : {false, true}) {
            const std::atomic<DisplayMode> displayMode{mode};
            const std::atomic<bool> showCRLF{crlf};
            const std::string line = formatReceivedChunk(data, chunkSize, displayMode, showCRLF);
            requireThat(printable(line), "a received line shows only printable characters");
            if (mode != DisplayMode::Ascii) {
                requireThat(static_cast<std::size_t>(std::count(line.begin(), line.end(), ' ')) == chunkSize,
                            "HEX and BINARY lines end every byte's token in one blank");
            }
        }
    }
    return 0;
}
