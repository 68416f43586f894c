#include "ProductionPlatform.h"

#include "ProductionMidi.h"
#include "ProductionStorage.h"

Platform createProductionPlatform()
{
    Platform platform;
    platform.midi = createProductionMidiBackend();
    platform.usb = createProductionUsbIdentityLookup();
    platform.volumes = createProductionVolumeList();
    platform.dismount = createProductionVolumeDismounter();
    platform.folders = createProductionFolderOpener();
    return platform;
}
