#pragma once

#include "AppFolders.h"

#include <QString>

#include <memory>

class FolderOpener;
class MidiBackend;
class ReadableFiles;
class SleepGuard;
class UsbIdentityLookup;
class VolumeDismounter;
class VolumeList;

// Everything the program needs from the operating system and the hardware. The program
// proper is written once against these seams; production and the simulated instrument
// each fill them in.
struct Platform
{
    std::shared_ptr<MidiBackend> midi;
    std::shared_ptr<UsbIdentityLookup> usb;
    std::shared_ptr<VolumeList> volumes;        // used on the storage worker thread only
    std::shared_ptr<VolumeDismounter> dismount; // used on the storage worker thread only
    std::shared_ptr<FolderOpener> folders;      // used on the storage worker thread only
    std::shared_ptr<ReadableFiles> files;       // used on the storage worker thread only
    // Where the lock lives that lets one program at a time drive the instrument (one per
    // user in production, one per simulated instrument in the tests); empty: no lock.
    QString lockFolder;
    // Keeps the computer awake while an update must not be cut off (may be absent).
    std::shared_ptr<SleepGuard> sleep;
    // The user's folders of this program; the earlier releases' folders named in it are tidied
    // up at start (OldFolders). Empty in the tests, so that nothing of the user's is touched.
    AppFolders appFolders;
};
