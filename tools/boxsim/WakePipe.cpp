#include "WakePipe.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace boxsim {

WakePipe::~WakePipe()
{
    close();
}

bool WakePipe::open(std::string& error)
{
    close();
    int ends[2];
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        error = std::string("pipe: ") + std::strerror(errno);
        return false;
    }
    m_read = ends[0];
    m_write = ends[1];
    return true;
}

void WakePipe::close()
{
    if (m_read >= 0)
        ::close(m_read);
    if (m_write >= 0)
        ::close(m_write);
    m_read = -1;
    m_write = -1;
}

void WakePipe::raise()
{
    const char byte = 1;
    while (::write(m_write, &byte, 1) < 0 && errno == EINTR) {
    }
}

bool WakePipe::sleep(int ms) const
{
    pollfd wake{m_read, POLLIN, 0};
    while (true) {
        const int result = poll(&wake, 1, ms);
        if (result >= 0)
            return result == 0;
        if (errno != EINTR)
            return false;
    }
}

bool WakePipe::writeAll(int fd, const std::uint8_t* data, std::size_t size) const
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written > 0) {
            data += written;
            size -= static_cast<std::size_t>(written);
            continue;
        }
        if (written < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        pollfd fds[2] = {{fd, POLLOUT, 0}, {m_read, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0 && errno != EINTR)
            return false;
        if (fds[1].revents != 0)
            return false;
    }
    return true;
}

} // namespace boxsim
