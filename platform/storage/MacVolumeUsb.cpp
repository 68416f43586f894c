#include "MacVolumeUsb.h"

#include "ProcessRunner.h"

MacVolumeUsb::MacVolumeUsb(std::shared_ptr<ProcessRunner> tools, int freshForMs)
    : tools(std::move(tools)), freshForMs(freshForMs)
{
}

const std::vector<MacUsbMedia::Disk>& MacVolumeUsb::disks()
{
    if (readAt.isValid() && readAt.elapsed() < freshForMs)
        return known;
    known.clear();
    readAt.start();
    if (!tools)
        return known;
    const auto listed = tools->run("system_profiler", {"-xml", "SPUSBDataType"});
    if (listed && listed->exitCode == 0)
        known = MacUsbMedia::disksOf(listed->output);
    return known;
}

// No exception leaves the lookup: an output that cannot be held finds nothing.
UsbIds MacVolumeUsb::lookUp(const std::string& device)
try {
    const std::string name = MacUsbMedia::bsdNameOfDevice(device);
    if (name.empty())
        return {};
    for (const MacUsbMedia::Disk& disk : disks()) {
        if (disk.bsdName == name) {
            UsbIds ids;
            ids.found = true;
            ids.vendorId = QString::fromStdString(disk.vendorId);
            ids.productId = QString::fromStdString(disk.productId);
            return ids;
        }
    }
    return {};
}
catch (...) {
    return {};
}
