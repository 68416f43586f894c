#include "FakeVolumes.h"

VolumeInfo FakeVolumes::writable(const QString& label, const QString& root)
{
    VolumeInfo info;
    info.valid = true;
    info.ready = true;
    info.readOnly = false;
    info.displayName = label;
    info.rootPath = root;
    return info;
}

QList<VolumeInfo> FakeVolumes::mountedVolumes()
{
    ++calls;
    return volumes;
}
