// The program's own thin layer over the operating system's serial ports. Every step is a
// call of its own that reports failure by itself (the caller shows which step failed and
// the system message), mirroring how the port is opened, configured, read and closed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class StopSignal;

namespace serial {

// A port handle as the program stores it: 0 means "no port", InvalidHandle is what a failed
// open leaves. A real handle is never 0.
using Handle = std::intptr_t;
constexpr Handle NoHandle = 0;
extern const Handle InvalidHandle;

enum class Parity : std::uint8_t { None = 0, Odd = 1, Even = 2, Mark = 3, Space = 4 };
enum class StopBits : std::uint8_t { One = 0, OneAndHalf = 1, Two = 2 };

// Line settings as read from the driver. The program changes speed, data bits, parity and
// stop bits; every other field is written back as the driver reported it.
struct LineSettings {
    std::uint32_t baudRate = 0;
    std::uint8_t byteSize = 8;
    Parity parity = Parity::None;
    StopBits stopBits = StopBits::One;
    alignas(8) unsigned char native[256] = {}; // the platform's own record, opaque here
};

// Read and write time-outs in milliseconds. A read returns once `readInterval` ms pass
// without a byte after data has come, once the requested count arrived, or once
// readTotalMultiplier * count + readTotalConstant ms passed (no total limit when both are 0).
struct Timeouts {
    std::uint32_t readInterval = 0;
    std::uint32_t readTotalMultiplier = 0;
    std::uint32_t readTotalConstant = 0;
    std::uint32_t writeTotalMultiplier = 0;
    std::uint32_t writeTotalConstant = 0;
};

constexpr std::uint32_t EventRxChar = 0x0001; // event mask: a character was received

// The n of a "COMn" name in any case (n from 1), or 0 when the name is not of that form.
unsigned comPortNumber(std::string_view portName);

// The device a port name stands for. "COMn" (any case) is the n-th serial port; a name
// holding a path separator is used exactly as written; any other name is a device of the
// system's device folder, as written.
std::string devicePath(std::string_view portName);

// Opens an existing device for reading and writing, exclusively. InvalidHandle on failure.
Handle openDevice(std::string_view portName);

bool setDtr(Handle handle, bool raised);
bool setRts(Handle handle, bool raised);
bool getLineSettings(Handle handle, LineSettings& settings);
bool setLineSettings(Handle handle, const LineSettings& settings);
bool getTimeouts(Handle handle, Timeouts& timeouts);
bool setTimeouts(Handle handle, const Timeouts& timeouts);
bool setEventMask(Handle handle, std::uint32_t mask);

// Clears a pending line error and reports how many bytes wait in the input queue.
bool queryStatus(Handle handle, std::uint32_t& queuedInput);

// Reads up to `capacity` bytes under the port's time-outs. Returns false on failure. When
// `stop` is given and raised, the read returns at once with what it has so far.
bool readPort(Handle handle, void* buffer, std::uint32_t capacity, std::uint32_t& bytesRead,
              const StopSignal* stop = nullptr);

// Waits up to `timeoutMs` for input to arrive; returns at once when `stop` is raised. False
// when the port is broken (its device has gone).
bool waitForInput(Handle handle, std::uint32_t timeoutMs, const StopSignal* stop);

// One synchronous write; `bytesWritten` may come back smaller than `size`.
bool writePort(Handle handle, const void* data, std::uint32_t size, std::uint32_t& bytesWritten);

// Closing InvalidHandle counts as success.
bool closeHandle(Handle handle);

} // namespace serial
