// Shared by the POSIX sources of the serial layer: handle to descriptor, and the per-port
// time-outs that POSIX terminals do not keep themselves.
#pragma once

#include "SerialIo.h"

namespace serial::detail {

// The descriptor behind a handle; -1 (so every call fails with EBADF) for 0, InvalidHandle
// and values no descriptor can take.
int descriptorOf(Handle handle);

// False with errno EBADF unless the descriptor is open.
bool isOpenDescriptor(int descriptor);

// The time-outs last set on the descriptor; all zero ("as the driver reports") until then.
Timeouts timeoutsOf(int descriptor);

// Drops the stored time-outs when the descriptor is opened or closed, so a reused
// descriptor number starts from zero.
void forgetTimeouts(int descriptor);

} // namespace serial::detail
