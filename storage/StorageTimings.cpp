#include "StorageTimings.h"

StorageTimings StorageTimings::production()
{
    StorageTimings timings;
    timings.volumeRetryIntervalMs = 3000;
    timings.maxVolumeRetries = 5;
    timings.volumePollIntervalMs = 50;
    timings.macMountSettleMs = 500;
    timings.volumeLockAttempts = 20;
    timings.volumeLockRetryMs = 500;
    return timings;
}
