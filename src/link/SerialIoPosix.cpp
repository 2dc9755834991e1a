// Serial ports on POSIX terminals: exclusive open, control lines, line settings, time-outs,
// queue status and close.
#include "link/SerialIoPosix.h"
#include "link/SerialSpeedLinux.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <grp.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace serial {

static_assert(sizeof(termios) <= sizeof(LineSettings::native), "termios must fit the opaque record");

Port::Native::~Native()
{
    close();
}

bool Port::Native::close()
{
    if (descriptor < 0)
        return true;
    const int closing = descriptor;
    descriptor = -1;
    // A pseudo-terminal keeps its exclusive mark after the last close: left on, it would
    // refuse every later open by anyone but root.
    ioctl(closing, TIOCNXCL);
    return ::close(closing) == 0;
}

namespace detail {

bool noOpenPort()
{
    errno = EBADF;
    return false;
}

} // namespace detail

namespace {

// A descriptor moved above the standard ones: a port handle of 0 would read as "no port".
int awayFromStandardDescriptors(int descriptor)
{
    if (descriptor > STDERR_FILENO)
        return descriptor;
    const int moved = fcntl(descriptor, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    const int error = errno;
    close(descriptor);
    errno = error;
    return moved;
}

// Root passes TIOCEXCL, so an advisory lock keeps out every other user of this layer too.
bool claimExclusively(int descriptor)
{
    if (flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK)
            errno = EBUSY;
        return false;
    }
    return ioctl(descriptor, TIOCEXCL) == 0;
}

bool modemLine(int descriptor, int line, bool raised)
{
    return ioctl(descriptor, raised ? TIOCMBIS : TIOCMBIC, &line) == 0;
}

tcflag_t characterSizeFlag(std::uint8_t byteSize)
{
    switch (byteSize) {
    case 5: return CS5;
    case 6: return CS6;
    case 7: return CS7;
    case 8: return CS8;
    default: return 0;
    }
}

std::uint8_t byteSizeOf(tcflag_t controlFlags)
{
    switch (controlFlags & CSIZE) {
    case CS5: return 5;
    case CS6: return 6;
    case CS7: return 7;
    default: return 8;
    }
}

Parity parityOf(tcflag_t controlFlags)
{
    if (!(controlFlags & PARENB))
        return Parity::None;
    const bool odd = controlFlags & PARODD;
    if (controlFlags & CMSPAR)
        return odd ? Parity::Mark : Parity::Space;
    return odd ? Parity::Odd : Parity::Even;
}

tcflag_t parityFlags(Parity parity)
{
    switch (parity) {
    case Parity::None: return 0;
    case Parity::Odd: return PARENB | PARODD;
    case Parity::Even: return PARENB;
    case Parity::Mark: return PARENB | CMSPAR | PARODD;
    case Parity::Space: return PARENB | CMSPAR;
    }
    return 0;
}

// The group a user joins to read and write the device (dialout on Debian); none for a device
// only root's group may use, as joining that would give away the whole system.
std::string groupThatMayUse(const std::string& device)
{
    struct stat status{};
    if (stat(device.c_str(), &status) != 0 || status.st_gid == 0
        || (status.st_mode & (S_IRGRP | S_IWGRP)) != (S_IRGRP | S_IWGRP))
        return {};
    std::vector<char> names(4096);
    group entry{};
    group* found = nullptr;
    if (getgrgid_r(status.st_gid, &entry, names.data(), names.size(), &found) != 0 || !found)
        return {};
    return found->gr_name;
}

// The protocol is binary: no echo, no line editing, no CR/LF translation, no XON/XOFF,
// no output processing. Hardware flow control stays as the driver reported it.
void makeRaw(termios& line)
{
    cfmakeraw(&line);
    line.c_iflag &= ~(IXOFF | IXANY);
    line.c_cflag |= CLOCAL | CREAD;
}

} // namespace

OpenFailure openFailureOf(const std::string& device, int code)
{
    switch (code) {
    case EBUSY: return {OpenFailure::HeldElsewhere, {}}; // the exclusive mark or lock of another user
    case ENOTTY: return {OpenFailure::NotASerialPort, {}}; // a plain file or a device without a line
    case EACCES: return {OpenFailure::NotPermitted, groupThatMayUse(device)};
    default: return {OpenFailure::Other, {}};
    }
}

bool Port::open(std::string_view portName)
{
    m_native.reset();
    m_handle = InvalidHandle;
    const std::string path = devicePath(portName);
    // Non-blocking for good: reads and writes wait in poll(), never in the driver.
    int descriptor = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    descriptor = awayFromStandardDescriptors(descriptor);
    if (descriptor < 0)
        return false;
    auto native = std::make_unique<Native>(descriptor);
    if (!claimExclusively(descriptor)) {
        const int error = errno;
        native.reset();
        errno = error;
        return false;
    }
    m_native = std::move(native);
    m_handle = descriptor;
    return true;
}

bool Port::setDtr(bool raised)
{
    return m_native ? modemLine(m_native->descriptor, TIOCM_DTR, raised) : detail::noOpenPort();
}

bool Port::setRts(bool raised)
{
    return m_native ? modemLine(m_native->descriptor, TIOCM_RTS, raised) : detail::noOpenPort();
}

bool Port::getLineSettings(LineSettings& settings) const
{
    if (!m_native)
        return detail::noOpenPort();
    const int descriptor = m_native->descriptor;
    termios line{};
    std::uint32_t speed = 0;
    if (tcgetattr(descriptor, &line) != 0 || !detail::readLineSpeed(descriptor, speed))
        return false;
    settings.baudRate = speed;
    settings.byteSize = byteSizeOf(line.c_cflag);
    settings.parity = parityOf(line.c_cflag);
    settings.stopBits = (line.c_cflag & CSTOPB) ? StopBits::Two : StopBits::One;
    std::memcpy(settings.native, &line, sizeof line);
    return true;
}

bool Port::setLineSettings(const LineSettings& settings)
{
    if (!m_native)
        return detail::noOpenPort();
    const tcflag_t sizeFlag = characterSizeFlag(settings.byteSize);
    if (sizeFlag == 0 || settings.stopBits == StopBits::OneAndHalf) {
        errno = EINVAL;
        return false;
    }
    termios line{};
    std::memcpy(&line, settings.native, sizeof line);
    makeRaw(line);
    line.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB);
    line.c_cflag |= sizeFlag | parityFlags(settings.parity);
    if (settings.stopBits == StopBits::Two)
        line.c_cflag |= CSTOPB;
    // The speed goes separately: tcsetattr only knows the classic speed table.
    const int descriptor = m_native->descriptor;
    return tcsetattr(descriptor, TCSANOW, &line) == 0
        && detail::writeLineSpeed(descriptor, settings.baudRate);
}

bool Port::getTimeouts(Timeouts& timeouts) const
{
    if (!m_native)
        return detail::noOpenPort();
    timeouts = m_native->timeouts;
    return true;
}

bool Port::setTimeouts(const Timeouts& timeouts)
{
    if (!m_native)
        return detail::noOpenPort();
    m_native->timeouts = timeouts;
    return true;
}

bool Port::setEventMask(std::uint32_t)
{
    // Reads wait in poll(), which needs no arming; only the port is checked.
    return m_native ? true : detail::noOpenPort();
}

bool Port::queryStatus(std::uint32_t& queuedInput)
{
    if (!m_native)
        return detail::noOpenPort();
    int queued = 0;
    if (ioctl(m_native->descriptor, FIONREAD, &queued) != 0)
        return false;
    queuedInput = static_cast<std::uint32_t>(queued);
    return true;
}

} // namespace serial
