#pragma once

#include "UsbNameMatching.h"

#include <string>
#include <vector>

// Windows: the USB identity of a disk from the instance IDs of its device and its parents,
// as the configuration manager gives them going up ("USBSTOR\DISK&VEN_...\...",
// "USB\VID_1D6B&PID_0104&MI_00\...", "USB\VID_1D6B&PID_0104\...", "USB\ROOT_HUB30\...", ...).
// Plain standard C++, built and tested on every system.
class UsbDeviceChain
{
public:
    // The vendor and product of the first "USB\" entry (the letters in any case) that names
    // both; not found when no entry does (a disk on SATA, NVMe, a virtual disk).
    static UsbNameMatching::Result identityOf(const std::vector<std::wstring>& instanceIds);
};
