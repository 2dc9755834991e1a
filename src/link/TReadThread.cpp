#include "link/TReadThread.h"

TReadThread::TReadThread(serial::Port& port, ReceiveBuffer& buffer, const ReaderOptions& options,
                         BoxSessionHost& host)
    : m_port(port)
    , m_buffer(buffer)
    , m_options(options)
    , m_handOff(host)
    , m_thread(&TReadThread::Execute, this)
{
}

TReadThread::~TReadThread()
{
    stop();
}

void TReadThread::stop()
{
    m_stop.raise();
    m_handOff.abandon();
    if (m_thread.joinable())
        m_thread.join();
}

void TReadThread::Execute()
{
    runReceiveLoop({m_port, m_buffer, m_options.displayMode, m_options.showCRLF, m_handOff, m_stop,
                    [this] { return m_options.ending.load(std::memory_order_acquire); }, m_options.longestRead});
    m_finished.store(true, std::memory_order_release);
}
