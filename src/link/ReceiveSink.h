// Where the receive thread sends what it has to show: it blocks in each call until the GUI
// thread has shown the text, or until the reader is told to stop.
#pragma once

#include <string>

class ReceiveSink {
public:
    virtual ~ReceiveSink() = default;

    // One log line's worth of received data, without the "R: " prefix.
    virtual void showReceived(const std::string& text) = 0;

    // An error of the receive loop, shown in an error box.
    virtual void showError(const std::string& message) = 0;
};
