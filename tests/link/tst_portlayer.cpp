// The serial port layer and the receive loop against the simulated box, one suite for every
// platform: natively on the box's pseudo-terminal, under Wine on the COM port Wine makes of
// it. tests/support/with-boxsim.sh starts the box and names its port in VANTOREL_TEST_PORT.
#include "app/AppPaths.h"
#include "app/SystemMessage.h"
#include "link/BoxSession.h"
#include "link/PortSetup.h"
#include "link/ReceiveBuffer.h"
#include "link/ReceiveLoop.h"
#include "link/ReceiveSink.h"
#include "link/SerialIo.h"
#include "link/StopSignal.h"

#include "doctest.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <fstream>
#include <mutex>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

constexpr std::uint8_t HardwareInfo = 0x01; // answered with 90 bytes of text ending in CR LF
constexpr std::uint32_t HardwareInfoLength = 90;
constexpr std::uint8_t LongReplyOpcode = 0x7E; // answered with 10,000 bytes by the test's box
constexpr std::uint32_t LongReplyLength = 10000;

#ifdef _WIN32
constexpr int BadHandleError = 6; // ERROR_INVALID_HANDLE
#else
constexpr int BadHandleError = EBADF;
#endif

// Windows' serial drivers refuse a second open of a port; Wine opens one as often as asked.
bool opensAreExclusive()
{
#ifdef _WIN32
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") == nullptr;
#else
    return true;
#endif
}

std::string boxPort()
{
    const char* port = std::getenv("VANTOREL_TEST_PORT");
    REQUIRE_MESSAGE(port, "run through tests/support/with-boxsim.sh");
    return port;
}

// The program's folder, moved to a fresh temporary one for the settings files of this run.
class SettingsFolder {
public:
    SettingsFolder()
        : m_path(std::filesystem::temp_directory_path()
                 / ("vantorel-portlayer-" + std::to_string(Clock::now().time_since_epoch().count())))
    {
        std::filesystem::create_directories(m_path);
        overrideAppPaths(m_path.string(), "vantorel");
    }
    ~SettingsFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }

    void write(const std::string& portName) const
    {
        std::ofstream(programSettingsPath(), std::ios::binary) << "[init]\r\nport=" << portName << "\r\nbaud=19200\r\n";
    }

private:
    std::filesystem::path m_path;
};

// A port opened and configured by the program's own set-up, from a settings file naming it.
struct ConfiguredPort {
    explicit ConfiguredPort(const std::string& portName = boxPort())
    {
        static const SettingsFolder folder;
        folder.write(portName);
        configured = ConfigurePort(port, readProgramSettings(programSettingsPath()), [this](const std::string& error) { errors.push_back(error); });
        // As the program does after opening: what an earlier test left behind goes.
        if (configured)
            FlushInput(port);
    }

    serial::Port port;
    bool configured = false;
    std::vector<std::string> errors;
};

void send(serial::Port& port, std::uint8_t opcode)
{
    const Bytes packet = {opcode, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    std::uint32_t written = 0;
    REQUIRE(port.write(packet.data(), static_cast<std::uint32_t>(packet.size()), written));
    REQUIRE(written == packet.size());
}

// What the input queue holds now.
std::uint32_t queuedNow(serial::Port& port)
{
    std::uint32_t queued = 0;
    REQUIRE(port.queryStatus(queued));
    return queued;
}

// The input queue's count once it holds at least `count` bytes, or what it holds after 3 s.
std::uint32_t queuedOnceThere(serial::Port& port, std::uint32_t count)
{
    std::uint32_t queued = 0;
    for (const auto end = Clock::now() + 3s; Clock::now() < end && queued < count; std::this_thread::sleep_for(5ms))
        queued = queuedNow(port);
    return queued;
}

Bytes readChunk(serial::Port& port, std::uint32_t capacity, bool& ok, const StopSignal* stop = nullptr)
{
    Bytes chunk(capacity);
    std::uint32_t got = 0;
    ok = port.read(chunk.data(), capacity, got, stop);
    chunk.resize(got);
    return chunk;
}

std::chrono::milliseconds since(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
}

// Stands in for the GUI thread: records every line the receive loop hands over.
class RecordingSink final : public ReceiveSink {
public:
    void showReceived(const std::string& text) override
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_lines.push_back(text);
        }
        m_changed.notify_all();
    }
    void showError(const std::string& message) override { showReceived("error: " + message); }

    std::vector<std::string> waitForLines(std::size_t count)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait_for(lock, 3s, [&] { return m_lines.size() >= count; });
        return m_lines;
    }

private:
    std::mutex m_mutex; // guards m_lines
    std::condition_variable m_changed;
    std::vector<std::string> m_lines;
};

// The receive loop on the configured box port, on a thread of its own.
class ReceiveRun {
public:
    ReceiveRun()
    {
        REQUIRE(m_box.configured);
        m_thread = std::thread([this] {
            runReceiveLoop({m_box.port, buffer, m_mode, m_showCRLF, sink, m_stop, [] { return false; }});
        });
    }
    ~ReceiveRun() { stop(); }

    void stop()
    {
        m_stop.raise();
        if (m_thread.joinable())
            m_thread.join();
    }
    serial::Port& port() { return m_box.port; }

    ReceiveBuffer buffer;
    RecordingSink sink;

private:
    ConfiguredPort m_box; // outlives the thread, which is joined first
    std::atomic<DisplayMode> m_mode{DisplayMode::Hex};
    std::atomic<bool> m_showCRLF{true};
    StopSignal m_stop;
    std::thread m_thread;
};

} // namespace

TEST_CASE("port names follow the system's device naming")
{
    CHECK(serial::portNameFromSettings("com3") == "COM3");
#ifdef _WIN32
    CHECK(serial::portNameFromSettings("ttyusb0") == "TTYUSB0");
    CHECK(serial::devicePath("COM12") == "\\\\.\\COM12");
    CHECK(serial::devicePath("COM12:") == "\\\\.\\COM12"); // the colon a plain device name takes
    CHECK(serial::devicePath("\\\\.\\COM3") == "\\\\.\\COM3");
#else
    CHECK(serial::portNameFromSettings("ttyUSB0") == "ttyUSB0");
#endif
}

TEST_CASE("a missing port fails to open, with the system's reason")
{
    serial::Port port;
    CHECK_FALSE(port.open("COM199"));
    const std::string reason = systemMessage();
    CHECK(port.handle() == serial::InvalidHandle);
    CHECK_FALSE(reason.empty());
    CHECK(reason.back() != '.');

    ConfiguredPort missing("COM199");
    CHECK_FALSE(missing.configured);
    CHECK(missing.errors == std::vector<std::string>{"CreateFile INVALID_HANDLE_VALUE"});
    // Closing the invalid handle counts as success and leaves no handle.
    CHECK(missing.port.close());
    CHECK(missing.port.handle() == serial::NoHandle);
}

TEST_CASE("the program's set-up configures the box's port: 19200 8N1, 100 ms interval, 1 ms per byte")
{
    ConfiguredPort box;
    REQUIRE(box.configured);
    CHECK(box.errors.empty());
    CHECK(box.port.handle() != serial::NoHandle);
    CHECK(box.port.handle() != serial::InvalidHandle);

    serial::LineSettings line;
    REQUIRE(box.port.getLineSettings(line));
    CHECK(line.baudRate == 19200);
    CHECK(line.byteSize == 8);
    CHECK(line.parity == serial::Parity::None);
    CHECK(line.stopBits == serial::StopBits::One);
    serial::Timeouts timeouts;
    REQUIRE(box.port.getTimeouts(timeouts));
    CHECK(timeouts.readInterval == 100);
    CHECK(timeouts.readTotalMultiplier == 1);
    CHECK(box.port.setEventMask(serial::EventRxChar));
    CHECK(box.port.setEventMask(0));
}

TEST_CASE("a port is opened exclusively")
{
    ConfiguredPort box;
    REQUIRE(box.configured);
    serial::Port second;
    if (opensAreExclusive()) {
        CHECK_FALSE(second.open(boxPort()));
        CHECK(second.handle() == serial::InvalidHandle);
    } else {
        MESSAGE("not checked: this system opens a port more than once");
    }
    REQUIRE(box.port.close());
    CHECK(second.open(boxPort()));
}

TEST_CASE("DTR and RTS: the box's line has no modem lines, which the layer reports")
{
    ConfiguredPort box;
    REQUIRE(box.configured);
    CHECK_FALSE(box.port.setDtr(true));
    CHECK(lastSystemError() != 0);
    CHECK_FALSE(box.port.setRts(false));
    CHECK(lastSystemError() != 0);
    // The port works on regardless.
    send(box.port, HardwareInfo);
    bool ok = false;
    CHECK(readChunk(box.port, LongReplyLength, ok).size() == HardwareInfoLength);
}

TEST_CASE("a request's reply is counted in the queue and read as one chunk after 100 ms of silence")
{
    ConfiguredPort box;
    REQUIRE(box.configured);
    send(box.port, HardwareInfo);
    CHECK(queuedOnceThere(box.port, HardwareInfoLength) == HardwareInfoLength);

    const auto start = Clock::now();
    bool ok = false;
    const Bytes reply = readChunk(box.port, LongReplyLength, ok);
    const auto took = since(start);
    CHECK(ok);
    REQUIRE(reply.size() == HardwareInfoLength);
    CHECK(std::string(reply.begin(), reply.begin() + 8) == "Vantorel");
    CHECK(std::string(reply.end() - 2, reply.end()) == "\r\n");
    // The interval time-out ends the read, long before the total one (10 s for 10,000 bytes).
    CHECK(took >= 90ms);
    CHECK(took < 2s);
}

TEST_CASE("a read takes no more than asked; the rest stays queued")
{
    ConfiguredPort box;
    REQUIRE(box.configured);
    send(box.port, HardwareInfo);
    REQUIRE(queuedOnceThere(box.port, HardwareInfoLength) == HardwareInfoLength);
    bool ok = false;
    CHECK(readChunk(box.port, 50, ok).size() == 50);
    CHECK(queuedNow(box.port) == HardwareInfoLength - 50);
    CHECK(readChunk(box.port, 50, ok).size() == HardwareInfoLength - 50);
}

TEST_CASE("a 10,000-byte reply is read as one chunk")
{
    ConfiguredPort box;
    REQUIRE(box.configured);
    send(box.port, LongReplyOpcode);
    bool ok = false;
    const Bytes reply = readChunk(box.port, LongReplyLength, ok);
    CHECK(ok);
    REQUIRE(reply.size() == LongReplyLength);
    CHECK(reply.front() == '?');
    CHECK(queuedNow(box.port) == 0);
}

TEST_CASE("with nothing coming a read ends on its total time-out, empty but not failed")
{
    ConfiguredPort box;
    REQUIRE(box.configured);
    bool ok = false;
    CHECK(readChunk(box.port, 20, ok).empty()); // 20 bytes at 1 ms each
    CHECK(ok);
}

TEST_CASE("a stop ends a read blocked on a quiet line at once")
{
    ConfiguredPort box;
    REQUIRE(box.configured);
    StopSignal stop;
    Clock::time_point raisedAt;
    std::thread stopper([&] {
        std::this_thread::sleep_for(50ms);
        raisedAt = Clock::now();
        stop.raise();
    });
    bool ok = false;
    const Bytes chunk = readChunk(box.port, LongReplyLength, ok, &stop); // would wait 10 s
    const auto returnedAt = Clock::now();
    stopper.join();
    CHECK(ok);
    CHECK(chunk.empty());
    // Within 100 ms; the bound leaves room for a loaded machine.
    CHECK(returnedAt - raisedAt < 500ms);
}

TEST_CASE("a raised stop hands over what is queued without waiting for the silence")
{
    ConfiguredPort box;
    REQUIRE(box.configured);
    send(box.port, HardwareInfo);
    REQUIRE(queuedOnceThere(box.port, HardwareInfoLength) == HardwareInfoLength);
    StopSignal stop;
    stop.raise();
    bool ok = false;
    CHECK(readChunk(box.port, LongReplyLength, ok, &stop).size() == HardwareInfoLength);
    CHECK(ok);
}

TEST_CASE("flushing discards the queued input")
{
    ConfiguredPort box;
    REQUIRE(box.configured);
    send(box.port, HardwareInfo);
    REQUIRE(queuedOnceThere(box.port, HardwareInfoLength) == HardwareInfoLength);
    FlushInput(box.port);
    CHECK(queuedNow(box.port) == 0);
}

TEST_CASE("after a close every step fails with the invalid-handle error")
{
    ConfiguredPort box;
    REQUIRE(box.configured);
    REQUIRE(box.port.close());
    CHECK(box.port.handle() == serial::NoHandle);

    serial::Port& port = box.port;
    std::uint8_t byte = 0;
    std::uint32_t count = 0;
    serial::LineSettings line;
    serial::Timeouts timeouts;
    const std::pair<const char*, std::function<bool()>> steps[] = {
        {"close", [&] { return port.close(); }},
        {"setDtr", [&] { return port.setDtr(true); }},
        {"setRts", [&] { return port.setRts(true); }},
        {"getLineSettings", [&] { return port.getLineSettings(line); }},
        {"setLineSettings", [&] { return port.setLineSettings(line); }},
        {"getTimeouts", [&] { return port.getTimeouts(timeouts); }},
        {"setTimeouts", [&] { return port.setTimeouts(timeouts); }},
        {"setEventMask", [&] { return port.setEventMask(serial::EventRxChar); }},
        {"queryStatus", [&] { return port.queryStatus(count); }},
        {"read", [&] { return port.read(&byte, 1, count); }},
        {"waitForInput", [&] { return port.waitForInput(10, nullptr); }},
        {"write", [&] { return port.write(&byte, 1, count); }},
    };
    for (const auto& [name, step] : steps) {
        CAPTURE(name);
        CHECK_FALSE(step());
        CHECK(lastSystemError() == BadHandleError);
    }
}

TEST_CASE("the receive loop logs one line per read and stores its bytes")
{
    ReceiveRun run;
    send(run.port(), HardwareInfo);
    const auto lines = run.sink.waitForLines(1);
    REQUIRE(lines.size() == 1);
    CHECK(lines[0].rfind("56 61 6E ", 0) == 0); // "Van" in HEX
    CHECK(lines[0].substr(lines[0].size() - 10) == "<CR> <LF> ");
    CHECK(run.buffer.count() == HardwareInfoLength);
}

TEST_CASE("10,000 bytes fill the receive buffer; the next chunk starts it over")
{
    ReceiveRun run;
    send(run.port(), LongReplyOpcode);
    REQUIRE(run.sink.waitForLines(1).size() == 1);
    CHECK(run.buffer.count() == LongReplyLength);
    send(run.port(), HardwareInfo);
    const auto lines = run.sink.waitForLines(3);
    REQUIRE(lines.size() == 3);
    CHECK(lines[1] == "Buffer full");
    CHECK(run.buffer.count() == HardwareInfoLength);
}

TEST_CASE("a stop ends a waiting receive loop at once")
{
    ReceiveRun run;
    std::this_thread::sleep_for(150ms);
    const auto start = Clock::now();
    run.stop();
    CHECK(since(start) < 500ms); // within 100 ms; the bound leaves room for a loaded machine
}

namespace {

// The least a front end does for the box session: lines shown where the reader runs, a
// wait that watches the receive buffer, and a record of the lines shown.
class RecordingHost final : public BoxSessionHost {
public:
    RecordingHost() { folder.write(boxPort()); }
    ~RecordingHost() override { session.release(); }

    void post(std::function<void()> job) override { job(); }
    void showSent(const std::string& packetDump) override { sent.push_back(packetDump); }
    void showReceived(const std::string& text) override { sink.showReceived(text); }
    void showError(const std::string& message) override { sink.showError(message); }
    bool waitForReply(std::uint32_t count, std::chrono::milliseconds timeout) override
    {
        for (const auto end = Clock::now() + timeout; Clock::now() < end; std::this_thread::sleep_for(5ms)) {
            if (buffer.count() >= count)
                return true;
        }
        return false;
    }
    void pause(std::chrono::milliseconds) override {}

    SettingsFolder folder;
    serial::Port port;
    ReceiveBuffer buffer;
    std::atomic<DisplayMode> display{DisplayMode::Hex};
    const std::atomic<bool> showCRLF{false};
    const std::atomic<bool> ending{false};
    RecordingSink sink;
    std::vector<std::string> sent;
    BoxSession session{port, buffer, {display, showCRLF, ending}, *this};
};

} // namespace

TEST_CASE("the box session sends a request padded, shows its line and gives the reply; a text reply is read as text")
{
    RecordingHost host;
    REQUIRE(host.session.open(readProgramSettings(programSettingsPath())));
    CHECK(host.session.PortOpen());

    const BoxSession::Sent info = host.session.send(BoxRequests::hardwareInfo(), ReplyTimeout);
    CHECK(info.outcome == BoxSession::Exchange::Replied);
    CHECK(info.reply.size() == HardwareInfoLength);
    CHECK(host.sent == std::vector<std::string>{"0x01 0x00 0x00 0x00 0x00 0x00 0x00 0x00 0x00 0x00 0x00 "});
    const std::vector<std::string> lines = host.sink.waitForLines(1);
    REQUIRE(!lines.empty());
    CHECK(lines[0].rfind("Vantorel simulated interface box", 0) == 0);
    CHECK(host.display == DisplayMode::Hex); // the user's display again once the reply is in

    const BoxSession::Sent step = host.session.send(BoxRequests::stepUp(), ReplyTimeout);
    CHECK(step.outcome == BoxSession::Exchange::Replied);
    CHECK(step.reply.size() == BoxRequests::stepUp().replyLength);

    CHECK(host.session.close());
    CHECK_FALSE(host.session.PortOpen());
    CHECK(host.session.ReadThread()->isFinished());
    const BoxSession::Sent closed = host.session.send(BoxRequests::stepUp(), ReplyTimeout);
    CHECK(closed.outcome == BoxSession::Exchange::WriteFailed);
    CHECK_FALSE(closed.writeError.empty());
}
