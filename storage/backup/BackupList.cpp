#include "BackupList.h"

#include "BackupFolderName.h"
#include "BackupManifest.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {
// A manifest larger than this was not written by the program (a million files is about 200 MB).
constexpr qint64 kLargestManifest = 512LL * 1024 * 1024;
} // namespace

QList<BackupList::Item> BackupList::read(const QString& backupsRoot)
{
    QList<Item> items;
    const QFileInfoList folders =
        QDir(backupsRoot).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Name);
    for (const QFileInfo& folder : folders) {
        if (BackupFolderName::isPartial(folder.fileName()))
            continue;
        QFile file(folder.absoluteFilePath() + QLatin1Char('/') + QLatin1String(BackupManifest::kFileName));
        const QFileInfo fileInfo(file.fileName());
        if (fileInfo.isSymLink() || !fileInfo.isFile() || fileInfo.size() > kLargestManifest)
            continue;
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const std::optional<BackupManifest> manifest = BackupManifest::parse(file.readAll());
        if (!manifest)
            continue;
        Item item;
        item.folder = folder.absoluteFilePath();
        item.name = folder.fileName();
        item.created = manifest->created;
        item.firmware = manifest->firmware;
        item.files = int(manifest->entries.size());
        item.bytes = manifest->totalBytes();
        items.append(item);
    }
    // Newest first; of two made in the same millisecond, the later name (" (2)") first.
    std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
        if (a.created != b.created)
            return a.created > b.created;
        return a.name > b.name;
    });
    return items;
}
