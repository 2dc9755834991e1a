// Reads and writes under the port's time-outs. The descriptor is non-blocking; waiting
// happens in poll(), together with the stop signal, so a stopped reader returns at once.
#include "link/SerialIoPosix.h"
#include "link/StopSignal.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstddef>
#include <optional>

#include <poll.h>
#include <unistd.h>

namespace serial {
namespace {

using Clock = std::chrono::steady_clock;
using Deadline = std::optional<Clock::time_point>; // empty: no limit

Deadline totalDeadline(std::uint32_t multiplier, std::uint32_t constant, std::uint32_t count)
{
    if (multiplier == 0 && constant == 0)
        return std::nullopt;
    // Two years at most: far beyond any real wait, well inside the clock's range.
    constexpr std::uint64_t longestMs = std::uint64_t{1} << 36;
    const std::uint64_t totalMs = std::uint64_t{multiplier} * count + constant;
    return Clock::now() + std::chrono::milliseconds(std::min(totalMs, longestMs));
}

Deadline earlier(const Deadline& a, const Deadline& b)
{
    if (!a)
        return b;
    if (!b)
        return a;
    return std::min(*a, *b);
}

// Milliseconds for poll(): -1 waits without limit, 0 means the deadline has passed.
int pollTimeout(const Deadline& deadline)
{
    if (!deadline)
        return -1;
    const auto left = *deadline - Clock::now();
    if (left <= Clock::duration::zero())
        return 0;
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return static_cast<int>(std::min<decltype(ms)>(ms, INT_MAX));
}

enum class Readiness { Ready, TimedOut, Stopped, Broken };

// Waits until the port has `events`, the deadline passes or `stop` is raised. A port whose
// far end has gone (hang-up or error without data) is Broken, with errno set.
Readiness waitFor(int descriptor, short events, const Deadline& deadline, const StopSignal* stop)
{
    for (;;) {
        pollfd watched[2] = {{descriptor, events, 0}, {stop ? static_cast<int>(stop->waitHandle()) : -1, POLLIN, 0}};
        if (poll(watched, 2, pollTimeout(deadline)) < 0) {
            if (errno == EINTR)
                continue;
            return Readiness::Broken;
        }
        if (watched[1].revents != 0)
            return Readiness::Stopped;
        const short seen = watched[0].revents;
        if (seen & events)
            return Readiness::Ready;
        if (seen & POLLNVAL) {
            errno = EBADF;
            return Readiness::Broken;
        }
        if (seen & (POLLHUP | POLLERR)) {
            errno = EIO;
            return Readiness::Broken;
        }
        if (pollTimeout(deadline) == 0)
            return Readiness::TimedOut;
    }
}

} // namespace

bool Port::waitForInput(std::uint32_t timeoutMs, const StopSignal* stop)
{
    if (!m_native)
        return detail::noOpenPort();
    const Deadline deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    return waitFor(m_native->descriptor, POLLIN, deadline, stop) != Readiness::Broken;
}

bool Port::read(void* buffer, std::uint32_t capacity, std::uint32_t& bytesRead, const StopSignal* stop,
                std::optional<std::chrono::milliseconds> longest)
{
    bytesRead = 0;
    if (!m_native)
        return detail::noOpenPort();
    const int descriptor = m_native->descriptor;
    const Timeouts timeouts = m_native->timeouts;
    const Deadline total = earlier(totalDeadline(timeouts.readTotalMultiplier, timeouts.readTotalConstant, capacity),
                                   longest ? Deadline(Clock::now() + *longest) : std::nullopt);
    auto* const bytes = static_cast<unsigned char*>(buffer);
    Deadline silenceEnds; // set once data has come
    for (;;) {
        if (bytesRead == capacity)
            return true;
        const ssize_t got = ::read(descriptor, bytes + bytesRead, capacity - bytesRead);
        if (got > 0) {
            bytesRead += static_cast<std::uint32_t>(got);
            silenceEnds = Clock::now() + std::chrono::milliseconds(timeouts.readInterval);
            continue;
        }
        if (got == 0) { // the line was hung up
            errno = EIO;
            return bytesRead > 0;
        }
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN)
            return bytesRead > 0;
        // Nothing more right now: once data has come, a zero interval ends the read here.
        if (bytesRead > 0 && timeouts.readInterval == 0)
            return true;
        switch (waitFor(descriptor, POLLIN, earlier(total, silenceEnds), stop)) {
        case Readiness::Ready:
            break;
        case Readiness::TimedOut:
        case Readiness::Stopped:
            return true;
        case Readiness::Broken:
            return bytesRead > 0;
        }
    }
}

bool Port::write(const void* data, std::uint32_t size, std::uint32_t& bytesWritten)
{
    bytesWritten = 0;
    if (!m_native)
        return detail::noOpenPort();
    const int descriptor = m_native->descriptor;
    const Timeouts timeouts = m_native->timeouts;
    const Deadline total = totalDeadline(timeouts.writeTotalMultiplier,
                                         timeouts.writeTotalConstant, size);
    const auto* const bytes = static_cast<const unsigned char*>(data);
    while (bytesWritten < size) {
        const ssize_t put = ::write(descriptor, bytes + bytesWritten, size - bytesWritten);
        if (put > 0) {
            bytesWritten += static_cast<std::uint32_t>(put);
            continue;
        }
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0 && errno != EAGAIN)
            return false;
        switch (waitFor(descriptor, POLLOUT, total, nullptr)) {
        case Readiness::Ready:
            break;
        case Readiness::TimedOut: // a write time-out ends the write, short but successful
        case Readiness::Stopped:
            return true;
        case Readiness::Broken:
            return false;
        }
    }
    return true;
}

} // namespace serial
