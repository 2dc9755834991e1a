#include "cli/ConsoleOutput.h"

#include "app/TextOutput.h"
#include "cli/ExitStatus.h"
#include "protocol/IntegerInput.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>

namespace {

std::string timeStampPrefix()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char text[32];
    return std::strftime(text, sizeof text, "%d.%m.%y %H:%M:%S ", &local) ? std::string(text) : std::string();
}

} // namespace

ConsoleOutput::ConsoleOutput(LineForm form)
    : m_form(form)
    , m_countsDown(isTerminal(stderr))
{
}

ConsoleOutput::ConsoleOutput(Silent)
    : m_silent(true)
    , m_countsDown(false)
{
}

std::string ConsoleOutput::lastError() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_lastError;
}

void ConsoleOutput::moveLinesToStandardError()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_lines = stderr;
}

// A log line as the log pane keeps it: without trailing blanks and control characters.
void ConsoleOutput::logLine(const std::string& text)
{
    std::string line = m_form.timestamps ? timeStampPrefix() : std::string();
    line += trimTrailingControls(text);
    print(nullptr, line);
}

void ConsoleOutput::print(std::FILE* stream, std::string line)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (m_silent) {
        if (stream == stderr)
            m_lastError = line;
        return;
    }
    line += '\n';
    clearCountdown();
    std::FILE* const target = stream ? stream : m_lines;
    errno = 0;
    if (writeText(target, line) || stream) // an error line that cannot be written has nowhere else to go
        return;
    if (!m_writeFailed.load())
        m_writeError = errno; // the first failure tells why
    m_writeFailed.store(true);
}

int ConsoleOutput::finish(int status)
{
    if (!m_writeFailed.load())
        return status;
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (m_writeError == EPIPE)
        return status;
    std::string text = std::string("vantorel-cli: cannot write to ")
        + (m_lines == stdout ? "standard output" : "standard error");
    if (m_writeError != 0) // a console that refused the text sets none
        text += std::string(": ") + std::strerror(m_writeError);
    writeText(stderr, text + "\n");
    return status == Done ? OutputFailed : status;
}

void ConsoleOutput::sent(const std::string& packetDump)
{
    if (!m_form.quiet)
        logLine("S: " + packetDump);
}

void ConsoleOutput::received(const std::string& text)
{
    logLine(m_form.quiet ? text : "R: " + text);
}

void ConsoleOutput::reply(const std::string& text)
{
    logLine(text);
}

void ConsoleOutput::error(const std::string& text)
{
    print(stderr, text);
}

// Blanks over the line rather than a terminal's escape, which not every Windows console takes.
void ConsoleOutput::countdown(const std::string& text)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_countsDown)
        return;
    const std::size_t width = std::max(m_countdownWidth, text.size());
    writeText(stderr, "\r" + text + std::string(width - text.size(), ' ') + "\r");
    m_countdownWidth = text.size();
}

void ConsoleOutput::endCountdown()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    clearCountdown();
}

void ConsoleOutput::clearCountdown()
{
    if (m_countdownWidth == 0)
        return;
    writeText(stderr, "\r" + std::string(m_countdownWidth, ' ') + "\r");
    m_countdownWidth = 0;
}
