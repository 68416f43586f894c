#pragma once

#include "InterruptedUpdate.h"
#include "Presence.h"
#include "TransferFlow.h"
#include "UpdateFlow.h"

class StandInDownloader;
class StandInFileManagerBridge;
class StandInMainController;
class StandInMidiHandler;
class StandInUpdaterMainController;
class WindowDriver;

// The flows of an edition, connected to stand-ins as the edition's wiring connects them to
// the real objects, for the window tests: the window binds to the flows, the tests emit the
// stand-ins' signals. The full edition's constructor also connects the transfer flow.
class StandInFlows
{
public:
    StandInFlows(StandInMidiHandler& midi, StandInDownloader& downloader,
                 StandInMainController& controller, StandInFileManagerBridge& bridge);
    StandInFlows(StandInMidiHandler& midi, StandInDownloader& downloader,
                 StandInUpdaterMainController& controller);

    void publishTo(WindowDriver& driver);
    // The flows tell the window of their changes once per event-loop turn, from the loop:
    // this delivers the notices waiting, as the loop does once a report has been handled,
    // and nothing else that waits in it.
    void deliverNotices();

    Presence presence;
    UpdateFlow update;
    TransferFlow transfer;
    InterruptedUpdate interrupted{presence, update};

    // The step "interrupted": the look for the instrument's update volume finds it (after a
    // "found", which asks for the look).
    void updateVolumeFound() { interrupted.onUpdateVolumeWaiting(true); }

private:
    bool hasTransfer = false;
};
