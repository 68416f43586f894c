#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include "RestorePlan.h"

#include <atomic>
#include <memory>
#include <optional>

class ReadableFiles;
class VolumeList;

// Puts a backup back onto the instrument's volume, on the storage worker thread (a child of
// the FileManager, as BackupWorker).
//
// checkBackup() reads the backup's manifest and every file it names, before the instrument is
// touched: a backup whose files no longer match it is refused, naming them.
// planRestore() finds the instrument's volume (its own only, waited for as BackupWorker does)
// and compares it with the backup: the files that differ (size, or bytes) and the files the
// instrument no longer has. Files that only the instrument has are counted and left alone.
// restore() writes exactly those files: each through a temporary name beside it, checked
// against the manifest while read from the backup, synced, read back from the volume and
// compared, then renamed over the old one. A volume that fills up, vanishes, or a cancel
// leaves every file either as it was or as in the backup (a temporary file is removed), and
// says so. restore() writes the files of the last plan made for the same backup and volume
// (what the user was shown; the writing checks each against the manifest read then), or plans
// anew when there is none.
class RestoreWorker : public QObject
{
    Q_OBJECT

  public:
    RestoreWorker(std::shared_ptr<VolumeList> volumes, std::shared_ptr<ReadableFiles> files,
                  int volumeWaitMs, QObject* parent = nullptr);

    // From any thread: the restore under way stops at its next check and reports cancelled; a
    // check or plan under way stops between two files and reports not ok with no reason. A
    // cancel while nothing runs applies to the next call.
    void cancel() { cancelRequested = true; }

  public Q_SLOTS:
    void checkBackup(const QString& backupFolder);
    void planRestore(const QString& backupFolder, const QString& volumeLabel);
    void restore(const QString& backupFolder, const QString& volumeLabel);

  Q_SIGNALS:
    // ok, or the files that do not match (relative paths) and why in one translated sentence.
    void backupChecked(bool ok, const QStringList& badFiles, const QString& why);
    // changed: on the instrument and different from the backup; missing: in the backup only;
    // onlyOnInstrument: how many files the backup does not have (left alone); bytes: to write.
    void restorePlanned(bool ok, const QStringList& changed, const QStringList& missing,
                        int onlyOnInstrument, qint64 bytes, const QString& why);
    void restoreProgress(qint64 doneBytes, qint64 totalBytes);
    void restoreFinished(bool ok, bool cancelled, int filesWritten, const QString& why);

  private:
    struct Planned
    {
        QString folder;
        QString label;
        QString root;
        RestorePlan plan;
    };

    // The instrument's volume, waited for up to volumeWaitMs; empty with why (empty when
    // cancelled) when it does not come.
    QString waitForVolume(const QString& label, QString* why);
    // Reads the manifest, waits for the volume and compares; kept as lastPlan.
    std::optional<RestorePlan> makePlan(const QString& backupFolder, const QString& label,
                                        QString* why);

    std::shared_ptr<VolumeList> volumes;
    std::shared_ptr<ReadableFiles> files;
    int volumeWaitMs;
    std::atomic_bool cancelRequested{false};
    std::optional<Planned> lastPlan;
};
