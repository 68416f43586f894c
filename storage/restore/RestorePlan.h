#pragma once

#include <BackupManifest.h>

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class ReadableFiles;

// What a restore is to write: the volume's files compared with a backup's manifest.
//
// A file of the backup is changed when the volume holds something else at its path (a file
// of another size, or of the same size with another SHA-256, read through ReadableFiles; a
// file that cannot be read; a link, which is never followed; a folder), and missing when the
// volume has nothing there. Files only the volume has are counted and left alone. The folders
// the systems keep on a drive for themselves ("System Volume Information", ".Trashes",
// ".Spotlight-V100", ".fseventsd" and others: VolumeTree::isSystemFolder) are not looked into,
// as a backup skips them. Links on the volume are never followed, neither to a file nor into a
// folder.
struct RestorePlan
{
    QStringList changed; // relative paths, in the manifest's order
    QStringList missing;
    int onlyOnInstrument = 0;
    qint64 bytes = 0;                     // of the files to write
    QList<BackupManifest::Entry> toWrite; // changed and missing, in the manifest's order
    bool cancelled = false;               // the comparison stopped early: the plan is not whole

    // cancelled is asked between two files.
    static RestorePlan make(const QString& volumeRoot, const BackupManifest& manifest,
                            const ReadableFiles& files,
                            const std::function<bool()>& cancelled = {});
};
