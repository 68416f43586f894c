#pragma once

#include <QtGlobal>

// The resident memory and CPU time figures of this process that the benchmarks print (Linux).
class BenchMemory
{
public:
    // A field of /proc/self/status in KiB ("VmRSS", "VmHWM"), or -1.
    static qint64 statusKib(const char* field);
    // Resets VmHWM to the current resident size; false where the system cannot.
    static bool resetPeak();
    // User and system CPU seconds of this process (all threads), or of its waited-for children.
    static double cpuSeconds(bool children = false);
};
