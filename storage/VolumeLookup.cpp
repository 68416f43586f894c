#include "VolumeLookup.h"
#include "StorageLog.h"

#include <VolumeList.h>

VolumeLookup::VolumeLookup(std::shared_ptr<VolumeList> volumes) : volumes(std::move(volumes)) {}

bool VolumeLookup::isMounted(const QString& label) const
{
    return !mountPath(label).isEmpty();
}

QString VolumeLookup::mountPath(const QString& label) const
{
    return mountPath(label, nullptr);
}

QString VolumeLookup::mountPath(const QString& label, bool* readOnlyOnly) const
{
    if (readOnlyOnly)
        *readOnlyOnly = false;
    if (!volumes)
        return {};
    const QList<VolumeInfo> mounted = volumes->mountedVolumes();
    for (const VolumeInfo& volume : mounted) {
        if (volume.valid && volume.ready && volume.readOnly && volume.displayName == label
            && !volume.rootPath.isEmpty() && readOnlyOnly)
            *readOnlyOnly = true;
        if (!volume.valid || !volume.ready || volume.readOnly)
            continue;
        // An empty root cannot be worked on and would read as "not present" to callers.
        if (volume.displayName == label && !volume.rootPath.isEmpty()) {
            qCDebug(lcStorage, "Volume %s seen at %s", qPrintable(label), qPrintable(volume.rootPath));
            return volume.rootPath;
        }
    }
    return {};
}

