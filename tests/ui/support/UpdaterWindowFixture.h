#pragma once

#include "StandInDownloader.h"
#include "StandInMidiHandler.h"
#include "StandInUpdaterMainController.h"
#include "WindowDriver.h"

// The update-only window's document with its three stand-ins published.
struct UpdaterWindowFixture
{
    StandInMidiHandler midi;
    StandInDownloader downloader;
    StandInUpdaterMainController controller;
    WindowDriver driver;

    UpdaterWindowFixture();

    // Loads the update-only window; false when it did not come up.
    bool load();
};
