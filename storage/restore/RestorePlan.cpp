#include "RestorePlan.h"

#include <ReadableFiles.h>
#include <Sha256.h>
#include <VolumeTree.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace {

// Whether the volume's file at path is the backup's entry, byte for byte: a plain file
// (never a link), readable, of its size and SHA-256.
bool sameAsBackup(const QString& path, const BackupManifest::Entry& entry,
                  const ReadableFiles& files)
{
    const QFileInfo info(path);
    if (info.isSymLink() || info.isJunction() || !info.isFile() || info.size() != entry.size)
        return false;
    QFile file(path);
    if (!files.openForReading(file, nullptr))
        return false;
    Sha256 hash;
    if (!hash.addData(file))
        return false;
    return hash.result().toHex() == entry.sha256.toLower();
}

// Whether anything (a file, a folder, a link, even a broken one) holds the path.
bool somethingAt(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink() || info.isJunction();
}

// Whether a folder on the way from the root to the relative path is a link or not a folder:
// what lies beyond it is not the volume's own.
bool throughLinkOrFile(const QString& root, const QString& relative)
{
    const QStringList parts = relative.split(QLatin1Char('/'));
    QString path = root;
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        path += QLatin1Char('/') + parts.at(i);
        const QFileInfo info(path);
        if (info.isSymLink() || info.isJunction())
            return true;
        if (!info.exists())
            return false;
        if (!info.isDir())
            return true;
    }
    return false;
}

// The relative paths of every file (and link) on the volume, links not followed, the
// systems' folders left out.
QStringList volumeFiles(const QString& root)
{
    QStringList found;
    QStringList folders{QString()};
    const QDir::Filters filter =
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    while (!folders.isEmpty()) {
        const QString relative = folders.takeLast();
        QDirIterator it(relative.isEmpty() ? root : root + QLatin1Char('/') + relative, filter);
        while (it.hasNext()) {
            it.next();
            const QFileInfo info = it.fileInfo();
            const QString path = relative.isEmpty() ? info.fileName()
                                                    : relative + QLatin1Char('/') + info.fileName();
            if (info.isDir() && !info.isSymLink() && !info.isJunction()) {
                if (!VolumeTree::isSystemFolder(info.fileName()))
                    folders.append(path);
                continue;
            }
            found.append(path);
        }
    }
    return found;
}

} // namespace

RestorePlan RestorePlan::make(const QString& volumeRoot, const BackupManifest& manifest,
                              const ReadableFiles& files, const std::function<bool()>& cancelled)
{
    RestorePlan plan;
    QString root = QDir::cleanPath(volumeRoot);
    if (root.endsWith(QLatin1Char('/')))
        root.chop(1);
    QSet<QString> inBackup;
    for (const BackupManifest::Entry& entry : manifest.entries) {
        if (cancelled && cancelled()) {
            plan.cancelled = true;
            return plan;
        }
        inBackup.insert(entry.path);
        if (!BackupManifest::isSafeRelativePath(entry.path))
            continue; // parse() refuses such a manifest; nothing is written for it here
        const QString path = root + QLatin1Char('/') + entry.path;
        // Behind a linked folder is not the volume: as far as the volume goes, it is missing
        // (the writer refuses to write through the link).
        const bool reachable = !throughLinkOrFile(root, entry.path);
        if (reachable && somethingAt(path)) {
            if (sameAsBackup(path, entry, files))
                continue;
            plan.changed.append(entry.path);
        } else {
            plan.missing.append(entry.path);
        }
        plan.toWrite.append(entry);
        plan.bytes += entry.size;
    }
    for (const QString& path : volumeFiles(root)) {
        if (!inBackup.contains(path))
            ++plan.onlyOnInstrument;
    }
    return plan;
}
