#include "VolumeTree.h"

#include "BackupManifest.h"

#include <QDir>
#include <QFileInfo>

bool VolumeTree::isSystemFolder(const QString& name)
{
    static const QStringList names = {
        QStringLiteral("System Volume Information"), QStringLiteral(".Trashes"),
        QStringLiteral(".Spotlight-V100"), QStringLiteral(".fseventsd"),
        QStringLiteral("$RECYCLE.BIN"), QStringLiteral(".TemporaryItems"),
    };
    return names.contains(name, Qt::CaseInsensitive) || name.startsWith(QLatin1String(".Trash-"));
}

qint64 VolumeTree::totalBytes() const
{
    qint64 total = 0;
    for (const File& file : found)
        total += file.size;
    return total;
}

bool VolumeTree::list(const QString& root)
{
    found.clear();
    folderPaths.clear();
    skipped.clear();
    failed.clear();
    return listFolder(root, QString());
}

bool VolumeTree::listFolder(const QString& root, const QString& relative)
{
    const QString absolute = relative.isEmpty() ? root : root + QLatin1Char('/') + relative;
    QDir folder(absolute);
    if (!folder.exists() || !QFileInfo(absolute).isReadable()) {
        failed = relative;
        return false;
    }
    // System entries too (devices, FIFOs, sockets, broken links), so that they can be noted.
    const QFileInfoList entries = folder.entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& entry : entries) {
        const QString path = relative.isEmpty() ? entry.fileName() : relative + QLatin1Char('/') + entry.fileName();
        if (entry.isSymLink() || entry.isJunction()) {
            skipped << path + QStringLiteral(" (a link, not followed)");
        } else if (entry.isDir()) {
            if (isSystemFolder(entry.fileName())) {
                skipped << path + QStringLiteral(" (the system's own folder)");
            } else if (!BackupManifest::isSafeRelativePath(path)) {
                skipped << path + QStringLiteral(" (a name a backup cannot hold)");
            } else {
                folderPaths << path;
                if (!listFolder(root, path))
                    return false;
            }
        } else if (entry.isFile()) {
            // The backup's own manifest sits at its top beside the files.
            if (relative.isEmpty() && entry.fileName().compare(QLatin1String(BackupManifest::kFileName), Qt::CaseInsensitive) == 0)
                skipped << path + QStringLiteral(" (the name of the backup's own list of files)");
            else if (!BackupManifest::isSafeRelativePath(path))
                skipped << path + QStringLiteral(" (a name a backup cannot hold)");
            else
                found.append({path, entry.size(), entry.lastModified().toMSecsSinceEpoch()});
        } else {
            skipped << path + QStringLiteral(" (not a regular file)");
        }
    }
    return true;
}
