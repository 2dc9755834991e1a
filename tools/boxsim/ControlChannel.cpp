#include "ControlChannel.h"

#include "ControlProtocol.h"
#include "DeviceLink.h"

#include <cerrno>
#include <cstdint>
#include <poll.h>
#include <unistd.h>

namespace {

constexpr int HangUpPauseMs = 10;

} // namespace

ControlChannel::~ControlChannel()
{
    stop();
}

bool ControlChannel::start(const std::string& linkPath, std::string& error)
{
    if (!m_wake.open(error) || !m_terminal.open(error) || !boxsim::placeLink(m_terminal.slavePath(), linkPath, error)) {
        m_terminal.close();
        m_wake.close();
        return false;
    }
    m_linkPath = linkPath;
    m_thread = std::thread(&ControlChannel::serve, this);
    return true;
}

void ControlChannel::stop()
{
    if (!m_thread.joinable())
        return;
    m_wake.raise();
    m_thread.join();
    boxsim::removeLink(m_linkPath);
    m_terminal.close();
    m_wake.close();
}

void ControlChannel::serve()
{
    const int master = m_terminal.masterDescriptor();
    std::string received; // the start of a line whose LF has not come yet
    while (true) {
        pollfd fds[2] = {{master, POLLIN, 0}, {m_wake.descriptor(), POLLIN, 0}};
        if (poll(fds, 2, -1) < 0 && errno != EINTR)
            return;
        if (fds[1].revents != 0)
            return;
        if (!(fds[0].revents & POLLIN)) {
            // Only possible if the channel's own slave descriptor were lost; do not spin.
            if (!m_wake.sleep(HangUpPauseMs))
                return;
            continue;
        }
        char buffer[4096];
        const ssize_t size = ::read(master, buffer, sizeof buffer);
        if (size <= 0)
            continue;
        received.append(buffer, static_cast<std::size_t>(size));
        for (std::size_t end; (end = received.find('\n')) != std::string::npos; received.erase(0, end + 1)) {
            const std::string reply = answerControlLine(m_box, std::string_view(received).substr(0, end)) + '\n';
            if (!m_wake.writeAll(master, reinterpret_cast<const std::uint8_t*>(reply.data()), reply.size()))
                return;
        }
    }
}
