#pragma once

#include "StandInDownloader.h"
#include "StandInFlows.h"
#include "StandInMidiHandler.h"
#include "StandInUpdaterMainController.h"
#include "WindowDriver.h"

#include <QStringList>

// The update-only window's document with its three stand-ins published, and the steps of
// StandInSet that this edition has, played onto it:
//   found | lost | version <v> | notFinished <text>      the MidiHandler's signals
//   latest <v> | download <n> | versionCheck true|false | reason <text>
//                                                      the Downloader's
//   copy <text> | copyDone true|false | transferReason <text>
//                                                      the MainController's (progress as text)
//   click <button text> | press <objectName> | key <name> | wait <ms>
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
    // Plays one step; false, with a warning naming it, when it is malformed or names a
    // button, item or key that is not there.
    bool play(const QString& step);
    // Plays the steps in order; false at the first that fails.
    bool playAll(const QStringList& steps);
};
