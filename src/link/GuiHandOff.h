// The receive thread's synchronous hand-off to the thread where the front end shows things
// (the window's GUI thread): the reader posts a job there and waits until it has run. A stop
// abandons the wait at once; the job then either never runs or runs on its own copy of the
// text.
#pragma once

#include "link/ReceiveSink.h"

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

class BoxSessionHost;

class GuiHandOff final : public ReceiveSink {
public:
    // `host` shows the lines and errors, through its post(); it outlives the hand-off.
    explicit GuiHandOff(BoxSessionHost& host);

    void showReceived(const std::string& text) override;
    void showError(const std::string& message) override;

    // Ends a wait in progress and every later one at once (any thread).
    void abandon();

private:
    void runOnGuiThread(std::function<void()> job);

    // Shared with the posted jobs, which may outlive this object.
    struct Shared {
        std::mutex mutex; // guards `abandoned` and the jobs' progress flags
        std::condition_variable finished;
        bool abandoned = false;
    };

    BoxSessionHost& m_host;
    std::shared_ptr<Shared> m_shared = std::make_shared<Shared>();
};
