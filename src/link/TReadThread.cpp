#include "TReadThread.h"

#include "LinkState.h"
#include "ReceiveBuffer.h"
#include "ReceiveLoop.h"

TReadThread::TReadThread(serial::Port& port, ReceiveBuffer& buffer, const LinkState& link,
                         GuiHandOff::LineHandler showLine, GuiHandOff::LineHandler showError,
                         QObject* guiContext)
    : m_port(port)
    , m_buffer(buffer)
    , m_link(link)
    , m_handOff(guiContext, std::move(showLine), std::move(showError))
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
    wait();
}

void TReadThread::Execute()
{
    runReceiveLoop({m_port, m_buffer, m_link.DisplayMode, m_link.ShowCRLF, m_handOff, m_stop,
                    [this] { return m_link.AppTerminating.load(std::memory_order_acquire); }});
}
