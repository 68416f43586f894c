#include "ProductionPlatform.h"

#include "InstrumentLock.h"

#include "ProductionMidi.h"
#include "ProductionSleepGuard.h"
#include "ProductionStorage.h"
#include "PlainReadableFiles.h"

Platform createProductionPlatform(const StorageTimings& storage)
{
    Platform platform;
    platform.midi = createProductionMidiBackend();
    platform.usb = createProductionUsbIdentityLookup();
    platform.volumes = createProductionVolumeList();
    platform.dismount =
        createProductionVolumeDismounter(storage.volumeLockAttempts, storage.volumeLockRetryMs);
    platform.folders = createProductionFolderOpener();
    platform.files = std::make_shared<PlainReadableFiles>();
    platform.lockFolder = InstrumentLock::defaultFolder();
    platform.sleep = createProductionSleepGuard();
    platform.appFolders = AppFolders::forThisSystem();
    return platform;
}
