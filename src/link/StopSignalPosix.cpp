// The signal is an eventfd, so a reader can wait for it and for its port in one poll().
#include "link/StopSignal.h"

#include <cerrno>
#include <cstdint>
#include <system_error>

#include <sys/eventfd.h>
#include <unistd.h>

StopSignal::StopSignal()
    : m_waitHandle(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
    // Without the descriptor a blocked read could never be woken.
    if (m_waitHandle < 0)
        throw std::system_error(errno, std::generic_category(), "eventfd");
}

StopSignal::~StopSignal()
{
    close(static_cast<int>(m_waitHandle));
}

void StopSignal::raise()
{
    m_raised.store(true, std::memory_order_release);
    const std::uint64_t one = 1;
    // The counter only saturates after 2^64 - 2 raises; readable is all that matters.
    [[maybe_unused]] const ssize_t written = write(static_cast<int>(m_waitHandle), &one, sizeof one);
}
