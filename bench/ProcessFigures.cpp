#include "ProcessFigures.h"

#include <dirent.h>
#include <time.h>

#include <fstream>
#include <sstream>

namespace {

std::int64_t statusKilobytes(const std::string& key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.compare(0, key.size(), key) == 0 && line.size() > key.size() && line[key.size()] == ':')
            return std::stoll(line.substr(key.size() + 1));
    }
    return -1;
}

std::string firstLine(const std::string& path)
{
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    return line;
}

std::int64_t cpuClockNs(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return std::int64_t{now.tv_sec} * 1000000000 + now.tv_nsec;
}

} // namespace

std::int64_t residentBytes()
{
    return statusKilobytes("VmRSS") * 1024;
}

std::int64_t peakResidentBytes()
{
    return statusKilobytes("VmHWM") * 1024;
}

std::int64_t processCpuNs()
{
    return cpuClockNs(CLOCK_PROCESS_CPUTIME_ID);
}

std::int64_t currentThreadCpuNs()
{
    return cpuClockNs(CLOCK_THREAD_CPUTIME_ID);
}

std::vector<ThreadCpu> threadCpuTimes()
{
    std::vector<ThreadCpu> threads;
    DIR* tasks = opendir("/proc/self/task");
    if (!tasks)
        return threads;
    while (const dirent* entry = readdir(tasks)) {
        if (entry->d_name[0] == '.')
            continue;
        const std::string dir = std::string("/proc/self/task/") + entry->d_name;
        std::istringstream schedstat(firstLine(dir + "/schedstat"));
        std::int64_t cpuNs = -1;
        if (schedstat >> cpuNs)
            threads.push_back({std::stoi(entry->d_name), firstLine(dir + "/comm"), cpuNs});
    }
    closedir(tasks);
    return threads;
}
