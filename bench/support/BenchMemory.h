#pragma once

#include <QtGlobal>

// The resident memory figures of this process that the benchmarks print (Linux).
class BenchMemory
{
public:
    // A field of /proc/self/status in KiB ("VmRSS", "VmHWM"), or -1.
    static qint64 statusKib(const char* field);
    // Resets VmHWM to the current resident size; false where the system cannot.
    static bool resetPeak();
};
