#pragma once

// The time limits of the computer's checks (one value for all, injected with Timings).
struct DiagnosisTimings
{
    // For the instrument, once its ports are seen, to report its firmware version.
    int instrumentMs = 0;
    // For the release server to answer the catalogue request.
    int serverMs = 0;
    // For the download folder's and the volumes' checks on the storage thread (which may be
    // busy copying: then they are said to be late, not failed).
    int localMs = 0;

    static DiagnosisTimings production();
};
