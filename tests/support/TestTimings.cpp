#include "TestTimings.h"

namespace TestTimings {

namespace {
int scaled(int ms)
{
    return ms / kScale > 0 ? ms / kScale : 1;
}
} // namespace

Timings fast()
{
    Timings t = Timings::production();
    DeviceTimings& d = t.device;
    for (int* ms : {&d.presencePollMs, &d.versionRequestDelayMs, &d.reconnectDelayMs,
                    &d.reconnectPollMs, &d.firstSendDelayMs, &d.resendIntervalMs, &d.graceTimeMs,
                    &d.ackTimeoutMs, &d.retryDelayMs})
        *ms = scaled(*ms);
    StorageTimings& s = t.storage;
    for (int* ms : {&s.volumeRetryIntervalMs, &s.volumePollIntervalMs, &s.macMountSettleMs,
                    &s.volumeLockRetryMs})
        *ms = scaled(*ms);
    // Whole seconds for curl; the Qt download's stall time scaled like the others.
    t.download.stallTimeoutMs = scaled(t.download.stallTimeoutMs);
    t.download.catalogueTimeoutMs = scaled(t.download.catalogueTimeoutMs);
    t.download.retryFirstDelayMs = scaled(t.download.retryFirstDelayMs);
    t.download.curlConnectTimeoutS = 2;
    t.download.curlSpeedTimeS = 2;
    t.cli.instrumentWaitMs = scaled(t.cli.instrumentWaitMs);
    t.cli.pollMs = scaled(t.cli.pollMs);
    t.flow.confirmTimeoutMs = scaled(t.flow.confirmTimeoutMs);
    t.flow.otherVersionSettleMs = scaled(t.flow.otherVersionSettleMs);
    t.diagnosis.instrumentMs = scaled(t.diagnosis.instrumentMs);
    t.diagnosis.serverMs = scaled(t.diagnosis.serverMs);
    // The storage thread's checks keep their limit: quick, but slower under the sanitizers.
    return t;
}

SimInstrument::Timings fastInstrument()
{
    SimInstrument::Timings t;
    for (int* ms : {&t.mountAfterLeavingMs, &t.rejoinAfterEjectMs, &t.applyAfterFinishMs,
                    &t.rebootMs, &t.transferRoundTripMs})
        *ms = scaled(*ms);
    return t;
}

} // namespace TestTimings
