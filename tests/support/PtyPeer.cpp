#include "PtyPeer.h"

#include <QElapsedTimer>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

PtyPeer::PtyPeer()
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
        throw std::runtime_error("cannot open a pseudo-terminal");
    m_slavePath = QString::fromLocal8Bit(::ptsname(m_master));
    m_slaveKeeper = ::open(::ptsname(m_master), O_RDWR | O_NOCTTY | O_CLOEXEC);
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

void PtyPeer::write(const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno != EINTR && errno != EAGAIN)
            throw std::runtime_error("cannot write to the pseudo-terminal");
        if (n > 0)
            done += n;
    }
}

QByteArray PtyPeer::read(int count, int timeoutMs)
{
    QByteArray bytes;
    QElapsedTimer clock;
    clock.start();
    while (bytes.size() < count && clock.elapsed() < timeoutMs) {
        pollfd fd{m_master, POLLIN, 0};
        if (::poll(&fd, 1, static_cast<int>(timeoutMs - clock.elapsed())) <= 0)
            break;
        char buffer[4096];
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n <= 0)
            break;
        bytes.append(buffer, n);
    }
    return bytes;
}

void PtyPeer::closeMaster()
{
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}
