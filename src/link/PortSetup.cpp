#include "PortSetup.h"

#include "UserPaths.h"
#include "IniProfile.h"
#include "SystemMessage.h"

#include <vector>

namespace {

constexpr std::uint32_t ReadIntervalMs = 100;
constexpr std::uint32_t ReadTotalMultiplierMs = 1;
constexpr std::uint32_t FlushLimit = 1000;

std::string upperCased(std::string text)
{
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

} // namespace

PortSettings readPortSettings()
{
    const IniProfile ini = IniProfile::load(settingsFilePath());
    PortSettings settings;
    settings.port = ini.readString("init", "port", "COM1");
    if (serial::comPortNumber(settings.port) != 0)
        settings.port = upperCased(settings.port);
    settings.baud = ini.readInteger("init", "baud", 19200);
    return settings;
}

bool ConfigurePort(serial::Handle& handle, const ErrorReporter& reportError)
{
    const PortSettings settings = readPortSettings();

    handle = serial::openDevice(settings.port);
    if (handle == serial::InvalidHandle) {
        reportError("CreateFile INVALID_HANDLE_VALUE");
        return false;
    }

    serial::setDtr(handle, true);
    serial::setRts(handle, true);

    serial::LineSettings line;
    if (!serial::getLineSettings(handle, line)) {
        reportError("ComHandle GetCommState " + systemMessage());
        return false;
    }
    line.baudRate = static_cast<std::uint32_t>(settings.baud);
    line.byteSize = 8;
    line.parity = serial::Parity::None;
    line.stopBits = serial::StopBits::One;
    if (!serial::setLineSettings(handle, line)) {
        reportError("ComHandle SetCommState " + systemMessage());
        return false;
    }

    serial::Timeouts timeouts;
    if (!serial::getTimeouts(handle, timeouts)) {
        reportError("ComHandle GetCommTimeOuts " + systemMessage());
        return false;
    }
    timeouts.readInterval = ReadIntervalMs;
    timeouts.readTotalMultiplier = ReadTotalMultiplierMs;
    if (!serial::setTimeouts(handle, timeouts)) {
        reportError("ComHandle SetCommTimeOuts " + systemMessage());
        return false;
    }
    return true;
}

void FlushInput(serial::Handle handle)
{
    std::uint32_t queued = 0;
    if (!serial::queryStatus(handle, queued) || queued == 0)
        return;
    std::vector<std::uint8_t> discarded(FlushLimit);
    std::uint32_t bytesRead = 0;
    serial::readPort(handle, discarded.data(), FlushLimit, bytesRead);
}
