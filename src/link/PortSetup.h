// Opening and configuring the port the settings name, and discarding stale input.
#pragma once

#include "link/ProgramSettings.h"
#include "link/SerialIo.h"

#include <functional>
#include <string>
#include <string_view>

// The failed open's step text, which the window shows alone.
extern const char* const PortOpenFailed;

// A failed open in the system's terms, with what helps: "cannot open PORT: REASON" for an
// open that failed with the system error `code` (the group to join for a port the user may
// not open), or "PORT is in use by another program".
std::string portOpenFailureDetail(std::string_view portName, int code);

using ErrorReporter = std::function<void(const std::string&)>;

// Opens the port the settings name into `port` (its handle is whatever the open left), raises
// DTR and RTS, sets 8N1 at the settings' speed and the read time-outs. Each failing step is
// reported through `reportError` and ends the configuration; the port is left as it stands.
bool ConfigurePort(serial::Port& port, const ProgramSettings& settings, const ErrorReporter& reportError);

// Discards up to 1000 bytes already queued in the driver; errors are ignored.
void FlushInput(serial::Port& port);
