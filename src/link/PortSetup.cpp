#include "link/PortSetup.h"

#include "app/SystemMessage.h"

#include <vector>

namespace {

constexpr std::uint32_t ReadIntervalMs = 100;
constexpr std::uint32_t ReadTotalMultiplierMs = 1;
constexpr std::uint32_t FlushLimit = 1000;

} // namespace

const char* const PortOpenFailed = "CreateFile INVALID_HANDLE_VALUE";

std::string portOpenFailureDetail(std::string_view portName, int code)
{
    // The device a name stands for, as the user knows it (without Windows' "\\.\\").
    std::string device = serial::devicePath(portName);
    if (device.rfind("\\\\.\\", 0) == 0)
        device.erase(0, 4);
    const serial::OpenFailure failure = serial::openFailureOf(device, code);
    std::string reason = systemMessage(code);
    switch (failure.kind) {
    case serial::OpenFailure::HeldElsewhere:
        return device + " is in use by another program";
    case serial::OpenFailure::NotASerialPort:
        reason = "not a serial port (" + reason + ")";
        break;
    case serial::OpenFailure::NotPermitted:
        if (!failure.group.empty())
            reason += ": the port belongs to the group " + failure.group + "; join it (sudo adduser $USER "
                + failure.group + ") and log in again";
        break;
    case serial::OpenFailure::Other:
        break;
    }
    return "cannot open " + device + ": " + reason;
}

bool ConfigurePort(serial::Port& port, const ProgramSettings& settings, const ErrorReporter& reportError)
{
    if (!port.open(settings.port)) {
        reportError(PortOpenFailed);
        return false;
    }

    port.setDtr(true);
    port.setRts(true);

    serial::LineSettings line;
    if (!port.getLineSettings(line)) {
        reportError("ComHandle GetCommState " + systemMessage());
        return false;
    }
    line.baudRate = static_cast<std::uint32_t>(settings.baud);
    line.byteSize = 8;
    line.parity = serial::Parity::None;
    line.stopBits = serial::StopBits::One;
    if (!port.setLineSettings(line)) {
        reportError("ComHandle SetCommState " + systemMessage());
        return false;
    }

    serial::Timeouts timeouts;
    if (!port.getTimeouts(timeouts)) {
        reportError("ComHandle GetCommTimeOuts " + systemMessage());
        return false;
    }
    timeouts.readInterval = ReadIntervalMs;
    timeouts.readTotalMultiplier = ReadTotalMultiplierMs;
    if (!port.setTimeouts(timeouts)) {
        reportError("ComHandle SetCommTimeOuts " + systemMessage());
        return false;
    }
    return true;
}

void FlushInput(serial::Port& port)
{
    std::uint32_t queued = 0;
    if (!port.queryStatus(queued) || queued == 0)
        return;
    std::vector<std::uint8_t> discarded(FlushLimit);
    std::uint32_t bytesRead = 0;
    port.read(discarded.data(), FlushLimit, bytesRead);
}
