#include "StorageTestTimings.h"

StorageTimings StorageTestTimings::shortOnes()
{
    StorageTimings timings = StorageTimings::production();
    timings.volumeRetryIntervalMs = kRetryIntervalMs;
    timings.macMountSettleMs = 0;
    // The timed look-ups alone, so that their count and timeline are what the tests see; the
    // poll in between has tests of its own.
    timings.volumePollIntervalMs = 0;
    timings.volumeLockAttempts = 3;
    timings.volumeLockRetryMs = 1;
    return timings;
}
