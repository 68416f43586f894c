#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The files of the instrument's volume to back up, listed from its root: every regular file
// in every folder, by its path relative to the root ("/"-separated), with its size and
// modification time. Symbolic links (to files or folders), devices, FIFOs and sockets are
// never followed or copied, and neither are the folders systems keep on a drive for
// themselves ("System Volume Information", ".Trashes", ".Spotlight-V100", ".fseventsd",
// "$RECYCLE.BIN", ".TemporaryItems", ".Trash-*"); what was left out is noted. A name no
// backup can hold (see BackupManifest::isSafeRelativePath), and a file at the top named like
// the backup's own manifest, are left out and noted as well.
class VolumeTree
{
public:
    struct File
    {
        QString path;
        qint64 size = 0;
        qint64 modifiedMs = 0;
    };

    // False when a folder could not be listed; failedFolder then names it (relative path,
    // empty for the root).
    bool list(const QString& root);

    const QList<File>& files() const { return found; }
    // Folders below the root, relative, parents before their children (empty ones too).
    const QStringList& folders() const { return folderPaths; }
    // What was left out, each as "relative path (why)", for the log.
    const QStringList& leftOut() const { return skipped; }
    QString failedFolder() const { return failed; }
    qint64 totalBytes() const;

    static bool isSystemFolder(const QString& name);

private:
    bool listFolder(const QString& root, const QString& relative);

    QList<File> found;
    QStringList folderPaths;
    QStringList skipped;
    QString failed;
};
