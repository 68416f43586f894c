#include "Timings.h"

Timings Timings::production()
{
    return {DeviceTimings::production(), StorageTimings::production(),
            DownloadTimings::production(), CliTimings::production(), FlowTimings::production(),
            DiagnosisTimings::production()};
}
