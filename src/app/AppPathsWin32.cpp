// The executable's path on Windows, in the ANSI code page as the rest of the program's text.
#include "AppPathsNative.h"

#include <windows.h>

const char* const PathSeparators = "\\/";

std::string executablePath()
{
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return std::string();
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2); // the name was cut: try again with more room
    }
}
