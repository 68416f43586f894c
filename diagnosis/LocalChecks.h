#pragma once

#include "CheckLines.h"
#include "VolumeList.h"

#include <QList>
#include <QString>

class FolderSpace;

// The computer check's looks at this computer's files: the download folder and the mounted
// volumes. Called on the storage thread (where the volume list is used); they block.
namespace LocalChecks {

// Prepares the download folder as the downloads do (DownloadFolder), then tries a small file
// in it and reads the free space. updateBytes: the size of the update on offer, -1 unknown.
CheckLines::Folder folder(const QString& path, FolderSpace& space, qint64 updateBytes);

// The mounted volumes, fresh (none without a list).
QList<VolumeInfo> volumes(VolumeList* list);

} // namespace LocalChecks
