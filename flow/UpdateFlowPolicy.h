#pragma once

// What the two windows do differently with the same update flow. The full edition shows
// progress on a bar, dims "Start Update" while the instrument is away, and after a
// handed-over update hides the indicator and expects the instrument's reboot; the
// update-only edition writes progress on the version line, closes the update screen when
// the instrument goes, and learns of a failed download from its reason alone.
struct UpdateFlowPolicy
{
    bool progressAsText = false;
    bool leaveScreenOnLoss = false;
    bool startNeedsConnection = true;
    bool hideIndicatorOnSuccess = true;
    bool failsOnReason = false;

    static UpdateFlowPolicy fullEdition() { return {}; }
    static UpdateFlowPolicy updateOnlyEdition() { return {true, true, false, false, true}; }
};
