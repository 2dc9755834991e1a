// Opening and configuring the port named in the settings file, and discarding stale input.
#pragma once

#include "SerialIo.h"

#include <cstdint>
#include <functional>
#include <string>

struct PortSettings {
    std::string port = "COM1";
    std::int32_t baud = 19200;
};

// "port" and "baud" of section "init" in the settings file, read afresh at every open.
// A "COMn" name is upper-cased; other names are device names, whose case matters here.
PortSettings readPortSettings();

using ErrorReporter = std::function<void(const std::string&)>;

// Opens the configured port into `handle` (stored whatever the open returned), raises DTR and
// RTS, sets 8N1 at the configured speed and the read time-outs. Each failing step is reported
// through `reportError` and ends the configuration; the handle is left as it stands.
bool ConfigurePort(serial::Handle& handle, const ErrorReporter& reportError);

// Discards up to 1000 bytes already queued in the driver; errors are ignored.
void FlushInput(serial::Handle handle);
