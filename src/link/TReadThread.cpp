#include "TReadThread.h"

#include "ApplicationState.h"
#include "LinkState.h"
#include "ReceiveBuffer.h"
#include "ReceiveLoop.h"

TReadThread::TReadThread(serial::Handle port, GuiHandOff::LineHandler showLine,
                         GuiHandOff::LineHandler showError, QObject* guiContext)
    : m_port(port)
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
    runReceiveLoop({m_port, RxBuffer, Link.DisplayMode, Link.ShowCRLF, m_handOff, m_stop, &applicationTerminating});
}
