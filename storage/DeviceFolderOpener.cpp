#include "DeviceFolderOpener.h"

#include <FolderOpener.h>

#include <QDir>
#include <QUrl>

DeviceFolderOpener::DeviceFolderOpener(std::shared_ptr<VolumeList> volumes,
                                       std::shared_ptr<FolderOpener> folders)
    : lookup(std::move(volumes))
    , folders(std::move(folders))
{
}

void DeviceFolderOpener::open(const QString& label, const QString& relativePath)
{
    const QString root = lookup.mountPath(label);
    if (root.isEmpty() || !folders)
        return;
    folders->openFolder(QUrl::fromLocalFile(QDir(root).filePath(relativePath)));
}
