// What the program paths need from the platform.
#pragma once

#include <string>

// The running executable's full path; empty when the system does not say.
std::string executablePath();

// The characters that end a folder in a path.
extern const char* const PathSeparators;
