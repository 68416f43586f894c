#pragma once

#include "MacUsbMedia.h"
#include "UsbIdentityLookup.h"

#include <QElapsedTimer>
#include <QString>

#include <memory>
#include <string>
#include <vector>

class ProcessRunner;

// macOS: the USB device behind a volume, from the disk list of
// "system_profiler -xml SPUSBDataType". One listing of the volumes asks for each volume in
// turn, so the list is read once and kept for freshForMs; a tool that cannot run gives "not
// found" for every volume. Main thread only.
class MacVolumeUsb
{
public:
    MacVolumeUsb(std::shared_ptr<ProcessRunner> tools, int freshForMs);

    // device: the volume's device as QStorageInfo gives it, e.g. "/dev/disk4s1".
    UsbIds lookUp(const std::string& device);

private:
    const std::vector<MacUsbMedia::Disk>& disks();

    std::shared_ptr<ProcessRunner> tools;
    int freshForMs;
    QElapsedTimer readAt;
    std::vector<MacUsbMedia::Disk> known;
};
