#pragma once

#include <BackupManifest.h>
#include <Sha256.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>

// Backups and volumes for the restore tests: files written under a folder by their relative
// paths (folders made on the way), and a backup folder with its manifest as the backup side
// writes it.
namespace TestBackup {

constexpr qint64 kModifiedMs = 1765288980000; // 2025-12-09 14:03 UTC

inline bool writeFile(const QString& root, const QString& relative, const QByteArray& content)
{
    const QString path = QDir(root).filePath(relative);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(content) == content.size();
}

inline QByteArray read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

inline BackupManifest manifestOf(const QMap<QString, QByteArray>& files)
{
    BackupManifest manifest;
    manifest.firmware = QStringLiteral("1.5.2");
    manifest.created = QDateTime::fromMSecsSinceEpoch(kModifiedMs + 60000, Qt::UTC);
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        BackupManifest::Entry entry;
        entry.path = it.key();
        entry.size = it.value().size();
        entry.modifiedMs = kModifiedMs;
        entry.sha256 = Sha256::hash(it.value()).toHex();
        manifest.entries.append(entry);
    }
    return manifest;
}

inline bool writeManifest(const QString& folder, const BackupManifest& manifest)
{
    QFile file(QDir(folder).filePath(QString::fromLatin1(BackupManifest::kFileName)));
    const QByteArray json = manifest.toJson();
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(json) == json.size();
}

// The files and their manifest; false when anything could not be written.
inline bool make(const QString& folder, const QMap<QString, QByteArray>& files)
{
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        if (!writeFile(folder, it.key(), it.value()))
            return false;
    }
    return writeManifest(folder, manifestOf(files));
}

// Every file under root (links too, not followed), relative, sorted; hidden ones included.
inline QStringList filesUnder(const QString& root)
{
    QStringList found;
    const QDir dir(root);
    for (const QFileInfo& info :
         dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        if (info.isDir() && !info.isSymLink()) {
            for (const QString& inner : filesUnder(info.filePath()))
                found.append(info.fileName() + QLatin1Char('/') + inner);
        } else {
            found.append(info.fileName());
        }
    }
    found.sort();
    return found;
}

} // namespace TestBackup
