#include "app/AppPaths.h"

#include "app/AppPathsNative.h"

namespace {

constexpr std::size_t MaxPathPart = 255;

struct Paths {
    std::string name;
    std::string dir;
};

Paths pathsOf(const std::string& executable)
{
    const std::size_t slash = executable.find_last_of(PathSeparators);
    std::string dir = slash == std::string::npos ? std::string("./") : executable.substr(0, slash + 1);
    return {appNameFromPath(executable).substr(0, MaxPathPart), dir.substr(0, MaxPathPart)};
}

// Computed on first use, which the program's entry makes happen before any window exists.
Paths& paths()
{
    static Paths current = pathsOf(executablePath());
    return current;
}

} // namespace

std::string appNameFromPath(const std::string& executablePath)
{
    const std::size_t slash = executablePath.find_last_of(PathSeparators);
    std::string file = slash == std::string::npos ? executablePath : executablePath.substr(slash + 1);
    const std::size_t dot = file.rfind('.');
    if (dot != std::string::npos)
        file.erase(dot);
    return file;
}

const std::string& AppName()
{
    return paths().name;
}

const std::string& AppDir()
{
    return paths().dir;
}

std::string programSettingsPath(const std::string& programName)
{
    return AppDir() + programName + ".ini";
}

void overrideAppPaths(const std::string& dir, const std::string& name)
{
    paths() = {name, dir.empty() || dir.back() == '/' ? dir : dir + '/'};
}
