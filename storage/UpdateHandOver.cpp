#include "UpdateHandOver.h"
#include "StorageLog.h"

#include "HandOverFinish.h"
#include "StorageFailureText.h"
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
    , poll(this) // a child, so that it moves to the storage worker's thread with this object
{
    poll.setInterval(timings.volumePollIntervalMs);
    connect(&poll, &QTimer::timeout, this, &UpdateHandOver::pollVolume);
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
    const VolumeChoice choice = lookup.choose(label);
    const QString root = choice.rootPath();
    if (root.isEmpty()) {
        // The instrument's volume is there, but can never take the file.
        if (choice.kind() == VolumeChoice::Kind::ReadOnly) {
            failWith(StorageFailureText::volumeReadOnly());
            return;
        }
        // Which of several would be a guess: none is written to.
        if (choice.kind() == VolumeChoice::Kind::Several) {
            failWith(choice.refusal());
            return;
        }
        // A stranger with the label is left alone; the instrument's volume may still come.
        if (retries < timings.maxVolumeRetries) {
            ++armedTimers;
            ++retries;
            current = State::WaitingForVolume;
            const quint64 chain = chains;
            QTimer::singleShot(timings.volumeRetryIntervalMs, this,
                               [this, chain] { retryFired(chain); });
            if (timings.volumePollIntervalMs > 0 && !poll.isActive())
                poll.start();
            return;
        }
        failWith(choice.kind() == VolumeChoice::Kind::Stranger ? choice.refusal()
                                                               : StorageFailureText::volumeNeverAppeared());
        return;
    }

    retries = 0;
    current = State::Copying;
    const QString transferName = QString::fromLatin1(kTransferFileName);
    VolumeUpdateWriter::Hooks hooks;
    hooks.check = [this, label, root] {
        if (cancelRequested.load())
            return VolumeUpdateWriter::Verdict::Cancelled;
        return lookup.mountPath(label) == root ? VolumeUpdateWriter::Verdict::Continue
                                               : VolumeUpdateWriter::Verdict::Vanished;
    };
    hooks.readBackPassed = [this](const QByteArray& sha256) {
        Q_EMIT readBackPassed(QFileInfo(filePath).fileName(), QString::fromLatin1(sha256));
    };
    const QString problem =
        VolumeUpdateWriter::place(root, filePath, transferName, progress, hooks);
    if (problem == VolumeUpdateWriter::cancelledReason()) {
        qCInfo(lcStorage) << "FM: The copy onto the volume was cancelled; its files were removed";
        current = armedTimers > 0 ? State::WaitingForVolume : State::Idle;
        return;
    }
    if (!problem.isEmpty()) {
        // The volume stopped being the one to use because a second one of the instrument's
        // came (the copy's own files are removed): that is what the user must hear of.
        const VolumeChoice now = problem == StorageFailureText::volumeGoneDuringCopy()
            ? lookup.choose(label) : VolumeChoice();
        failWith(now.kind() == VolumeChoice::Kind::Several ? now.refusal() : problem);
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

void UpdateHandOver::begin()
{
    retries = 0;
    attempt();
}

void UpdateHandOver::failWith(const QString& why)
{
    reason = why;
    qCWarning(lcStorage) << "FM: The update hand-over failed:" << why;
    report(false);
}

void UpdateHandOver::retryFired(quint64 chain)
{
    if (chain != chains)
        return; // dropped by a cancel
    --armedTimers;
    attempt();
}

void UpdateHandOver::pollVolume()
{
    const VolumeChoice::Kind kind = lookup.choose(QString::fromLatin1(kUpdateVolumeLabel)).kind();
    if (kind == VolumeChoice::Kind::None || kind == VolumeChoice::Kind::Stranger)
        return;
    // The instrument's volume is there: every waiting request attempts now instead of at its
    // timer.
    poll.stop();
    const int waiting = armedTimers;
    armedTimers = 0;
    ++chains;
    for (int i = 0; i < waiting; ++i)
        attempt();
}

void UpdateHandOver::requestCancel()
{
    cancelRequested.store(true);
    QMetaObject::invokeMethod(this, [this] { dropWaits(); }, Qt::QueuedConnection);
}

void UpdateHandOver::dropWaits()
{
    // Runs after the copy that was under way when the cancel came (if any) has stopped; a
    // request queued after the cancel starts afresh.
    ++chains;
    poll.stop();
    armedTimers = 0;
    retries = 0;
    current = State::Idle;
    cancelRequested.store(false);
}

void UpdateHandOver::report(bool success)
{
    current = armedTimers > 0 ? State::WaitingForVolume : State::Idle;
    if (armedTimers == 0)
        poll.stop();
    if (result)
        result(success);
}
