#include "DownloadTimings.h"

DownloadTimings DownloadTimings::production()
{
    DownloadTimings timings{};
    timings.stallTimeoutMs = 30000;
    timings.curlConnectTimeoutS = 15;
    timings.curlSpeedLimitBytes = 1;
    timings.curlSpeedTimeS = 30;
    timings.catalogueTimeoutMs = 120000;
    timings.retryCount = 3;
    timings.retryFirstDelayMs = 1000;
    return timings;
}
