// The receive thread's synchronous hand-off to the GUI thread: the reader posts a job to the
// GUI thread's event queue and waits until it has run. A stop abandons the wait at once;
// the job then either never runs or runs on its own copy of the text.
#pragma once

#include "ReceiveSink.h"

#include <QPointer>
#include <QObject>
#include <QString>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

class GuiHandOff final : public ReceiveSink {
public:
    using LineHandler = std::function<void(const QString&)>;

    // `context` lives on the GUI thread; `showLine` gets "R: " lines, `showError` error texts.
    GuiHandOff(QObject* context, LineHandler showLine, LineHandler showError);

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

    QPointer<QObject> m_context;
    LineHandler m_showLine;
    LineHandler m_showError;
    std::shared_ptr<Shared> m_shared = std::make_shared<Shared>();
};
