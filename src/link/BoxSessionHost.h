// What a front end does for the box session that only it can do: show what goes out and
// comes in where its user sees it, and pass the time of a wait its own way.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

class BoxSessionHost {
public:
    virtual ~BoxSessionHost() = default;

    // Runs `job` where the front end shows things (the window's GUI thread), now or later;
    // the reader hands its lines and errors over through it and waits until they are shown.
    virtual void post(std::function<void()> job) = 0;

    // A request's packet dump, shown before the packet is written.
    virtual void showSent(const std::string& packetDump) = 0;
    // One read's text, without the "R: " prefix, in a job the reader posted.
    virtual void showReceived(const std::string& text) = 0;
    // An error, shown in an error box: a failed step of the open sequence, or the reader's in
    // a job it posted.
    virtual void showError(const std::string& message) = 0;

    // Waits until the receive buffer holds `count` bytes or `timeout` passes; true when the
    // time-out had not passed.
    virtual bool waitForReply(std::uint32_t count, std::chrono::milliseconds timeout) = 0;

    // The stop sequence's pause once the reader has ended.
    virtual void pause(std::chrono::milliseconds duration) = 0;
};
