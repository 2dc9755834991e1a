// Where the receive thread sends what it has to show: it blocks in each call until the text
// is shown, or until the reader is told to stop.
#pragma once

#include <string>

class ReceiveSink {
public:
    virtual ~ReceiveSink() = default;

    // One log line's worth of received data, without the "R: " prefix.
    virtual void showReceived(const std::string& text) = 0;

    // An error, shown in an error box: a failed step of the open sequence, or an error of the
    // receive loop.
    virtual void showError(const std::string& message) = 0;
};
