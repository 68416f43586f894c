#pragma once

#include "VolumeLockSequence.h"

#include <string>

// Dismounts a drive-letter volume with the Win32 volume controls, in the order and with the
// decisions of VolumeLockSequence: FSCTL_LOCK_VOLUME, retried; never FSCTL_DISMOUNT_VOLUME
// without the lock; IOCTL_STORAGE_EJECT_MEDIA after the dismount. Plain Win32 and standard
// C++; built for Windows only.
class WindowsVolumeDismount
{
public:
    static VolumeLockSequence::Outcome dismount(const std::wstring& root, int lockAttempts,
                                                int lockRetryMs);
};
