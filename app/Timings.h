#pragma once

#include "CliTimings.h"
#include "DeviceTimings.h"
#include "DiagnosisTimings.h"
#include "DownloadTimings.h"
#include "FlowTimings.h"
#include "StorageTimings.h"

// Every timing of the program in one value: the wiring hands each part its share. The
// shipped programs and the demo run production(); the tests run shorter ones.
struct Timings
{
    DeviceTimings device;
    StorageTimings storage;
    DownloadTimings download;
    CliTimings cli;
    FlowTimings flow;
    DiagnosisTimings diagnosis;

    static Timings production();
};
