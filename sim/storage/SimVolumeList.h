#pragma once

#include "SimMountTable.h"

#include <VolumeList.h>

// The simulated computer's list of mounted volumes, read afresh from the mount table on
// every call (on the storage worker thread).
class SimVolumeList : public VolumeList
{
public:
    explicit SimVolumeList(SimMountTable table);

    QList<VolumeInfo> mountedVolumes() override;

private:
    const SimMountTable table;
};
