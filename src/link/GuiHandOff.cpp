#include "link/GuiHandOff.h"

#include "link/BoxSessionHost.h"

namespace {

struct JobState {
    bool finished = false;
    bool abandoned = false;
};

} // namespace

GuiHandOff::GuiHandOff(BoxSessionHost& host)
    : m_host(host)
{
}

void GuiHandOff::showReceived(const std::string& text)
{
    if (text.empty())
        return;
    runOnGuiThread([host = &m_host, text] { host->showReceived(text); });
}

void GuiHandOff::showError(const std::string& message)
{
    runOnGuiThread([host = &m_host, message] { host->showError(message); });
}

void GuiHandOff::abandon()
{
    std::lock_guard<std::mutex> lock(m_shared->mutex);
    m_shared->abandoned = true;
    m_shared->finished.notify_all();
}

void GuiHandOff::runOnGuiThread(std::function<void()> job)
{
    auto state = std::make_shared<JobState>();
    {
        std::lock_guard<std::mutex> lock(m_shared->mutex);
        if (m_shared->abandoned)
            return;
    }
    // The job owns its state and text, so an abandoned job may still run safely: it then
    // does nothing.
    m_host.post([shared = m_shared, state, job = std::move(job)] {
        {
            std::lock_guard<std::mutex> lock(shared->mutex);
            if (state->abandoned)
                return;
        }
        job();
        std::lock_guard<std::mutex> lock(shared->mutex);
        state->finished = true;
        shared->finished.notify_all();
    });

    std::unique_lock<std::mutex> lock(m_shared->mutex);
    m_shared->finished.wait(lock, [&] { return state->finished || m_shared->abandoned; });
    if (!state->finished)
        state->abandoned = true;
}
