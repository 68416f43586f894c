#pragma once

#include "MessageRecorder.h"
#include "StandInSet.h"
#include "WindowDriver.h"

#include <QStringList>

// The main window's document with the four stand-ins published, for the window tests. The
// recorder is made first and goes last, so it also hears what the engine says while it
// tears the window down.
struct MainWindowFixture
{
    MessageRecorder messages;
    StandInSet objects;
    WindowDriver driver;

    MainWindowFixture();

    // Loads the main window; false when it did not come up.
    bool load();
    // Plays the steps in order (see StandInSet); false, with a warning naming the step, at
    // the first that fails.
    bool playAll(const QStringList& steps);
};
