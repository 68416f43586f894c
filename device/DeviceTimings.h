#pragma once

// Every timing and count of the device link, in milliseconds where it is a time. The wiring
// hands in production(); tests hand in short ones.
struct DeviceTimings
{
    // The presence poll, while the link waits for (or watches) the instrument.
    int presencePollMs = 0;
    // From a fresh connection to the version request (full edition; the update-only edition
    // asks at once).
    int versionRequestDelayMs = 0;

    // The wait for the instrument to come back on USB after a mode switch (full edition).
    int reconnectDelayMs = 0;        // before the first look
    int reconnectPollMs = 0;         // between looks
    int reconnectPollLimit = 0;      // looks before the wait gives up
    int firstSendDelayMs = 0;        // from the reopened ports to the first send
    int resendIntervalMs = 0;        // between the sends of one reconnection
    int sendsPerReconnection = 0;    // sends before the grace time
    int graceTimeMs = 0;             // after the last send, for a late acknowledgment
    int ackTimeoutMs = 0;            // from the first reconnection's first send
    int retryDelayMs = 0;            // after a failed send, before looking again
    int maxReconnectAttempts = 0;    // failed sends that make the wait look again

    static DeviceTimings production();
};
