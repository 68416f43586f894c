#include "UpdateHandOver.h"
#include "StorageLog.h"

#include "HandOverFinish.h"
#include "VolumeFiles.h"
#include "VolumeUpdateWriter.h"

#include <QDebug>

#include <QFileInfo>
#include <QTimer>

UpdateHandOver::UpdateHandOver(std::shared_ptr<VolumeList> volumes, HandOverFinish& finish,
                               const StorageTimings& timings, Progress progress, Result result,
                               QObject* parent)
    : QObject(parent)
    , lookup(std::move(volumes))
    , finish(finish)
    , timings(timings)
    , progress(std::move(progress))
    , result(std::move(result))
{
}

void UpdateHandOver::downloadFinished(bool success, const QString& path, const QString& name)
{
    if (!success)
        return;
    filePath = path;
    fileName = name;
}

void UpdateHandOver::attempt()
{
    const QString label = QString::fromLatin1(kUpdateVolumeLabel);
    bool readOnly = false;
    const QString root = lookup.mountPath(label, &readOnly);
    if (root.isEmpty()) {
        // A read-only volume with the label is there, but can never take the file.
        if (readOnly) {
            failWith(QStringLiteral("Tavlo's volume is read-only, so the update file could not "
                                    "be copied onto it."));
            return;
        }
        if (retries < timings.maxVolumeRetries) {
            ++armedTimers;
            ++retries;
            current = State::WaitingForVolume;
            QTimer::singleShot(timings.volumeRetryIntervalMs, this, [this] { retryFired(); });
            return;
        }
        failWith(QStringLiteral("Tavlo's update volume did not appear on this computer."));
        return;
    }

    retries = 0;
    current = State::Copying;
    const QString transferName = QString::fromLatin1(kTransferFileName);
    const QString problem =
        VolumeUpdateWriter::place(root, filePath, transferName, progress);
    if (!problem.isEmpty()) {
        failWith(problem);
        return;
    }
    qCInfo(lcStorage) << "FM: Read-back check passed:" << transferName << "on the volume matches"
            << QFileInfo(filePath).fileName();
    current = State::Finishing;
    if (!finish.finishHandOver(label)) {
        failWith(finish.failureReason());
        return;
    }
    reason.clear();
    report(true);
}

void UpdateHandOver::failWith(const QString& why)
{
    reason = why;
    qCWarning(lcStorage) << "FM: The update hand-over failed:" << why;
    report(false);
}

bool UpdateHandOver::copyToVolume(const QString& label, const QString& sourcePath)
{
    return VolumeFiles::copyInto(lookup.mountPath(label), sourcePath, progress);
}

bool UpdateHandOver::renameOnVolume(const QString& label, const QString& fromName, const QString& toName)
{
    return VolumeFiles::rename(lookup.mountPath(label), fromName, toName);
}

void UpdateHandOver::retryFired()
{
    --armedTimers;
    attempt();
}

void UpdateHandOver::report(bool success)
{
    current = armedTimers > 0 ? State::WaitingForVolume : State::Idle;
    if (result)
        result(success);
}
