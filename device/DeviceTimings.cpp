#include "DeviceTimings.h"

DeviceTimings DeviceTimings::production()
{
    DeviceTimings t;
    t.presencePollMs = 1000;
    t.versionRequestDelayMs = 800;
    t.reconnectDelayMs = 2000;
    t.reconnectPollMs = 50;
    t.reconnectPollLimit = 100;
    t.firstSendDelayMs = 400;
    t.resendIntervalMs = 500;
    t.sendsPerReconnection = 3;
    t.graceTimeMs = 3000;
    t.ackTimeoutMs = 15000;
    t.retryDelayMs = 1500;
    t.maxReconnectAttempts = 4;
    return t;
}
