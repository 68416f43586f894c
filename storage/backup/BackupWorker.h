#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

class ReadableFiles;
class VolumeList;

// Backs the instrument's storage up, on the storage worker thread (a child of the
// FileManager, so it moves there with it; every slot runs there, every report is a queued
// signal).
//
// backUp() finds the instrument's volume with the label (only the instrument's own, as the
// volume look-up rules; waits for it as long as the hand-over waits for the update volume),
// lists it, and copies every file into a new folder under backupsRoot named after the time
// and the firmware ("2026-12-09 14-03 firmware 1.5.2", " (2)" and on when taken). Each file is
// hashed while it is copied. A file with the same path, size and modification time as in the
// newest earlier backup under backupsRoot (whose manifest reads and whose copy of the file
// still has that size and time) is hard-linked to that copy where the file system allows,
// and copied otherwise. The manifest is written, every copied file is read back and checked
// against it, and only then does the folder get its final name: until then it is
// "<name>.partial", and a backup that fails or is cancelled removes it. Nothing half-written
// is ever left under a final name.
class BackupWorker : public QObject
{
    Q_OBJECT

public:
    BackupWorker(std::shared_ptr<VolumeList> volumes, std::shared_ptr<ReadableFiles> files,
                 int volumeWaitMs, QObject* parent = nullptr);

    // From any thread: the backup under way stops at its next check (between two blocks),
    // removes its folder and reports cancelled.
    void cancel() { cancelRequested = true; }

public Q_SLOTS:
    void backUp(const QString& volumeLabel, const QString& backupsRoot, const QString& firmware);

Q_SIGNALS:
    // The volume was listed: what is to be backed up.
    void backupSized(int files, qint64 bytes);
    // Bytes copied or linked so far (at most every 100 ms and at the end).
    void backupProgress(qint64 doneBytes, qint64 totalBytes);
    // Once per backUp(): ok with the backup's final folder, or why not in one translated
    // sentence (empty when cancelled). linkedBytes: taken over from the earlier backup.
    void backupFinished(bool ok, bool cancelled, const QString& folder, int files, qint64 bytes,
                        qint64 linkedBytes, const QString& why);

private:
    std::shared_ptr<VolumeList> volumes;
    std::shared_ptr<ReadableFiles> files;
    int volumeWaitMs;
    std::atomic_bool cancelRequested{false};
};
