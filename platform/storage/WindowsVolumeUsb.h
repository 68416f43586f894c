#pragma once

#include "UsbNameMatching.h"

#include <string>

// Windows: the USB device behind a drive-letter volume. The volume's disk number
// (IOCTL_STORAGE_GET_DEVICE_NUMBER), the present disk with that number (SetupAPI, the disk
// interface class), then its device and parents up the device tree (CM_Get_Parent), read by
// UsbDeviceChain. Plain Win32 and standard C++; never throws; anything that cannot be read is
// not found.
class WindowsVolumeUsb
{
public:
    // root as "E:/" or "E:\"; a volume mounted in a folder is not found.
    static UsbNameMatching::Result lookUp(const std::wstring& root);
};
