// The keys of the settings file, read by one function wherever the program needs them: the
// port and its speed at every open, the log limit at start-up.
#pragma once

#include <cstdint>
#include <string>

struct ProgramSettings {
    std::string port = "COM1"; // cased as the system's device naming wants it
    std::int32_t baud = 19200;
    std::int32_t logLines = -1; // 0 or less: no limit
};

// "port", "baud" and "loglines" of section "init" in the settings file at `path`; a missing
// file or key gives the default.
ProgramSettings readProgramSettings(const std::string& path);
