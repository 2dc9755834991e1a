// What the program paths need from the platform.
#pragma once

#include <string>

// The running executable's full path; empty when the system does not say.
std::string executablePath();

// The characters that end a folder in a path; the first is the system's own.
extern const char* const PathSeparators;

// Whether `path` names an existing file that is not a folder.
bool isRegularFile(const std::string& path);

// The folder that holds the user's per-program settings folders, with a trailing separator.
std::string userConfigFolder();
