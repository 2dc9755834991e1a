#include "PtyPeer.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

PtyPeer::PtyPeer(Slave slave)
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    char name[64] = {};
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0
        || ::ptsname_r(m_master, name, sizeof name) != 0)
        throw std::runtime_error("cannot open a pseudo-terminal");
    m_slavePath = name;
    if (slave == Slave::Untouched)
        return;
    m_slaveKeeper = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios raw{};
    ::tcgetattr(m_slaveKeeper, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(m_slaveKeeper, TCSANOW, &raw);
}

PtyPeer::~PtyPeer()
{
    closeMaster();
    if (m_slaveKeeper >= 0)
        ::close(m_slaveKeeper);
}

bool PtyPeer::write(std::string_view bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno != EINTR && errno != EAGAIN)
            return false;
        if (n > 0)
            done += static_cast<std::size_t>(n);
    }
    return true;
}

std::string PtyPeer::read(std::size_t count, int quietMs)
{
    std::string received(count, '\0');
    std::size_t got = 0;
    pollfd watched{m_master, POLLIN, 0};
    while (got < count && ::poll(&watched, 1, quietMs) > 0) {
        const ssize_t n = ::read(m_master, received.data() + got, count - got);
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    received.resize(got);
    return received;
}

void PtyPeer::closeMaster()
{
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}
