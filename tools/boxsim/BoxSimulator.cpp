#include "BoxSimulator.h"

#include "DeviceLink.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <poll.h>
#include <utility>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int HangUpPauseMs = 10;

} // namespace

BoxSimulator::BoxSimulator() : BoxSimulator(Options{}) {}

BoxSimulator::BoxSimulator(Options options) : m_initialOptions(options), m_options(std::move(options)) {}

BoxSimulator::~BoxSimulator()
{
    stop();
}

bool BoxSimulator::start(std::string* error)
{
    if (m_running)
        return true;
    std::string reason;
    bool ready;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        ready = m_tables.load(m_options.positionsFile, m_options.remoteFile, reason);
        m_assembler = boxsim::PacketAssembler();
    }
    ready = ready && m_wake.open(reason) && m_terminal.open(reason);
    const std::string& link = m_options.linkPath;
    ready = ready && (link.empty() || boxsim::placeLink(m_terminal.slavePath(), link, reason));
    if (!ready) {
        m_terminal.close();
        m_wake.close();
        if (error)
            *error = reason;
        return false;
    }
    m_running = true;
    m_thread = std::thread(&BoxSimulator::serve, this);
    return true;
}

void BoxSimulator::stop()
{
    if (!m_running)
        return;
    m_wake.raise();
    m_thread.join();
    m_running = false;
    if (!m_options.linkPath.empty())
        boxsim::removeLink(m_options.linkPath);
    m_terminal.close();
    m_wake.close();
}

bool BoxSimulator::reset(std::string* error)
{
    stop();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_options = m_initialOptions;
        m_tables = boxsim::BoxTables();
        m_handler = boxsim::BoxRequestHandler(m_tables);
        m_requests.clear();
        m_arrivals.clear();
        m_forcedLengths.clear();
    }
    return start(error);
}

std::string BoxSimulator::slavePath() const
{
    return m_terminal.slavePath();
}

std::vector<BoxSimulator::Packet> BoxSimulator::requests() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests;
}

std::vector<long long> BoxSimulator::arrivalGapsMs() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<long long> gaps;
    for (std::size_t i = 1; i < m_arrivals.size(); ++i)
        gaps.push_back(std::chrono::duration_cast<std::chrono::milliseconds>(m_arrivals[i] - m_arrivals[i - 1]).count());
    return gaps;
}

void BoxSimulator::clearRequests()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_requests.clear();
    m_arrivals.clear();
}

bool BoxSimulator::waitForRequests(std::size_t count, int timeoutMs)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_requestArrived.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                     [&] { return m_requests.size() >= count; });
}

std::size_t BoxSimulator::pendingRequestBytes() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_assembler.pendingBytes();
}

BoxSimulator::PositionTable BoxSimulator::positionTable() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_tables.positions();
}

void BoxSimulator::setPositionTable(const PositionTable& table)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_tables.setPositions(table);
}

BoxSimulator::RemoteTable BoxSimulator::remoteTable() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_tables.remote();
}

void BoxSimulator::setRemoteTable(const RemoteTable& table)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_tables.setRemote(table);
}

bool BoxSimulator::analyseMode() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_handler.analyseMode();
}

void BoxSimulator::setFault(Fault fault)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_options.fault = fault;
}

void BoxSimulator::setLateDelayMs(int ms)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_options.lateDelayMs = ms;
}

void BoxSimulator::setSplitPauseMs(int ms)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_options.splitPauseMs = ms;
}

void BoxSimulator::setAnalyseStream(bool enabled)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_options.analyseStream = enabled;
}

void BoxSimulator::setAnalyseIntervalMs(int ms)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_options.analyseIntervalMs = ms;
}

void BoxSimulator::forceNextReplyLength(std::uint8_t opcode, std::size_t length)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_forcedLengths[opcode] = length;
}

void BoxSimulator::setReplyHook(ReplyHook hook)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_hook = std::move(hook);
}

bool BoxSimulator::send(const std::vector<std::uint8_t>& bytes)
{
    return m_running && m_wake.writeAll(m_terminal.masterDescriptor(), bytes.data(), bytes.size());
}

bool BoxSimulator::streaming() const
{
    return m_options.analyseStream && m_handler.analyseMode();
}

void BoxSimulator::serve()
{
    const int master = m_terminal.masterDescriptor();
    bool wasStreaming = false;
    Clock::time_point nextTraffic;
    while (true) {
        int interval;
        bool isStreaming;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            isStreaming = streaming();
            interval = m_options.analyseIntervalMs;
        }
        if (isStreaming && !wasStreaming)
            nextTraffic = Clock::now() + std::chrono::milliseconds(interval);
        wasStreaming = isStreaming;

        int timeoutMs = -1;
        if (isStreaming) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                nextTraffic - Clock::now());
            timeoutMs = std::max<int>(0, static_cast<int>(left.count()));
        }
        pollfd fds[2] = {{master, POLLIN, 0}, {m_wake.descriptor(), POLLIN, 0}};
        if (poll(fds, 2, timeoutMs) < 0 && errno != EINTR)
            return;
        if (fds[1].revents != 0)
            return;
        if (fds[0].revents & POLLIN)
            readRequests();
        else if (fds[0].revents & (POLLHUP | POLLERR)) {
            // Only possible if the box's own slave descriptor were lost; do not spin.
            if (!m_wake.sleep(HangUpPauseMs))
                return;
        }

        if (isStreaming && Clock::now() >= nextTraffic) {
            std::string line;
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                line = m_handler.busTrafficLine();
            }
            m_wake.writeAll(master, reinterpret_cast<const std::uint8_t*>(line.data()), line.size());
            nextTraffic = Clock::now() + std::chrono::milliseconds(interval);
        }
    }
}

void BoxSimulator::readRequests()
{
    std::uint8_t buffer[4096];
    const ssize_t size = ::read(m_terminal.masterDescriptor(), buffer, sizeof buffer);
    if (size <= 0)
        return;
    std::vector<Packet> packets;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_assembler.append(buffer, static_cast<std::size_t>(size));
        Packet packet;
        while (m_assembler.takePacket(packet))
            packets.push_back(packet);
    }
    for (const Packet& packet : packets)
        answer(packet);
}

void BoxSimulator::answer(const Packet& request)
{
    Reply reply;
    ReplyHook hook;
    RequestObserver observer;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_requests.push_back(request);
        m_arrivals.push_back(Clock::now());
        reply = boxsim::shapeReply(m_handler.handle(request), m_options.fault,
                                   m_options.lateDelayMs, m_options.splitPauseMs);
        const auto fixed = m_options.replyLengths.find(request[0]);
        if (fixed != m_options.replyLengths.end())
            reply.bytes.resize(fixed->second, 0x00);
        const auto forced = m_forcedLengths.find(request[0]);
        if (forced != m_forcedLengths.end()) {
            reply.bytes.resize(forced->second, 0x00);
            m_forcedLengths.erase(forced);
        }
        hook = m_hook;
        observer = m_options.requestObserver;
    }
    m_requestArrived.notify_all();
    if (observer)
        observer(request);
    if (hook)
        hook(request, reply);
    deliver(reply);
}

void BoxSimulator::deliver(const Reply& reply)
{
    if (reply.delayMs > 0 && !m_wake.sleep(reply.delayMs))
        return;
    const int master = m_terminal.masterDescriptor();
    const std::uint8_t* bytes = reply.bytes.data();
    std::size_t firstPart = reply.bytes.size();
    if (reply.splitPauseMs > 0 && reply.bytes.size() >= 2)
        firstPart = reply.bytes.size() / 2;
    if (!m_wake.writeAll(master, bytes, firstPart))
        return;
    if (firstPart < reply.bytes.size() && m_wake.sleep(reply.splitPauseMs))
        m_wake.writeAll(master, bytes + firstPart, reply.bytes.size() - firstPart);
}
