#include "ShortDeviceTimings.h"

DeviceTimings ShortDeviceTimings::timings()
{
    DeviceTimings t = DeviceTimings::production();
    for (int* time : {&t.presencePollMs, &t.versionRequestDelayMs, &t.reconnectDelayMs,
                      &t.reconnectPollMs, &t.firstSendDelayMs, &t.resendIntervalMs,
                      &t.graceTimeMs, &t.ackTimeoutMs, &t.retryDelayMs})
        *time = static_cast<int>(ms(*time));
    return t;
}
