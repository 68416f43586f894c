#pragma once

#include <string>

// Dismounts a drive-letter volume with the Win32 volume controls: opens the volume's device
// path, tries FSCTL_LOCK_VOLUME (a failed lock, e.g. because a file browser has the volume
// open, does not stop the dismount), runs FSCTL_DISMOUNT_VOLUME, whose result is the
// result, and closes the handle, which also releases the lock. Plain Win32 and standard
// C++; built for Windows only.
class WindowsVolumeDismount
{
public:
    static bool dismount(const std::wstring& root);
};
