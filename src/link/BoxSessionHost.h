// What a front end does for the box session that only it can do: show what goes out and
// comes in where its user sees it, and pass the time of a wait its own way.
#pragma once

#include "link/ReceiveSink.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

class BoxSessionHost : public ReceiveSink {
public:
    // Runs `job` where the front end shows things (the window's GUI thread), now or later;
    // the reader hands its lines and errors over through it and waits until they are shown.
    virtual void post(std::function<void()> job) = 0;

    // A request's packet dump, shown before the packet is written.
    virtual void showSent(const std::string& packetDump) = 0;

    // Waits until the receive buffer holds `count` bytes or `timeout` passes; true when the
    // time-out had not passed.
    virtual bool waitForReply(std::uint32_t count, std::chrono::milliseconds timeout) = 0;

    // The stop sequence's pause once the reader has ended.
    virtual void pause(std::chrono::milliseconds duration) = 0;
};
