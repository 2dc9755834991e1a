// The control channel of a box that runs as a process of its own: a second pseudo-terminal,
// served on a thread of its own, that answers each request line (ControlWire.h) with the
// call on the box it stands for. It outlives the box's own terminal, which a test may
// unplug, plug in and reset through it.
#pragma once

#include "BoxSimulator.h"
#include "PtyPair.h"
#include "WakePipe.h"

#include <string>
#include <thread>

class ControlChannel {
public:
    explicit ControlChannel(BoxSimulator& box) : m_box(box) {}
    ~ControlChannel();
    ControlChannel(const ControlChannel&) = delete;
    ControlChannel& operator=(const ControlChannel&) = delete;

    // Opens the terminal, points `linkPath` at it and starts answering.
    bool start(const std::string& linkPath, std::string& error);
    // Safe to call twice; removes the link.
    void stop();

    std::string slavePath() const { return m_terminal.slavePath(); }

private:
    void serve();

    BoxSimulator& m_box;
    boxsim::PtyPair m_terminal;
    boxsim::WakePipe m_wake;
    std::string m_linkPath;
    std::thread m_thread;
};
