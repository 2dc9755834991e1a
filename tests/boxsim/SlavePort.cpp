#include "SlavePort.h"

#include <QElapsedTimer>

#include <algorithm>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray result;
    for (const int value : values)
        result.append(static_cast<char>(value));
    return result;
}

QByteArray packet(QByteArray request)
{
    request.append(QByteArray(11 - request.size(), '\0'));
    return request;
}

SlavePort::SlavePort(const std::string& path) : m_fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC))
{
    termios settings{};
    if (m_fd >= 0 && tcgetattr(m_fd, &settings) == 0) {
        cfmakeraw(&settings);
        tcsetattr(m_fd, TCSANOW, &settings);
    }
}

SlavePort::~SlavePort()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool SlavePort::write(const QByteArray& data)
{
    return ::write(m_fd, data.constData(), static_cast<size_t>(data.size())) == data.size();
}

QByteArray SlavePort::read(int count, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (m_unread.size() < count && clock.elapsed() < timeoutMs)
        m_unread.append(readOnce(timeoutMs - static_cast<int>(clock.elapsed())));
    const QByteArray result = m_unread.left(count);
    m_unread.remove(0, result.size());
    return result;
}

QByteArray SlavePort::readAvailable(int timeoutMs)
{
    if (m_unread.isEmpty())
        m_unread = readOnce(timeoutMs);
    return std::exchange(m_unread, QByteArray());
}

QByteArray SlavePort::readLine(int timeoutMs)
{
    QByteArray line;
    QElapsedTimer clock;
    clock.start();
    while (!line.endsWith("\r\n") && clock.elapsed() < timeoutMs)
        line.append(read(1, timeoutMs - static_cast<int>(clock.elapsed())));
    return line;
}

QByteArray SlavePort::probe()
{
    sendRequest(bytes({0x08}));
    return read(2);
}

QByteArray SlavePort::readOnce(int timeoutMs)
{
    pollfd fd{m_fd, POLLIN, 0};
    if (poll(&fd, 1, std::max(timeoutMs, 0)) <= 0)
        return {};
    char buffer[512];
    const ssize_t size = ::read(m_fd, buffer, sizeof buffer);
    return size > 0 ? QByteArray(buffer, static_cast<int>(size)) : QByteArray();
}
