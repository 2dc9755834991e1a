// What the kernel counts for this process: resident memory and CPU time, per thread too.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// VmRSS and VmHWM of /proc/self/status, in bytes.
std::int64_t residentBytes();
std::int64_t peakResidentBytes();

// CPU time of the whole process and of the calling thread, in nanoseconds.
std::int64_t processCpuNs();
std::int64_t currentThreadCpuNs();

struct ThreadCpu {
    int tid;
    std::string name;
    std::int64_t cpuNs;
};

// Every thread of this process with the CPU time it has used so far (nanosecond counts of
// /proc/self/task/<tid>/schedstat; the clock ticks of .../stat are too coarse for idle loops).
std::vector<ThreadCpu> threadCpuTimes();
