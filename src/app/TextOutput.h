// Writing the program's own text to a standard stream. On Windows a console is given the text
// through the wide API, so that every letter shows as written whatever the console's code
// page; a pipe or a file gets the UTF-8 bytes. Elsewhere the bytes go out as they are.
#pragma once

#include <cstdio>
#include <string_view>

// Writes `text` and flushes the stream; false when it could not be written.
bool writeText(std::FILE* stream, std::string_view text);

// Whether `stream` is a terminal (on Windows a console) a person reads, not a pipe or a file.
bool isTerminal(std::FILE* stream);
