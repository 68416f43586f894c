#pragma once

#include <string>

class VolumeHandleApi;

// The decision logic of the Windows eject, kept apart from the Win32 calls so that it is
// built and tested on every system: open the volume, try to lock it up to `attempts` times
// `intervalMs` apart, and only once it is locked dismount it and eject the medium where
// that applies (a medium that cannot be ejected still counts as dismounted). A volume that
// never locks is in use: it is left mounted, nothing is dismounted under open files. The
// handle is closed on every path once it was opened. Standard C++ only.
class VolumeLockSequence
{
public:
    enum class Outcome {
        Dismounted, // locked, dismounted (and ejected where it applies)
        InUse,      // never locked: left mounted
        Failed,     // not opened, or the dismount was refused
    };

    static Outcome run(VolumeHandleApi& api, const std::wstring& devicePath, int attempts,
                       int intervalMs);
};
