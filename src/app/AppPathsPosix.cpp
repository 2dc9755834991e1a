// The executable's path on Linux, from /proc.
#include "AppPathsNative.h"

#include <climits>
#include <unistd.h>

const char* const PathSeparators = "/";

std::string executablePath()
{
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return length > 0 ? std::string(buffer, static_cast<std::size_t>(length)) : std::string();
}
