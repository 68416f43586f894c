#pragma once

#include <StorageTimings.h>

// The storage timings every test runs with: the retry timeline of the program, scaled down
// (a tenth of the interval, the same number of retries, no settle pause, no poll between
// the look-ups).
class StorageTestTimings
{
public:
    static constexpr int kRetryIntervalMs = 300;

    static StorageTimings shortOnes();
};
