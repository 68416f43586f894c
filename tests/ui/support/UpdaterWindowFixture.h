#pragma once

#include "StandInDownloader.h"
#include "StandInFlows.h"
#include "StandInMidiHandler.h"
#include "StandInUpdaterMainController.h"
#include "WindowDriver.h"

// The update-only window's document with its three stand-ins published.
struct UpdaterWindowFixture
{
    StandInMidiHandler midi;
    StandInDownloader downloader;
    StandInUpdaterMainController controller;
    StandInFlows flows{midi, downloader, controller};
    WindowDriver driver;

    UpdaterWindowFixture();

    // Loads the update-only window; false when it did not come up.
    bool load();
};
