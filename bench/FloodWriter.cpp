#include "FloodWriter.h"

#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace {

constexpr int StopCheckMs = 100;

} // namespace

FloodWriter::FloodWriter(int master, std::vector<std::uint8_t> bytes)
    : m_master(master)
    , m_bytes(std::move(bytes))
{
}

FloodWriter::~FloodWriter()
{
    stop();
}

void FloodWriter::start()
{
    m_thread = std::thread(&FloodWriter::run, this);
}

void FloodWriter::stop()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
}

void FloodWriter::run()
{
    std::size_t done = 0;
    while (done < m_bytes.size() && !m_stop) {
        const ssize_t put = ::write(m_master, m_bytes.data() + done, m_bytes.size() - done);
        if (put > 0) {
            if (done == 0)
                m_firstWrite = Clock::now().time_since_epoch().count();
            done += static_cast<std::size_t>(put);
            m_written = done;
            continue;
        }
        if (put < 0 && errno != EAGAIN && errno != EINTR)
            return;
        // The terminal is full until the program reads; wake now and then to notice a stop.
        pollfd master{m_master, POLLOUT, 0};
        ::poll(&master, 1, StopCheckMs);
    }
}
