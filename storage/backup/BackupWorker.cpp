#include "BackupWorker.h"

#include "BackupFailureText.h"
#include "BackupWriter.h"

#include <ReadableFiles.h>
#include <StorageLog.h>
#include <VolumeLookup.h>

#include <QElapsedTimer>
#include <QThread>

#include <algorithm>

namespace {
// How often the volume list is read while waiting for the volume and during the copy.
constexpr qint64 kVolumePollMs = 100;
// Progress reports at most this often.
constexpr qint64 kProgressEveryMs = 100;
} // namespace

BackupWorker::BackupWorker(std::shared_ptr<VolumeList> volumes, std::shared_ptr<ReadableFiles> files,
                           int volumeWaitMs, QObject* parent)
    : QObject(parent), volumes(std::move(volumes)), files(std::move(files)), volumeWaitMs(volumeWaitMs)
{
}

void BackupWorker::backUp(const QString& volumeLabel, const QString& backupsRoot, const QString& firmware)
{
    const VolumeLookup lookup(volumes);
    // A cancel asked before this slot ran (it is queued) still counts; it is forgotten once the
    // backup has reported.
    auto report = [this](bool ok, bool cancelled, const QString& folder, int count, qint64 bytes,
                         qint64 linkedBytes, const QString& why) {
        cancelRequested = false;
        Q_EMIT backupFinished(ok, cancelled, folder, count, bytes, linkedBytes, why);
    };

    // The volume, waited for as the hand-over waits for the update volume.
    QElapsedTimer waited;
    waited.start();
    VolumeChoice choice = lookup.choose(volumeLabel);
    while (choice.kind() != VolumeChoice::Kind::Own) {
        if (cancelRequested)
            return report(false, true, QString(), 0, 0, 0, QString());
        const qint64 left = volumeWaitMs - waited.elapsed();
        if (left <= 0) {
            const QString why = choice.refusal().isEmpty() ? BackupFailureText::volumeNeverAppeared() : choice.refusal();
            qCWarning(lcStorage) << "backup: no volume" << volumeLabel << "after" << waited.elapsed() << "ms";
            return report(false, false, QString(), 0, 0, 0, why);
        }
        QThread::msleep(static_cast<unsigned long>(std::min(left, kVolumePollMs)));
        choice = lookup.choose(volumeLabel);
    }
    const QString root = choice.rootPath();

    QElapsedTimer sinceLook;
    sinceLook.start();
    bool present = true;
    auto check = [&](bool mustLook) {
        if (cancelRequested)
            return BackupWriter::Stop::Cancelled;
        if (mustLook || sinceLook.elapsed() >= kVolumePollMs) {
            // The same volume, at the same place: one mounted again elsewhere is another copy.
            present = lookup.mountPath(volumeLabel) == root;
            sinceLook.restart();
        }
        return present ? BackupWriter::Stop::None : BackupWriter::Stop::VolumeGone;
    };
    QElapsedTimer sinceProgress;
    bool reported = false;
    auto progress = [&](qint64 done, qint64 total) {
        if (reported && sinceProgress.elapsed() < kProgressEveryMs)
            return;
        reported = true;
        sinceProgress.start();
        Q_EMIT backupProgress(done, total);
    };
    auto sized = [this](int count, qint64 bytes) { Q_EMIT backupSized(count, bytes); };

    BackupWriter writer(*files, check, sized, progress);
    const BackupWriter::Result result =
        writer.run({root, backupsRoot, firmware, QDateTime::currentDateTime()});
    for (const QString& left : result.leftOut)
        qCInfo(lcStorage) << "backup: left out" << left;
    if (result.ok) {
        Q_EMIT backupProgress(result.bytes, result.bytes);
        qCInfo(lcStorage) << "backup: done" << result.folder << result.files << "files" << result.bytes
                          << "bytes," << result.linkedBytes << "linked";
    } else if (result.cancelled) {
        qCInfo(lcStorage) << "backup: cancelled";
    } else {
        qCWarning(lcStorage) << "backup: failed:" << result.detail;
    }
    report(result.ok, result.cancelled, result.folder, result.files, result.bytes, result.linkedBytes,
           result.cancelled ? QString() : result.why);
}
