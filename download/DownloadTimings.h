#pragma once

// Every wait of the update download, handed in by the wiring. Tests run with short values.
struct DownloadTimings
{
    // No body bytes for this long end the Qt download.
    int stallTimeoutMs;
    // curl: the longest wait for the connection, and the speed below which (in bytes per
    // second) for curlSpeedTimeS seconds it gives up.
    int curlConnectTimeoutS;
    int curlSpeedLimitBytes;
    int curlSpeedTimeS;
    // The release catalogue: the longest it may take in all (it also ends after
    // stallTimeoutMs without a byte).
    int catalogueTimeoutMs;
    // After a dropped connection or a stall, the update file is asked for again this many
    // times, each continuing what arrived; the first after retryFirstDelayMs, each further
    // one after twice the wait before it.
    int retryCount;
    int retryFirstDelayMs;

    // The program's values: 30 s without progress, curl 15 s to connect, under 1 byte/s
    // for 30 s, the catalogue 120 s in all, three more tries after 1 s, 2 s and 4 s.
    static DownloadTimings production();
};
