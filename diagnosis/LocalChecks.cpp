#include "LocalChecks.h"

#include "DownloadFolder.h"
#include "FolderSpace.h"

CheckLines::Folder LocalChecks::folder(const QString& path, FolderSpace& space, qint64 updateBytes)
{
    CheckLines::Folder facts;
    facts.checked = true;
    facts.updateBytes = updateBytes;
    facts.path = DownloadFolder::prepareAt(path);
    if (facts.path.isEmpty())
        return facts;
    facts.writeError = space.tryWrite(facts.path);
    facts.writable = facts.writeError.isEmpty();
    facts.freeBytes = space.freeBytes(facts.path);
    return facts;
}

QList<VolumeInfo> LocalChecks::volumes(VolumeList* list)
{
    return list ? list->mountedVolumes() : QList<VolumeInfo>();
}
