#include "ProcessBox.h"

#include "ControlWire.h"
#include "link/SerialIo.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

using namespace boxcontrol;
using Clock = std::chrono::steady_clock;

// Longer than any answer takes, a reset with its new terminal included.
constexpr auto ReplyTimeout = std::chrono::seconds(10);
constexpr std::uint32_t InputPollMs = 50;

template <typename Table>
Table tableOfHex(const std::string& hex)
{
    std::vector<std::uint8_t> bytes;
    Table table{};
    if (!bytesOfHex(hex, bytes) || bytes.size() != table.size())
        return table;
    std::copy(bytes.begin(), bytes.end(), table.begin());
    return table;
}

class ProcessBox final : public TestBox {
public:
    explicit ProcessBox(std::string portName) : m_portName(std::move(portName)) {}

    // Opens the channel and asks for a reset; false with `error` set if either fails.
    bool connect(const std::string& controlName, std::string& error)
    {
        // Reads take what is queued, so no read ever waits in the driver.
        if (!m_control.open(controlName) || !m_control.setTimeouts(serial::Timeouts{})) {
            error = "cannot open the box's control channel " + controlName;
            return false;
        }
        const std::optional<std::string> reply = exchange(std::string(command::Reset));
        if (!reply || reply->rfind(Ok, 0) != 0) {
            error = "the box's control channel " + controlName + " did not answer a reset: " + reply.value_or("no reply");
            return false;
        }
        return true;
    }

    std::string portName() const override { return m_portName; }

    std::vector<Packet> requests() const override
    {
        const std::string list = ask(command::Requests);
        std::vector<Packet> packets;
        for (const std::string_view hex : wordsOf(list)) {
            Packet packet;
            bytesOfHex(hex, packet);
            packets.push_back(packet);
        }
        return packets;
    }
    void clearRequests() override { ask(command::ClearRequests); }
    std::size_t pendingRequestBytes() const override
    {
        std::size_t count = 0;
        parseNumber(ask(command::PendingBytes), count);
        return count;
    }

    PositionTable positionTable() const override { return tableOfHex<PositionTable>(ask(command::Positions)); }
    void setPositionTable(const PositionTable& table) override { ask(command::SetPositions, hexOf(table)); }
    RemoteTable remoteTable() const override { return tableOfHex<RemoteTable>(ask(command::Remote)); }
    void setRemoteTable(const RemoteTable& table) override { ask(command::SetRemote, hexOf(table)); }

    void setFault(Fault fault) override { ask(command::Fault, std::string(faultName(fault))); }
    void setLateDelayMs(int ms) override { ask(command::LateDelay, std::to_string(ms)); }
    void setSplitPauseMs(int ms) override { ask(command::SplitPause, std::to_string(ms)); }
    void setAnalyseStream(bool enabled) override { ask(command::AnalyseStream, enabled ? "1" : "0"); }
    void setAnalyseIntervalMs(int ms) override { ask(command::AnalyseInterval, std::to_string(ms)); }
    void forceNextReplyLength(std::uint8_t opcode, std::size_t length) override
    {
        ask(command::ForceLength, hexOf(&opcode, 1) + ' ' + std::to_string(length));
    }

    bool send(const std::string& bytes) override
    {
        return isOk(exchange(std::string(command::Send) + ' ' + hexOf(bytes)));
    }
    void unplug() override { ask(command::Unplug); }
    bool plugIn() override { return isOk(exchange(std::string(command::PlugIn))); }

    bool setReplyHook(ReplyHook) override { return false; }

private:
    static bool isOk(const std::optional<std::string>& reply) { return reply && *reply == Ok; }

    // The values of the "ok" reply to a command the box must take: anything else means the
    // test and the box no longer agree, and the run cannot go on.
    std::string ask(std::string_view word, const std::string& values = {}) const
    {
        const std::string line = values.empty() ? std::string(word) : std::string(word) + ' ' + values;
        const std::optional<std::string> reply = exchange(line);
        if (!reply) {
            std::fprintf(stderr, "test box: no reply from the control channel to \"%.60s\"\n", line.c_str());
            std::abort();
        }
        const std::vector<std::string_view> words = wordsOf(*reply);
        if (words.empty() || words[0] != Ok) {
            std::fprintf(stderr, "test box: \"%.60s\" refused: %s\n", line.c_str(), reply->c_str());
            std::abort();
        }
        return reply->size() > Ok.size() ? reply->substr(Ok.size() + 1) : std::string();
    }

    // One request line and its reply line (without LF); none if the channel fails.
    std::optional<std::string> exchange(const std::string& line) const
    {
        const std::string request = line + '\n';
        std::uint32_t written = 0;
        if (!m_control.write(request.data(), static_cast<std::uint32_t>(request.size()), written)
            || written != request.size())
            return std::nullopt;
        const Clock::time_point deadline = Clock::now() + ReplyTimeout;
        std::size_t end;
        while ((end = m_unread.find('\n')) == std::string::npos) {
            if (Clock::now() >= deadline || !readQueued())
                return std::nullopt;
        }
        const std::string reply = m_unread.substr(0, end);
        m_unread.erase(0, end + 1);
        return reply;
    }

    // Waits a little for input and appends whatever is queued; false if the channel broke.
    bool readQueued() const
    {
        std::uint32_t queued = 0;
        if (!m_control.waitForInput(InputPollMs, nullptr) || !m_control.queryStatus(queued))
            return false;
        if (queued == 0)
            return true;
        std::string chunk(queued, '\0');
        std::uint32_t got = 0;
        if (!m_control.read(chunk.data(), queued, got))
            return false;
        m_unread.append(chunk, 0, got);
        return true;
    }

    std::string m_portName;
    // Asking the box is no change of this object's state as a test sees it.
    mutable serial::Port m_control;
    mutable std::string m_unread; // received after the last reply line
};

} // namespace

std::unique_ptr<TestBox> openProcessBox(const std::string& portName, const std::string& controlName, std::string& error)
{
    auto box = std::make_unique<ProcessBox>(portName);
    if (!box->connect(controlName, error))
        return nullptr;
    return box;
}
