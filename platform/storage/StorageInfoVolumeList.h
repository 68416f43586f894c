#pragma once

#include <VolumeList.h>

#include <QByteArray>

#include <functional>

// The system's mounted volumes as QStorageInfo reports them. On Linux Qt reads the labels
// from /dev/disk/by-label, which udev maintains.
class StorageInfoVolumeList : public VolumeList
{
public:
    // The USB device behind a volume, from its device (QStorageInfo::device(), e.g.
    // "/dev/sdb1") or its root ("E:/"); never throws.
    using UsbOfDevice = std::function<UsbIds(const QByteArray& device, const QString& rootPath)>;

    // Without usbOf the system cannot tell the device behind a volume (usbChecked false).
    explicit StorageInfoVolumeList(UsbOfDevice usbOf = {});

    QList<VolumeInfo> mountedVolumes() override;

private:
    UsbOfDevice usbOf;
};
