#include "StorageTestTimings.h"

StorageTimings StorageTestTimings::shortOnes()
{
    StorageTimings timings = StorageTimings::production();
    timings.volumeRetryIntervalMs = kRetryIntervalMs;
    timings.macMountSettleMs = 0;
    timings.volumeLockAttempts = 3;
    timings.volumeLockRetryMs = 1;
    return timings;
}
