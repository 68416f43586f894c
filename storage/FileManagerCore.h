#pragma once

#include "HandOverReports.h"
#include "StorageTimings.h"
#include "UpdateHandOver.h"
#include "VolumeLookup.h"

#include <QString>

#include <memory>

class HandOverFinish;
class QObject;
class VolumeList;

// What both editions' FileManager offer besides their signals and slots: the volume look-up
// and the update hand-over's steps. Each FileManager derives from QObject first and from this
// second, hands in its own finishing step (HandOverFinish) and form of the progress, and
// relays reports() to its own signals.
class FileManagerCore
{
public:
    static constexpr const char* kUpdateVolumeLabel = UpdateHandOver::kUpdateVolumeLabel; // "tavloupd"
    static constexpr const char* kTransferFileName = UpdateHandOver::kTransferFileName;   // "tvxxfer.tvq"

    // True when the instrument's one writable volume carries exactly this label
    // (case-sensitive); a stranger with the label never counts (VolumeChoice).
    bool isDeviceMounted(const QString& deviceName) const;
    // Its root path; empty when there is none.
    QString findDeviceMountPath(const QString& deviceName) const;
    // Why no volume with this label is used although one carries it, in plain words (a
    // stranger, several of the instrument's); empty otherwise.
    QString volumeRefusal(const QString& deviceName) const;

    // One attempt of the update hand-over: look for the update volume (retrying while it is
    // missing), copy, rename, finish, report.
    void attemptUpdateTransfer();
    // A new hand-over: the retry count starts afresh, then attemptUpdateTransfer().
    void beginUpdateTransfer();

    // The instrument was unplugged: the hand-over under way ends without a report, a copy at
    // its next check (its files removed), the volume wait at once. The one call that may come
    // from another thread than the worker's: it only sets an atomic flag and queues the rest.
    void cancelHandOver() { handOver.requestCancel(); }

    // For tests and diagnostics; call on the worker thread (e.g. via a blocking queued call).
    int currentRetryCount() const { return handOver.retryCount(); }
    QString storedUpdateFilePath() const { return handOver.updateFilePath(); }
    QString storedUpdateFileName() const { return handOver.updateFileName(); }
    // Why the last hand-over failed, in plain words.
    QString lastFailureReason() const { return handOver.failureReason(); }

protected:
    // owner is the FileManager itself: the hand-over and its reports are its children and so
    // move to the worker thread with it.
    FileManagerCore(QObject* owner, std::shared_ptr<VolumeList> volumes,
                    std::shared_ptr<HandOverFinish> finish, HandOverReports::ProgressForm form,
                    const StorageTimings& timings);
    ~FileManagerCore() = default;

    // The hand-over's reports, for the FileManager's own signals.
    HandOverReports& reports() { return handOverReports; }

    // The download slot's work.
    void downloadFinished(bool success, const QString& path, const QString& name);

private:
    VolumeLookup lookup;
    std::shared_ptr<HandOverFinish> finish;
    HandOverReports handOverReports;
    UpdateHandOver handOver;
};
