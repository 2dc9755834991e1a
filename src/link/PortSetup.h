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

// "port" and "baud" of section "init" in the settings file at `settingsPath`, read afresh at
// every open; the port name cased as the system's device naming wants it.
PortSettings readPortSettings(const std::string& settingsPath);

using ErrorReporter = std::function<void(const std::string&)>;

// Opens the port configured in the settings file at `settingsPath` into `port` (its handle is
// whatever the open left), raises DTR
// and RTS, sets 8N1 at the configured speed and the read time-outs. Each failing step is
// reported through `reportError` and ends the configuration; the port is left as it stands.
bool ConfigurePort(serial::Port& port, const std::string& settingsPath, const ErrorReporter& reportError);

// Discards up to 1000 bytes already queued in the driver; errors are ignored.
void FlushInput(serial::Port& port);
