#pragma once

#include "StorageTimings.h"
#include "VolumeLookup.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>
#include <functional>
#include <memory>

class HandOverFinish;
class VolumeList;

// The update hand-over onto the instrument's volume "tavloupd", shared by both editions:
// waits for the volume (a timed look-up every volumeRetryIntervalMs, at most
// maxVolumeRetries of them; a read-only one fails at once, and so do several of the
// instrument's; a stranger with the label is left alone and waited past, and named in the
// failure when the wait ends; in between, the volume list is read every
// volumePollIntervalMs and a volume that appears ends the wait at once), puts the downloaded file onto
// it as "tvxxfer.tvq" through VolumeUpdateWriter (free space, temporary name, sync,
// read-back check, rename), runs the edition's finishing step and reports one result, with
// the reason of a failure in failureReason().
//
// Lives on the storage worker thread with its owner; the retry timers run there and every
// report is a direct call of the callbacks on that thread.
class UpdateHandOver : public QObject
{
    Q_OBJECT

public:
    static constexpr const char* kUpdateVolumeLabel = "tavloupd";
    static constexpr const char* kTransferFileName = "tvxxfer.tvq";

    enum class State {
        Idle,             // nothing under way
        WaitingForVolume, // a retry timer is armed
        Copying,          // the file is being copied onto the volume
        Finishing,        // the file is in place; the finishing step runs
    };
    Q_ENUM(State)

    using Progress = std::function<void(qint64 copied, qint64 total)>;
    using Result = std::function<void(bool success)>;

    // finish must outlive this object.
    UpdateHandOver(std::shared_ptr<VolumeList> volumes, HandOverFinish& finish,
                   const StorageTimings& timings, Progress progress, Result result,
                   QObject* parent = nullptr);

    // Keeps the path and name of a successful download; a failed one changes nothing.
    void downloadFinished(bool success, const QString& path, const QString& name);
    // One attempt: look the volume up; when it is missing, arm a retry while retries are
    // left (the count stays at its maximum once used up), else report failure. When it is
    // there: reset the count, copy, rename, finish, report.
    void attempt();
    // A new hand-over (the instrument was just switched to update mode, also after "Try
    // again"): the retry count starts afresh, then the first attempt.
    void begin();

    // The instrument was unplugged: ends the hand-over without a report. Callable from any
    // thread (it only sets an atomic flag and queues the rest): a copy under way stops at its
    // next check and removes its own files, armed retries are dropped on the worker thread.
    void requestCancel();

    State state() const { return current; }
    int retryCount() const { return retries; }
    QString updateFilePath() const { return filePath; }
    QString updateFileName() const { return fileName; }
    // Why the last attempt failed, in plain words; empty after a success.
    QString failureReason() const { return reason; }

Q_SIGNALS:
    // The copy on the volume was read back and matched the update file (SHA-256 in hex);
    // emitted before the rename.
    void readBackPassed(QString fileName, QString sha256);

private:
    void retryFired(quint64 chain);
    void pollVolume();
    void dropWaits();
    void report(bool success);
    void failWith(const QString& why);

    VolumeLookup lookup;
    HandOverFinish& finish;
    StorageTimings timings;
    Progress progress;
    Result result;

    QString filePath;
    QString fileName;
    int retries = 0;
    // Retry timers not yet fired: each request that finds the volume missing starts its own
    // chain of look-ups, and they all count against the one retry count.
    int armedTimers = 0;
    // Bumped when a cancel drops the waits or the poll ends them: retry timers armed before
    // carry an older number and are void.
    quint64 chains = 0;
    std::atomic_bool cancelRequested{false};
    QTimer poll;
    State current = State::Idle;
    QString reason;
};
