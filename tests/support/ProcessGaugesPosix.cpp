#include "ProcessGauges.h"

#include <ctime>
#include <dirent.h>
#include <fstream>
#include <string>

namespace {

int entriesIn(const char* folder)
{
    DIR* directory = ::opendir(folder);
    if (!directory)
        return -1;
    int count = 0;
    while (const dirent* entry = ::readdir(directory)) {
        const std::string name = entry->d_name;
        count += name != "." && name != "..";
    }
    ::closedir(directory);
    return count;
}

} // namespace

int openHandleCount()
{
    // The count's own descriptor on the folder is among the entries each time.
    return entriesIn("/proc/self/fd");
}

int threadCount()
{
    return entriesIn("/proc/self/task");
}

double processCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

long residentKilobytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return -1;
}
