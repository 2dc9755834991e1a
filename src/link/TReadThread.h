// TReadThread: the receive thread of an open port. It runs the receive loop on the port it
// was started for, into the receive buffer and with the display options it was given, and
// hands each line to the GUI thread; stop() ends it at once wherever it waits (in a read, in
// its pause or in a hand-off).
#pragma once

#include "GuiHandOff.h"
#include "SerialIo.h"
#include "StopSignal.h"

#include <QThread>

class ReceiveBuffer;
struct LinkState;

class TReadThread final : public QThread {
public:
    // `port`, `buffer` and `link` must outlive the thread.
    TReadThread(serial::Port& port, ReceiveBuffer& buffer, const LinkState& link,
                GuiHandOff::LineHandler showLine, GuiHandOff::LineHandler showError, QObject* guiContext);
    ~TReadThread() override;

    // Sets the terminate flag, wakes the thread wherever it waits and joins it.
    void stop();

protected:
    void run() override { Execute(); }

private:
    void Execute();

    serial::Port& m_port;
    ReceiveBuffer& m_buffer;
    const LinkState& m_link;
    StopSignal m_stop;
    GuiHandOff m_handOff;
};
