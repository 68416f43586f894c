#pragma once

#include <string>

// The few volume controls the Windows eject uses, on one open volume handle: the real side
// is plain Win32 (WindowsVolumeDismount), the tests hand in a fake. Standard C++ only.
class VolumeHandleApi
{
public:
    virtual ~VolumeHandleApi() = default;

    // Opens the volume's device path (\\.\E:) for reading and writing.
    virtual bool open(const std::wstring& devicePath) = 0;
    // FSCTL_LOCK_VOLUME: exclusive use; refused while files on the volume are open.
    virtual bool lock() = 0;
    // FSCTL_DISMOUNT_VOLUME.
    virtual bool dismount() = 0;
    // IOCTL_STORAGE_EJECT_MEDIA (after allowing removal); false where it does not apply.
    virtual bool ejectMedia() = 0;
    // Closes the handle, which also releases the lock.
    virtual void close() = 0;
    virtual void pause(int ms) = 0;
};
