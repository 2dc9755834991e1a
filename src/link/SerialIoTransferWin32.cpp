// Reads and writes on Windows. Each is an overlapped call that the caller waits for; a read
// also wakes on the reader's stop signal or its own longest time and is then cancelled,
// keeping what it had read.
#include "link/SerialIoWin32.h"
#include "link/StopSignal.h"

#include <algorithm>
#include <chrono>

namespace serial {
namespace {

using Clock = std::chrono::steady_clock;

// How often an idle port's input queue is looked at while waiting for input.
constexpr DWORD InputPollMs = 10;

// The event of one overlapped call, closed with it.
class CallEvent {
public:
    CallEvent() : m_event(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~CallEvent()
    {
        if (m_event) {
            const DWORD error = GetLastError(); // the call's own error outlives the clean-up
            CloseHandle(m_event);
            SetLastError(error);
        }
    }
    CallEvent(const CallEvent&) = delete;
    CallEvent& operator=(const CallEvent&) = delete;
    HANDLE get() const { return m_event; }

private:
    HANDLE m_event;
};

HANDLE stopEvent(const StopSignal& stop)
{
    return reinterpret_cast<HANDLE>(stop.waitHandle());
}

// Waits until the overlapped call has finished. A raised `stop`, or `longestMs` passing,
// cancels it first; a call cancelled that way succeeds with the bytes it had moved, as does a
// call that its time-out ended (Wine reports that as ERROR_TIMEOUT, Windows as success).
bool finish(HANDLE port, OVERLAPPED& call, DWORD& transferred, const StopSignal* stop, DWORD longestMs)
{
    bool cancelled = false;
    if (stop || longestMs != INFINITE) {
        const HANDLE waits[2] = {call.hEvent, stop ? stopEvent(*stop) : nullptr};
        // When both are signalled the finished call wins: it is the lower index.
        const DWORD woken = WaitForMultipleObjects(stop ? 2 : 1, waits, FALSE, longestMs);
        if (woken == WAIT_OBJECT_0 + 1 || woken == WAIT_TIMEOUT)
            cancelled = CancelIoEx(port, &call) != 0;
    }
    if (GetOverlappedResult(port, &call, &transferred, TRUE))
        return true;
    const DWORD error = GetLastError();
    return error == ERROR_TIMEOUT || (cancelled && error == ERROR_OPERATION_ABORTED);
}

// Starts one overlapped call with `start` and waits for it to finish.
template <typename Start>
bool overlapped(HANDLE port, Start start, DWORD& transferred, const StopSignal* stop, DWORD longestMs = INFINITE)
{
    const CallEvent event;
    if (!event.get())
        return false;
    OVERLAPPED call{};
    call.hEvent = event.get();
    if (!start(&call) && GetLastError() != ERROR_IO_PENDING)
        return false;
    return finish(port, call, transferred, stop, longestMs);
}

} // namespace

bool Port::read(void* buffer, std::uint32_t capacity, std::uint32_t& bytesRead, const StopSignal* stop,
                std::optional<std::chrono::milliseconds> longest)
{
    bytesRead = 0;
    if (!m_native)
        return detail::noOpenPort();
    const HANDLE port = m_native->handle;
    const DWORD longestMs = longest ? static_cast<DWORD>(std::clamp<std::int64_t>(longest->count(), 0, INFINITE - 1)) : INFINITE;
    DWORD transferred = 0;
    const bool ok = overlapped(port, [&](OVERLAPPED* call) { return ReadFile(port, buffer, capacity, nullptr, call); },
                               transferred, stop, longestMs);
    bytesRead = transferred;
    return ok;
}

bool Port::write(const void* data, std::uint32_t size, std::uint32_t& bytesWritten)
{
    bytesWritten = 0;
    if (!m_native)
        return detail::noOpenPort();
    const HANDLE port = m_native->handle;
    // A write time-out ends the call successfully with fewer bytes written.
    DWORD transferred = 0;
    const bool ok = overlapped(port, [&](OVERLAPPED* call) { return WriteFile(port, data, size, nullptr, call); },
                               transferred, nullptr);
    bytesWritten = transferred;
    return ok;
}

// The input queue is looked at every 10 ms. The driver's receive event is not waited for:
// it depends on the event mask, which the stop sequence clears.
bool Port::waitForInput(std::uint32_t timeoutMs, const StopSignal* stop)
{
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        std::uint32_t queued = 0;
        if (!queryStatus(queued))
            return false;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (queued > 0 || left <= 0)
            return true;
        const DWORD pause = std::min<DWORD>(InputPollMs, static_cast<DWORD>(left));
        if (!stop)
            Sleep(pause);
        else if (WaitForSingleObject(stopEvent(*stop), pause) == WAIT_OBJECT_0)
            return true;
    }
}

} // namespace serial
