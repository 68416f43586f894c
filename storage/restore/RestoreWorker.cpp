#include "RestoreWorker.h"

#include "BackupCheck.h"
#include "RestoreFailureText.h"
#include "RestoreWriter.h"

#include <StorageLog.h>
#include <VolumeLookup.h>

#include <QElapsedTimer>
#include <QThread>

namespace {
constexpr int kVolumePollMs = 50;
constexpr qint64 kProgressEveryMs = 100;
} // namespace

RestoreWorker::RestoreWorker(std::shared_ptr<VolumeList> volumes,
                             std::shared_ptr<ReadableFiles> files, int volumeWaitMs,
                             QObject* parent)
    : QObject(parent), volumes(std::move(volumes)), files(std::move(files)),
      volumeWaitMs(volumeWaitMs)
{
}

QString RestoreWorker::waitForVolume(const QString& label, QString* why)
{
    const VolumeLookup lookup(volumes);
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        const VolumeChoice choice = lookup.choose(label);
        if (choice.kind() == VolumeChoice::Kind::Own)
            return choice.rootPath();
        // Several of the instrument's volumes do not sort themselves out by waiting.
        if (choice.kind() == VolumeChoice::Kind::Several || cancelRequested ||
            waited.elapsed() >= volumeWaitMs) {
            if (!cancelRequested) {
                *why = choice.refusal();
                if (why->isEmpty())
                    *why = choice.kind() == VolumeChoice::Kind::ReadOnly
                               ? RestoreFailureText::volumeReadOnly()
                               : RestoreFailureText::volumeNotFound();
            }
            return QString();
        }
        QThread::msleep(kVolumePollMs);
    }
}

void RestoreWorker::checkBackup(const QString& backupFolder)
{
    const BackupCheck::Result result =
        BackupCheck::run(backupFolder, [this] { return bool(cancelRequested); });
    cancelRequested = false;
    if (!result.ok())
        qCWarning(lcStorage, "Restore: the backup %s did not pass its check (%d file(s) differ) %s",
                  qPrintable(backupFolder), int(result.badFiles.size()), qPrintable(result.detail));
    emit backupChecked(result.ok(), result.badFiles, result.sentence());
}

void RestoreWorker::planRestore(const QString& backupFolder, const QString& volumeLabel)
{
    lastPlan.reset();
    QString why;
    const std::optional<RestorePlan> plan = makePlan(backupFolder, volumeLabel, &why);
    cancelRequested = false;
    if (!plan) {
        emit restorePlanned(false, {}, {}, 0, 0, why);
        return;
    }
    qCInfo(lcStorage,
           "Restore plan from %s: %d changed, %d missing, %d only on the instrument, %lld bytes",
           qPrintable(backupFolder), int(plan->changed.size()), int(plan->missing.size()),
           plan->onlyOnInstrument, plan->bytes);
    emit restorePlanned(true, plan->changed, plan->missing, plan->onlyOnInstrument, plan->bytes,
                        QString());
}

std::optional<RestorePlan> RestoreWorker::makePlan(const QString& backupFolder,
                                                   const QString& label, QString* why)
{
    const BackupCheck::Result read = BackupCheck::readManifest(backupFolder);
    if (!read.ok()) {
        *why = read.sentence();
        return std::nullopt;
    }
    const QString root = waitForVolume(label, why);
    if (root.isEmpty())
        return std::nullopt;
    RestorePlan plan =
        RestorePlan::make(root, *read.manifest, *files, [this] { return bool(cancelRequested); });
    if (plan.cancelled)
        return std::nullopt;
    lastPlan = Planned{backupFolder, label, root, plan};
    return plan;
}

void RestoreWorker::restore(const QString& backupFolder, const QString& volumeLabel)
{
    // The files the user was shown, when the plan was made for this backup and volume; a
    // fresh plan otherwise.
    QString why;
    QString root = waitForVolume(volumeLabel, &why);
    std::optional<RestorePlan> plan;
    if (!root.isEmpty() && lastPlan && lastPlan->folder == backupFolder &&
        lastPlan->label == volumeLabel && lastPlan->root == root)
        plan = lastPlan->plan;
    else if (!root.isEmpty())
        plan = makePlan(backupFolder, volumeLabel, &why);
    lastPlan.reset();
    if (!plan) {
        const bool cancelled = cancelRequested;
        cancelRequested = false;
        emit restoreFinished(false, cancelled, 0, cancelled ? QString() : why);
        return;
    }

    const VolumeLookup lookup(volumes);
    RestoreWriter::Hooks hooks;
    hooks.check = [&]() {
        if (cancelRequested)
            return RestoreWriter::Verdict::Cancelled;
        return lookup.mountPath(volumeLabel) == root ? RestoreWriter::Verdict::Continue
                                                     : RestoreWriter::Verdict::Vanished;
    };
    QElapsedTimer sinceReport;
    hooks.progress = [&](qint64 done, qint64 total) {
        if (sinceReport.isValid() && sinceReport.elapsed() < kProgressEveryMs && done < total)
            return;
        sinceReport.start();
        emit restoreProgress(done, total);
    };
    const RestoreWriter::Result result = RestoreWriter::write(root, backupFolder, *plan, hooks);
    cancelRequested = false;
    qCInfo(lcStorage, "Restore from %s: %d of %d file(s) written%s %s", qPrintable(backupFolder),
           int(result.written.size()), int(plan->toWrite.size()),
           result.cancelled ? ", cancelled" : "", qPrintable(result.why));
    emit restoreFinished(result.ok, result.cancelled, int(result.written.size()), result.why);
}
