#include "StorageTestTimings.h"

StorageTimings StorageTestTimings::shortOnes()
{
    StorageTimings timings = StorageTimings::production();
    timings.volumeRetryIntervalMs = kRetryIntervalMs;
    timings.macMountSettleMs = 0;
    return timings;
}
