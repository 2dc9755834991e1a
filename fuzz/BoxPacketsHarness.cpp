// Any byte stream sent to the simulated box, in writes of any size: it is cut into 11-byte
// packets with nothing lost, and every packet gets a reply no longer than the longest one
// the program waits for.
#include "FuzzCheck.h"
#include "Harnesses.h"

#include "BoxRequestHandler.h"
#include "BoxTables.h"
#include "PacketAssembler.h"
#include "protocol/BoxRequests.h"

#include <algorithm>

namespace {

// Each write is one length byte (1 to 16 bytes follow) and that many stream bytes.
constexpr std::size_t LongestWrite = 16;

} // namespace

int fuzzBoxPackets(const std::uint8_t* data, std::size_t size)
{
    boxsim::BoxTables tables; // memory only
    boxsim::BoxRequestHandler handler(tables);
    boxsim::PacketAssembler assembler;
    boxsim::Packet packet;
    std::size_t streamed = 0;
    std::size_t packets = 0;

    const std::uint8_t* const end = data + size;
    while (data < end) {
        const std::size_t wanted = *data++ % LongestWrite + 1;
        const std::size_t length = std::min<std::size_t>(wanted, end - data);
        assembler.append(data, length);
        data += length;
        streamed += length;
        while (assembler.takePacket(packet)) {
            ++packets;
            requireThat(packet.size() == boxsim::PacketSize, "a request packet is 11 bytes");
            const boxsim::Packet reply = handler.handle(packet);
            requireThat(!reply.empty() && reply.size() <= BoxRequests::RemoteReplyLength,
                        "every packet gets a reply the program can take");
        }
    }
    requireThat(packets * boxsim::PacketSize + assembler.pendingBytes() == streamed,
                "no byte of the stream is lost or repeated");
    const std::string bus = handler.busTrafficLine();
    requireThat(bus.size() >= 2 && bus.compare(bus.size() - 2, 2, "\r\n") == 0, "a bus traffic line ends in CR LF");
    return 0;
}
