#include "SimVolumeList.h"

SimVolumeList::SimVolumeList(SimMountTable table) : table(std::move(table)) {}

QList<VolumeInfo> SimVolumeList::mountedVolumes()
{
    QList<VolumeInfo> volumes;
    const QList<SimMountTable::Entry> entries = table.read();
    for (const SimMountTable::Entry& entry : entries) {
        VolumeInfo info;
        info.valid = true;
        info.ready = entry.ready;
        info.readOnly = entry.readOnly;
        info.displayName = entry.label;
        info.rootPath = entry.rootPath;
        info.usbChecked = true;
        info.usb.found = entry.usbFound;
        info.usb.vendorId = entry.vendorId;
        info.usb.productId = entry.productId;
        volumes.append(info);
    }
    return volumes;
}
