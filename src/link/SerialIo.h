// The program's own thin layer over the operating system's serial ports. Every step is a
// call of its own that reports failure by itself (the caller shows which step failed and
// the system message), mirroring how the port is opened, configured, read and closed.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class StopSignal;

namespace serial {

// A port handle as the program stores it: 0 means "no port", InvalidHandle is what a failed
// open leaves (the value of the system's own invalid handle). A real handle is never 0.
using Handle = std::intptr_t;
constexpr Handle NoHandle = 0;
constexpr Handle InvalidHandle = -1;

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

// The settings' port name as the system's device naming wants it: on Windows every letter
// a to z upper-cased; elsewhere a "COMn" name upper-cased and any other name as written.
std::string portNameFromSettings(std::string_view written);

// The device a port name stands for. A name holding a path separator is used exactly as
// written; otherwise on Windows the name goes under "\\.\" (so COM10 and above open too),
// elsewhere "COMn" is the n-th serial port and any other name a device of /dev.
std::string devicePath(std::string_view portName);

// What a failed open's system error code says about the port at `device` (its path).
struct OpenFailure {
    enum Kind { HeldElsewhere, NotASerialPort, NotPermitted, Other } kind;
    // NotPermitted: the group whose members may read and write the device; empty where none
    // but root's may. Windows gives a port to whoever opens it first: there it is held.
    std::string group;
};
OpenFailure openFailureOf(const std::string& device, int code);

// One open port: the owner of its system handle and of whatever the system does not keep
// for it. The steps are the calls the program configures and uses a port with; each
// reports failure through the calling thread's last system error. A step on a port that
// is not open fails with the system's invalid-handle error.
//
// While a reader thread reads, the GUI thread may write, query and set the event mask;
// opening and closing happen only while no reader runs.
class Port {
public:
    Port();
    ~Port();
    Port(const Port&) = delete;
    Port& operator=(const Port&) = delete;

    // NoHandle before the first open and after a successful close; InvalidHandle after a
    // failed open; otherwise the open handle.
    Handle handle() const { return m_handle; }

    // Opens an existing device for reading and writing, exclusively, in place of whatever
    // this port held. On failure the handle is InvalidHandle.
    bool open(std::string_view portName);

    // Closes the handle; closing InvalidHandle counts as success. On success the handle is
    // NoHandle; on failure it keeps its value.
    bool close();

    bool setDtr(bool raised);
    bool setRts(bool raised);
    bool getLineSettings(LineSettings& settings) const;
    bool setLineSettings(const LineSettings& settings);
    bool getTimeouts(Timeouts& timeouts) const;
    bool setTimeouts(const Timeouts& timeouts);
    bool setEventMask(std::uint32_t mask);

    // Clears a pending line error and reports how many bytes wait in the input queue.
    bool queryStatus(std::uint32_t& queuedInput);

    // Reads up to `capacity` bytes under the port's time-outs, and for `longest` at most
    // where given. When `stop` is given and raised, the read returns at once with what it
    // has so far.
    bool read(void* buffer, std::uint32_t capacity, std::uint32_t& bytesRead,
              const StopSignal* stop = nullptr, std::optional<std::chrono::milliseconds> longest = std::nullopt);

    // Waits up to `timeoutMs` for input to arrive; returns at once when `stop` is raised.
    // False when the port is broken (its device has gone).
    bool waitForInput(std::uint32_t timeoutMs, const StopSignal* stop);

    // One synchronous write under the write time-outs; `bytesWritten` may come back smaller.
    bool write(const void* data, std::uint32_t size, std::uint32_t& bytesWritten);

private:
    struct Native; // the platform's open port, defined by each platform's sources
    std::unique_ptr<Native> m_native;
    Handle m_handle = NoHandle;
};

} // namespace serial
