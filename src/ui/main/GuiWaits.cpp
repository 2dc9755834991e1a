#include "ui/main/GuiWaits.h"

#include "link/ReceiveBuffer.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <chrono>
#include <thread>

namespace {

constexpr auto WaitPass = std::chrono::milliseconds(100);

} // namespace

bool WaitForReply(const ReceiveBuffer& buffer, std::uint32_t expectedLength, std::chrono::milliseconds timeout)
{
    // A monotonic clock: a step of the wall clock neither stretches nor cuts the wait.
    const QDeadlineTimer deadline(timeout.count());
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
