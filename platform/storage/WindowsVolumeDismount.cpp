#include "WindowsVolumeDismount.h"

#include "WindowsDevicePath.h"

#include <windows.h>
#include <winioctl.h>

bool WindowsVolumeDismount::dismount(const std::wstring& root)
{
    const std::wstring devicePath = WindowsDevicePath::fromRoot(root);
    if (devicePath.empty())
        return false;

    HANDLE volume = CreateFileW(devicePath.c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                nullptr);
    if (volume == INVALID_HANDLE_VALUE)
        return false;

    DWORD bytesReturned = 0;
    // Exclusive use where the system grants it; the dismount goes ahead either way.
    DeviceIoControl(volume, FSCTL_LOCK_VOLUME, nullptr, 0, nullptr, 0, &bytesReturned, nullptr);
    const BOOL dismounted = DeviceIoControl(volume, FSCTL_DISMOUNT_VOLUME, nullptr, 0, nullptr, 0,
                                            &bytesReturned, nullptr);
    CloseHandle(volume);
    return dismounted != 0;
}
