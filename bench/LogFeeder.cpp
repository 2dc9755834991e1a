#include "LogFeeder.h"

#include "link/LinkState.h"
#include "link/ReceiveBuffer.h"
#include "link/ReceiveLoop.h"
#include "ui/main/Unit1.h"

#include <algorithm>

LogFeeder::LogFeeder(TForm1& form, std::vector<std::uint8_t> bytes)
    : m_bytes(std::move(bytes))
    , m_link(form.link())
    , m_handOff(form)
{
}

LogFeeder::~LogFeeder()
{
    stop();
}

void LogFeeder::start()
{
    m_start = Clock::now();
    m_thread = std::thread(&LogFeeder::run, this);
}

void LogFeeder::stop()
{
    m_stop = true;
    m_handOff.abandon();
    if (m_thread.joinable())
        m_thread.join();
}

void LogFeeder::run()
{
    for (std::size_t done = 0; done < m_bytes.size() && !m_stop;) {
        const auto size = static_cast<std::uint32_t>(std::min<std::size_t>(ReceiveBuffer::Capacity, m_bytes.size() - done));
        m_handOff.showReceived(formatReceivedChunk(m_bytes.data() + done, size, m_link.DisplayMode, m_link.ShowCRLF));
        done += size;
    }
}
