// The command line's exit statuses, as its manual page lists them. A signal that ends a run
// gives 128 + its number (Interrupt.h), but for Ctrl+C, a monitor's normal end.
#pragma once

enum ExitStatus : int {
    Done = 0,
    ReplyMissing = 1,    // a reply was missing, short, late or too long
    UsageFailed = 2,     // the command line or its settings file was not understood
    PortFailed = 3,      // the port could not be opened, set up or written
    TableFileFailed = 4, // a table file could not be read or written, or had the wrong size
    OutputFailed = 5,    // the command was carried out, but its lines could not be written
};
