// One session with the interface box over one port: the open sequence, the request/reply
// exchange and the close. The window and the command line share it; what differs between
// them (how the reader shows what it reads, how a wait passes its time, how an error is
// shown) is the host's.
#pragma once

#include "BoxRequests.h"
#include "ByteFormat.h"
#include "ProgramSettings.h"
#include "SerialIo.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class ReceiveBuffer;

constexpr std::size_t PacketSize = 11;
// How long a request waits for its reply.
constexpr std::chrono::milliseconds ReplyTimeout{3000};

// The request padded with 0x00 bytes to 11 bytes; a longer request stays as it is.
std::string padToPacket(std::string request);

class BoxSessionHost {
public:
    virtual ~BoxSessionHost() = default;

    // The port and its speed as the settings give them now: read afresh at every open.
    virtual ProgramSettings portSettings() = 0;
    // A failed step's name, mostly followed by the system message.
    virtual void reportPortError(const std::string& text) = 0;

    // Starts a reader on the freshly opened port; it fills the session's receive buffer.
    virtual void startReader() = 0;
    // Whether a reader was started since the last close (it may have ended by now).
    virtual bool hasReader() const = 0;
    // Ends the current reader, if any, and waits until it has.
    virtual void stopReader() = 0;

    // The stop sequence's pause once the reader has ended.
    virtual void pauseAfterStop(std::chrono::milliseconds pause) = 0;
    // Waits until the receive buffer holds `count` bytes or the 3-second reply time-out
    // passes; true when the time-out had not passed.
    virtual bool waitForReply(std::uint8_t count) = 0;
    // A request's "S: " line, its packet dump, shown before the packet is written.
    virtual void showSent(const std::string& packetDump) = 0;
};

class BoxSession {
public:
    enum class Exchange { Replied, WriteFailed, NoReply };

    // What one request came to: the outcome, the bytes received by the time the wait ended
    // (a missing or short reply's too), and a failed write's system message.
    struct Sent {
        Exchange outcome;
        std::vector<std::uint8_t> reply;
        std::string writeError;
    };

    // `port`, `buffer` and the display the reader formats with are the host's and outlive the
    // session.
    BoxSession(serial::Port& port, ReceiveBuffer& buffer, std::atomic<DisplayMode>& display, BoxSessionHost& host);

    // The open sequence: the stop sequence, the old handle closed, the port opened and
    // configured, the event mask set, a 100 ms settle, stale input flushed, the reader
    // started. False when the port could not be opened or configured (reported to the host).
    bool open();

    // The stop sequence and the handle closed; true when there was a handle and it closed.
    bool close();

    // At the program's end: DTR and RTS dropped, the reader ended before its handle goes.
    void release();

    // One request: padded to the packet size, its line shown, written over a fresh receive
    // buffer, and its reply length waited for. A text reply is formatted as ASCII meanwhile,
    // whatever the display. A short write counts as done.
    Sent send(const BoxRequest& request);

private:
    void runStopSequence();
    bool closeHandle();

    serial::Port& m_port;
    ReceiveBuffer& m_buffer;
    std::atomic<DisplayMode>& m_display;
    BoxSessionHost& m_host;
};
