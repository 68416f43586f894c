#include "UpdateHandOver.h"

#include "HandOverFinish.h"
#include "VolumeFiles.h"

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
    if (!lookup.isMounted(label)) {
        if (retries < timings.maxVolumeRetries) {
            ++armedTimers;
            ++retries;
            current = State::WaitingForVolume;
            QTimer::singleShot(timings.volumeRetryIntervalMs, this, [this] { retryFired(); });
            return;
        }
        report(false);
        return;
    }

    retries = 0;
    current = State::Copying;
    const QString transferName = QString::fromLatin1(kTransferFileName);
    bool ok = copyToVolume(label, filePath);
    // A download that already carries the hand-over name is in place after the copy.
    const bool alreadyInPlace = QFileInfo(filePath).fileName() == transferName && fileName == transferName;
    if (ok && !alreadyInPlace) {
        // A "tvxxfer.tvq" left by an earlier failed attempt would make the rename fail on
        // every later try; the fresh copy is complete at this point, so the old one can go.
        ok = VolumeFiles::removeStale(lookup.mountPath(label), transferName)
             && renameOnVolume(label, fileName, transferName);
    }
    if (ok) {
        current = State::Finishing;
        ok = finish.finishHandOver(label);
    }
    report(ok);
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
