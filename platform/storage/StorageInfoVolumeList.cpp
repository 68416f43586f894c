#include "StorageInfoVolumeList.h"

#include <QStorageInfo>

#include <utility>

StorageInfoVolumeList::StorageInfoVolumeList(UsbOfDevice usbOf) : usbOf(std::move(usbOf)) {}

QList<VolumeInfo> StorageInfoVolumeList::mountedVolumes()
{
    QList<VolumeInfo> result;
    const QList<QStorageInfo> volumes = QStorageInfo::mountedVolumes();
    result.reserve(volumes.size());
    for (const QStorageInfo& volume : volumes) {
        VolumeInfo info;
        info.valid = volume.isValid();
        info.ready = volume.isReady();
        info.readOnly = volume.isReadOnly();
        info.displayName = volume.displayName();
        info.rootPath = volume.rootPath();
        if (usbOf) {
            info.usbChecked = true;
            info.usb = usbOf(volume.device(), info.rootPath);
        }
        result.append(info);
    }
    return result;
}
