#pragma once

#include <VolumeList.h>

// The system's mounted volumes as QStorageInfo reports them. On Linux Qt reads the labels
// from /dev/disk/by-label, which udev maintains.
class StorageInfoVolumeList : public VolumeList
{
public:
    QList<VolumeInfo> mountedVolumes() override;
};
