// The command line's exit statuses, as its manual page lists them.
#pragma once

enum ExitStatus : int {
    Done = 0,
    ReplyMissing = 1,    // a reply was missing, short or late
    UsageFailed = 2,     // the command line was not understood
    PortFailed = 3,      // the port could not be opened, set up or written
    TableFileFailed = 4, // a table file could not be read or written
};
