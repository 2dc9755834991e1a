// The one record of the serial link and the display options, owned by the main window.
// Whether the port is open and its receive thread are the box session's, which works on
// `ComHandle` and reads the display options here.
#pragma once

#include "link/SerialIo.h"
#include "protocol/ByteFormat.h"

#include <atomic>
#include <cstdint>

struct LinkState {
    // GUI thread only; the receive thread reads through ComHandle while it runs.
    serial::Port ComHandle;     // handle(): 0 none, InvalidHandle after a failed open
    std::int32_t LogLines = -1; // log limit; 0 or less: none
    bool OpenOnActivate = true;

    // Written by the GUI thread, read by the receive thread for every byte it formats.
    std::atomic<bool> ShowCRLF{true};
    std::atomic<::DisplayMode> DisplayMode{::DisplayMode::Hex};

    // Set once the main window has been closed: the receive thread ends its loop on it, and a
    // table dialog that would open then ends at once. Written by the GUI thread.
    std::atomic<bool> AppTerminating{false};
};
