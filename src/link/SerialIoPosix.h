// The open port as the POSIX sources of the serial layer share it: a terminal descriptor and
// the time-outs, which a terminal does not keep itself.
#pragma once

#include "link/SerialIo.h"

namespace serial {

struct Port::Native {
    explicit Native(int descriptor) : descriptor(descriptor) {}
    ~Native();
    Native(const Native&) = delete;
    Native& operator=(const Native&) = delete;

    // Closes the descriptor once; false with errno when the system reports a failure.
    bool close();

    int descriptor;
    // Set by the GUI thread while no reader runs; read by every read and write.
    Timeouts timeouts;
};

namespace detail {

// Fails a step on a port that is not open: errno EBADF, as for a closed descriptor.
bool noOpenPort();

} // namespace detail

} // namespace serial
