// The simulated box as a window test reaches it, one way for both systems: inside the test's
// process where the system has pseudo-terminals, or as a vantorel-boxsim process of its own
// behind its control channel (under Wine the only way: the box needs Linux, the test runs
// on Windows). Each test gets the box as just started.
#pragma once

#include "BoxTables.h"
#include "ReplyShaping.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TestBox {
public:
    using Packet = boxsim::Packet;
    using Fault = boxsim::Fault;
    using Reply = boxsim::Reply;
    using PositionTable = boxsim::PositionTable;
    using RemoteTable = boxsim::RemoteTable;
    // Sees each reply just before it is sent and may change its bytes, delay or split.
    using ReplyHook = std::function<void(const Packet& request, Reply& reply)>;

    virtual ~TestBox() = default;

    // What the settings file names as the port: the same name while the box is unplugged
    // and plugged in again.
    virtual std::string portName() const = 0;

    // Every 11-byte packet received, oldest first.
    virtual std::vector<Packet> requests() const = 0;
    virtual void clearRequests() = 0;
    // Bytes received that do not yet make a whole packet.
    virtual std::size_t pendingRequestBytes() const = 0;

    virtual PositionTable positionTable() const = 0;
    virtual void setPositionTable(const PositionTable& table) = 0;
    virtual RemoteTable remoteTable() const = 0;
    virtual void setRemoteTable(const RemoteTable& table) = 0;

    virtual void setFault(Fault fault) = 0;
    virtual void setLateDelayMs(int ms) = 0;
    virtual void setSplitPauseMs(int ms) = 0;
    // While analyse mode is on, a line of bus traffic every analyse interval.
    virtual void setAnalyseStream(bool enabled) = 0;
    virtual void setAnalyseIntervalMs(int ms) = 0;
    // The next reply to `opcode` is cut or padded (with 0x00) to `length` bytes, after the fault.
    virtual void forceNextReplyLength(std::uint8_t opcode, std::size_t length) = 0;

    // Bytes to the program unasked, as a hand-played line would send them.
    virtual bool send(const std::string& bytes) = 0;
    // The device goes, as when its cable is pulled; plugIn brings it back under the same
    // port name, with what the box received and holds.
    virtual void unplug() = 0;
    virtual bool plugIn() = 0;

    // False where the box runs in a process of its own: a hook is C++ run inside the box.
    virtual bool setReplyHook(ReplyHook hook) = 0;
};

// The control channel named in VANTOREL_TEST_CONTROL (the box's port in VANTOREL_TEST_PORT),
// as tests/support/with-boxsim.sh names them; without them a box in this process. Null with
// `error` set when neither can be had.
std::unique_ptr<TestBox> openTestBox(std::string& error);
