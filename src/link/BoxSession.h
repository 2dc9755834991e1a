// One session with the interface box over one port: the open sequence with its receive
// thread, the request/reply exchange and the close. The window and the command line share
// it; what differs between them (where the lines are shown, how a wait passes its time) is
// the host's.
#pragma once

#include "link/BoxSessionHost.h"
#include "link/ProgramSettings.h"
#include "link/SerialIo.h"
#include "link/TReadThread.h"
#include "protocol/BoxRequests.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class ReceiveBuffer;

constexpr std::size_t PacketSize = 11;
// How long a request waits for its reply: the window always, the command line by default.
constexpr std::chrono::milliseconds ReplyTimeout{3000};

// What each front end shows when a request's reply is missing, short or late.
constexpr const char* ReceiveErrorText = "Receive error!";

// The request padded with 0x00 bytes to 11 bytes; a longer request stays as it is.
std::string padToPacket(std::string request);
// The packet as its "S: " line shows it, sent or (in a dry run) not.
std::string sentPacketDump(const BoxRequest& request);

class BoxSession {
public:
    // NoReply: the reply was missing, short or late (ReceiveErrorText).
    enum class Exchange { Replied, WriteFailed, NoReply };

    // What one request came to: the outcome, the bytes received by the time the wait ended
    // (a missing or short reply's too), and a failed write's system message.
    struct Sent {
        Exchange outcome;
        std::vector<std::uint8_t> reply;
        std::string writeError;
    };

    // `port`, `buffer`, the options' flags and `host` outlive the session.
    BoxSession(serial::Port& port, ReceiveBuffer& buffer, const ReaderOptions& options, BoxSessionHost& host);

    // The open sequence: the stop sequence, the old handle closed, the port the settings name
    // opened and configured, the event mask set, a 100 ms settle, stale input flushed, the
    // reader started. False when the port could not be opened or configured (shown through
    // the host); the session then counts as open or not as it did before.
    bool open(const ProgramSettings& settings);

    // The stop sequence and the handle closed; true when there was a handle and it closed,
    // which alone ends the session's open state.
    bool close();

    // At the program's end: DTR and RTS dropped, the reader ended before its handle goes.
    void release();

    // One request: padded to the packet size, its line shown, written over a fresh receive
    // buffer, and its reply length waited for, `timeout` at most. A text reply is formatted
    // as ASCII meanwhile, whatever the display. A short write counts as done.
    Sent send(const BoxRequest& request, std::chrono::milliseconds timeout);

    // Set by a successful open, cleared by a close that closed the handle.
    bool PortOpen() const { return m_open; }
    // The reader of the last successful open, ended or not; none before the first.
    const TReadThread* ReadThread() const { return m_reader.get(); }

private:
    void runStopSequence();
    bool closeHandle();

    serial::Port& m_port;
    ReceiveBuffer& m_buffer;
    const ReaderOptions m_options;
    BoxSessionHost& m_host;
    std::unique_ptr<TReadThread> m_reader;
    bool m_open = false;
};
