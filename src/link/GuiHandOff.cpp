#include "GuiHandOff.h"

#include "SystemString.h"

#include <QMetaObject>

#include <memory>

namespace {

struct JobState {
    bool finished = false;
    bool abandoned = false;
};

} // namespace

GuiHandOff::GuiHandOff(QObject* context, LineHandler showLine, LineHandler showError)
    : m_context(context)
    , m_showLine(std::move(showLine))
    , m_showError(std::move(showError))
{
}

void GuiHandOff::showReceived(const std::string& text)
{
    if (text.empty())
        return;
    QString line = QStringLiteral("R: ") + QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    runOnGuiThread([show = m_showLine, line = std::move(line)] { show(line); });
}

void GuiHandOff::showError(const std::string& message)
{
    QString text = fromSystem(message);
    runOnGuiThread([show = m_showError, text = std::move(text)] { show(text); });
}

void GuiHandOff::abandon()
{
    std::lock_guard<std::mutex> lock(m_shared->mutex);
    m_shared->abandoned = true;
    m_shared->finished.notify_all();
}

void GuiHandOff::runOnGuiThread(std::function<void()> job)
{
    QObject* context = m_context.data();
    auto state = std::make_shared<JobState>();
    {
        std::lock_guard<std::mutex> lock(m_shared->mutex);
        if (m_shared->abandoned || !context)
            return;
    }
    // The job owns its state, text and handler, so an abandoned job may still run safely.
    QMetaObject::invokeMethod(context, [shared = m_shared, state, job = std::move(job)] {
        {
            std::lock_guard<std::mutex> lock(shared->mutex);
            if (state->abandoned)
                return;
        }
        job();
        std::lock_guard<std::mutex> lock(shared->mutex);
        state->finished = true;
        shared->finished.notify_all();
    }, Qt::QueuedConnection);

    std::unique_lock<std::mutex> lock(m_shared->mutex);
    m_shared->finished.wait(lock, [&] { return state->finished || m_shared->abandoned; });
    if (!state->finished)
        state->abandoned = true;
}
