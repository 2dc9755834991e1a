// Serial ports on Windows: exclusive open, control lines, line settings, time-outs, event
// mask, queue status and close, each as its own Win32 call.
#include "link/SerialIoWin32.h"

#include "app/WideText.h"

#include <cstring>

namespace serial {

static_assert(sizeof(DCB) <= sizeof(LineSettings::native), "DCB must fit the opaque record");

Port::Native::~Native()
{
    close();
}

bool Port::Native::close()
{
    if (handle == INVALID_HANDLE_VALUE)
        return true;
    const HANDLE closing = handle;
    handle = INVALID_HANDLE_VALUE;
    return CloseHandle(closing) != 0;
}

namespace detail {

bool noOpenPort()
{
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
}

} // namespace detail

// A serial driver refuses a second open of its port with "access denied".
OpenFailure openFailureOf(const std::string&, int code)
{
    switch (code) {
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION: return {OpenFailure::HeldElsewhere, {}};
    case ERROR_INVALID_FUNCTION:
    case ERROR_NOT_SUPPORTED: return {OpenFailure::NotASerialPort, {}};
    default: return {OpenFailure::Other, {}};
    }
}

bool Port::open(std::string_view portName)
{
    m_native.reset();
    m_handle = InvalidHandle;
    const std::wstring path = toWide(devicePath(portName));
    // Overlapped, so that a stop can end a read at once; each call still waits for its own
    // result, so reads and writes behave as synchronous ones.
    const HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    m_native = std::make_unique<Native>(handle);
    m_handle = reinterpret_cast<Handle>(handle);
    return true;
}

bool Port::setDtr(bool raised)
{
    if (!m_native)
        return detail::noOpenPort();
    return EscapeCommFunction(m_native->handle, raised ? SETDTR : CLRDTR) != 0;
}

bool Port::setRts(bool raised)
{
    if (!m_native)
        return detail::noOpenPort();
    return EscapeCommFunction(m_native->handle, raised ? SETRTS : CLRRTS) != 0;
}

bool Port::getLineSettings(LineSettings& settings) const
{
    if (!m_native)
        return detail::noOpenPort();
    DCB line{};
    line.DCBlength = sizeof line;
    if (!GetCommState(m_native->handle, &line))
        return false;
    settings.baudRate = line.BaudRate;
    settings.byteSize = line.ByteSize;
    settings.parity = static_cast<Parity>(line.Parity);
    settings.stopBits = static_cast<StopBits>(line.StopBits);
    std::memcpy(settings.native, &line, sizeof line);
    return true;
}

bool Port::setLineSettings(const LineSettings& settings)
{
    if (!m_native)
        return detail::noOpenPort();
    DCB line{};
    std::memcpy(&line, settings.native, sizeof line);
    line.DCBlength = sizeof line;
    line.BaudRate = settings.baudRate;
    line.ByteSize = settings.byteSize;
    line.Parity = static_cast<BYTE>(settings.parity);
    line.StopBits = static_cast<BYTE>(settings.stopBits);
    return SetCommState(m_native->handle, &line) != 0;
}

bool Port::getTimeouts(Timeouts& timeouts) const
{
    if (!m_native)
        return detail::noOpenPort();
    COMMTIMEOUTS driver{};
    if (!GetCommTimeouts(m_native->handle, &driver))
        return false;
    timeouts = {driver.ReadIntervalTimeout, driver.ReadTotalTimeoutMultiplier,
                driver.ReadTotalTimeoutConstant, driver.WriteTotalTimeoutMultiplier,
                driver.WriteTotalTimeoutConstant};
    return true;
}

bool Port::setTimeouts(const Timeouts& timeouts)
{
    if (!m_native)
        return detail::noOpenPort();
    COMMTIMEOUTS driver{timeouts.readInterval, timeouts.readTotalMultiplier, timeouts.readTotalConstant,
                        timeouts.writeTotalMultiplier, timeouts.writeTotalConstant};
    return SetCommTimeouts(m_native->handle, &driver) != 0;
}

bool Port::setEventMask(std::uint32_t mask)
{
    if (!m_native)
        return detail::noOpenPort();
    static_assert(EventRxChar == EV_RXCHAR, "the layer's event bits are the system's");
    return SetCommMask(m_native->handle, mask) != 0;
}

bool Port::queryStatus(std::uint32_t& queuedInput)
{
    if (!m_native)
        return detail::noOpenPort();
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(m_native->handle, &errors, &status))
        return false;
    queuedInput = status.cbInQue;
    return true;
}

} // namespace serial
