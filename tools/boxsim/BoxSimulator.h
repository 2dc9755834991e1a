// A stand-in for the interface box: it serves the box's request/reply protocol on the
// master side of a pseudo-terminal, so the program (or a test) talks to the slave path as
// to a serial port. Tests drive it in-process; vantorel-boxsim runs it on its own, where
// its control channel stands in for the calls below.
#pragma once

#include "BoxRequestHandler.h"
#include "BoxTables.h"
#include "PacketAssembler.h"
#include "PtyPair.h"
#include "ReplyShaping.h"
#include "WakePipe.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class BoxSimulator {
public:
    using Packet = boxsim::Packet;
    using Fault = boxsim::Fault;
    using Reply = boxsim::Reply;
    using PositionTable = boxsim::PositionTable;
    using RemoteTable = boxsim::RemoteTable;

    // Both run on the service thread without the simulator's lock held, so they may call
    // back into the simulator. The hook sees each reply just before it is sent and may
    // change its bytes, delay or split.
    using ReplyHook = std::function<void(const Packet& request, Reply& reply)>;
    using RequestObserver = std::function<void(const Packet& request)>;

    struct Options {
        Fault fault = Fault::None;
        int lateDelayMs = 3500;
        int splitPauseMs = 250;
        // While analyse mode is on, a line of bus traffic every analyseIntervalMs.
        bool analyseStream = false;
        int analyseIntervalMs = 500;
        // A symbolic link to the terminal, placed by start() and removed by stop(): the
        // port's name while the terminal behind it changes. Empty: no link.
        std::string linkPath;
        // Table files, loaded by start() when they exist and rewritten after every change.
        std::string positionsFile;
        std::string remoteFile;
        // Every reply to these opcodes is cut or padded (with 0x00) to the given length,
        // after the fault: long replies for tests of the program's receive side.
        std::map<std::uint8_t, std::size_t> replyLengths;
        RequestObserver requestObserver;
    };

    BoxSimulator();
    explicit BoxSimulator(Options options);
    ~BoxSimulator();
    BoxSimulator(const BoxSimulator&) = delete;
    BoxSimulator& operator=(const BoxSimulator&) = delete;

    // Loads the table files, opens a new pseudo-terminal, points the link at it and starts
    // serving. After a stop() this is the cable plugged in again: what the box received and
    // holds stays. On failure `error` (if given) says why.
    bool start(std::string* error = nullptr);
    // Returns promptly even while a reply is being delayed; safe to call twice. The terminal
    // and the link go, as a device does when its cable is pulled.
    void stop();
    // Back to the box as constructed and just started, on a new terminal: the options given
    // then, fresh tables (or the files' contents), no requests, no forced lengths. No byte
    // and no delayed reply of before reaches the new terminal. The reply hook stays.
    bool reset(std::string* error = nullptr);
    // The device the program opens; empty unless started.
    std::string slavePath() const;

    // Every 11-byte packet received, oldest first.
    std::vector<Packet> requests() const;
    // The milliseconds from each packet's arrival to the next one's, whole ones rounded down:
    // a lower bound of the quiet a program left between its requests.
    std::vector<long long> arrivalGapsMs() const;
    void clearRequests();
    // True once at least `count` packets were received (and answered or being answered).
    bool waitForRequests(std::size_t count, int timeoutMs);
    // Bytes received that do not yet make a whole packet.
    std::size_t pendingRequestBytes() const;

    PositionTable positionTable() const;
    void setPositionTable(const PositionTable& table);
    RemoteTable remoteTable() const;
    void setRemoteTable(const RemoteTable& table);
    bool analyseMode() const;

    void setFault(Fault fault);
    void setLateDelayMs(int ms);
    void setSplitPauseMs(int ms);
    void setAnalyseStream(bool enabled);
    void setAnalyseIntervalMs(int ms);
    // The next reply to `opcode` is cut or padded (with 0x00) to `length` bytes, after the fault.
    void forceNextReplyLength(std::uint8_t opcode, std::size_t length);
    void setReplyHook(ReplyHook hook);

    // Sends `bytes` to the program unasked, as a box that talks on its own would; false if
    // the box is stopped or the write failed. Meant for a line with no reply on its way.
    bool send(const std::vector<std::uint8_t>& bytes);

private:
    void serve();
    void readRequests();
    void answer(const Packet& request);
    void deliver(const Reply& reply);
    bool streaming() const;

    const Options m_initialOptions;
    Options m_options;           // guarded by m_mutex once the service thread runs
    boxsim::PtyPair m_terminal;
    boxsim::WakePipe m_wake;
    std::thread m_thread;
    std::atomic<bool> m_running{false};

    mutable std::mutex m_mutex;
    std::condition_variable m_requestArrived;
    // Guarded by m_mutex.
    boxsim::BoxTables m_tables;
    boxsim::BoxRequestHandler m_handler{m_tables};
    boxsim::PacketAssembler m_assembler;
    std::vector<Packet> m_requests;
    std::vector<std::chrono::steady_clock::time_point> m_arrivals; // one per request
    std::map<std::uint8_t, std::size_t> m_forcedLengths;
    ReplyHook m_hook;
};
