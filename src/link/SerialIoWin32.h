// The open port as the Windows sources of the serial layer share it. The driver keeps the
// line settings and time-outs itself; the handle is opened for overlapped I/O, so a read
// can wait on the port and on the reader's stop signal together.
#pragma once

#include "link/SerialIo.h"

#include <windows.h>

namespace serial {

struct Port::Native {
    explicit Native(HANDLE handle) : handle(handle) {}
    ~Native();
    Native(const Native&) = delete;
    Native& operator=(const Native&) = delete;

    // Closes the handle once; false with the last error set when the system refuses.
    bool close();

    HANDLE handle;
};

namespace detail {

// Fails a step on a port that is not open, with ERROR_INVALID_HANDLE.
bool noOpenPort();

} // namespace detail

} // namespace serial
