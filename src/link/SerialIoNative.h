// The platform's definition of an open port, for the sources every platform shares.
#pragma once

#ifdef _WIN32
#include "link/SerialIoWin32.h"
#else
#include "link/SerialIoPosix.h"
#endif
