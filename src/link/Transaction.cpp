#include "Transaction.h"

#include "ReceiveBuffer.h"
#include "SystemMessage.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <chrono>
#include <thread>

namespace {

constexpr auto WaitPass = std::chrono::milliseconds(100);
constexpr qint64 ReplyTimeoutMs = 3000;

} // namespace

std::string padToPacket(std::string request)
{
    if (request.size() < PacketSize)
        request.resize(PacketSize, '\0');
    return request;
}

bool WritePort(serial::Port& port, ReceiveBuffer& buffer, const std::string& packet, std::string& error)
{
    buffer.reset();
    std::uint32_t written = 0;
    if (!port.write(packet.data(), static_cast<std::uint32_t>(packet.size()), written)) {
        error = systemMessage();
        return false;
    }
    return true;
}

bool WaitForReply(const ReceiveBuffer& buffer, std::uint8_t expectedLength)
{
    // A monotonic clock: a step of the wall clock neither stretches nor cuts the wait.
    const QDeadlineTimer deadline(ReplyTimeoutMs);
    bool late = false;
    do {
        std::this_thread::sleep_for(WaitPass);
        late = deadline.hasExpired();
        QCoreApplication::processEvents();
    } while (!late && buffer.count() < expectedLength);
    return !late;
}

void WaitMs(int ms)
{
    const QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(WaitPass);
    }
}
