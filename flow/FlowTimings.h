#pragma once

// The flows' own waits, in milliseconds: after an update is handed over, the wait for the
// instrument to come back and report the firmware it runs.
struct FlowTimings
{
    // From the handed-over update to the end of the wait when no report names the firmware
    // that was installed. Applying an update takes several minutes and may reboot the
    // instrument more than once.
    int confirmTimeoutMs = 0;
    // After a report of another firmware: how long a further reboot may still bring the
    // installed one before the update counts as not applied.
    int otherVersionSettleMs = 0;

    static FlowTimings production() { return {600000, 90000}; }
};
