// The operating system's text for an error code, as the program shows it in error boxes.
#pragma once

#include <string>

// The calling thread's last error code (errno on POSIX, GetLastError() on Windows).
int lastSystemError();

// The system's text for `code`, with trailing blanks, control characters and periods removed.
std::string systemMessage(int code);

// systemMessage(lastSystemError()).
std::string systemMessage();

// `text` with trailing blanks, control characters and periods removed.
std::string trimmedSystemText(std::string text);
