// TReadThread: the receive thread of an open port. It runs the receive loop on the port it
// was started for, into the receive buffer and with the display options it was given, and
// hands each line to its host; stop() ends it at once wherever it waits (in a read, in its
// pause or in a hand-off).
#pragma once

#include "link/GuiHandOff.h"
#include "link/ReceiveLoop.h"
#include "link/StopSignal.h"

#include <atomic>
#include <thread>

class BoxSessionHost;
class ReceiveBuffer;

// The display options the reader formats each byte with, and the flag that ends its loop
// once the program is ending; each is read for every byte or pass while the reader runs.
struct ReaderOptions {
    std::atomic<DisplayMode>& displayMode; // the box session switches it for a text reply
    const std::atomic<bool>& showCRLF;
    const std::atomic<bool>& ending;
    std::optional<std::chrono::milliseconds> longestRead = std::nullopt; // see ReceiveLoopContext
};

class TReadThread final {
public:
    // Starts the thread. `port`, `buffer`, the options' flags and `host` must outlive it.
    TReadThread(serial::Port& port, ReceiveBuffer& buffer, const ReaderOptions& options, BoxSessionHost& host);
    ~TReadThread();
    TReadThread(const TReadThread&) = delete;
    TReadThread& operator=(const TReadThread&) = delete;

    // Sets the terminate flag, wakes the thread wherever it waits and joins it.
    void stop();

    // Whether the thread has left its loop, by itself or stopped.
    bool isFinished() const { return m_finished.load(std::memory_order_acquire); }

private:
    void Execute();

    serial::Port& m_port;
    ReceiveBuffer& m_buffer;
    ReaderOptions m_options;
    StopSignal m_stop;
    GuiHandOff m_handOff;
    std::atomic<bool> m_finished{false};
    std::thread m_thread; // last: it starts once everything it uses is in place
};
