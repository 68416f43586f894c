#pragma once

#include "BackupFlow.h"
#include "InterruptedUpdate.h"
#include "Presence.h"
#include "RestoreFlow.h"
#include "TransferFlow.h"
#include "UpdateFlow.h"

#include <memory>

class StandInDownloader;
class StandInFileManagerBridge;
class StandInMainController;
class StandInMidiHandler;
class StandInUpdaterMainController;
class WindowDriver;

// The flows of an edition, connected to stand-ins as the edition's wiring connects them to
// the real objects, for the window tests: the window binds to the flows, the tests emit the
// stand-ins' signals. The full edition's constructor also connects the transfer flow and
// makes the backup and the restore over it (the update-only edition has neither): their
// storage worker is the tests' (the workers' reports are played onto the flows), the backups
// go to kBackupsRoot, and the restore lists the three backups of backupsListed().
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
    // The full edition's only.
    std::unique_ptr<BackupFlow> backup;
    std::unique_ptr<RestoreFlow> restore;

    static const QString kBackupsRoot;
    // Three backups, newest first, as BackupList reads them from kBackupsRoot.
    static QList<BackupList::Item> backupsListed();

    // The step "interrupted": the look for the instrument's update volume finds it (after a
    // "found", which asks for the look).
    void updateVolumeFound() { interrupted.onUpdateVolumeWaiting(true); }

private:
    bool hasTransfer = false;
};
