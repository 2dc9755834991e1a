// Whether the program is shutting down: set once the main window has been closed. The
// receive thread ends its loop on it, and a modal dialog that would open then ends at once.
#pragma once

bool applicationTerminating();
void setApplicationTerminating(bool terminating);
