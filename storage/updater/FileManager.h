#pragma once

#include <StorageTimings.h>
#include <UpdateHandOver.h>
#include <VolumeLookup.h>
#include <VolumeStillPresent.h>

#include <QObject>
#include <QString>

#include <memory>

class VolumeList;

// The update-only edition's storage, handled on the storage worker thread: finds the
// instrument's update volume by its label and copies the downloaded update file onto it as
// "tvxxfer.tvq". There is no eject and no folder opening: the volume stays mounted after the
// rename and is looked up once more, and the copy progress travels as text ("40%").
//
// Created without a parent and moved to its own worker thread before any connection is
// made; every slot, the retry timer and the blocking copy run there.
class FileManager : public QObject
{
    Q_OBJECT

public:
    static constexpr const char* kUpdateVolumeLabel = UpdateHandOver::kUpdateVolumeLabel;
    static constexpr const char* kTransferFileName = UpdateHandOver::kTransferFileName;

    FileManager(std::shared_ptr<VolumeList> volumes, const StorageTimings& timings,
                QObject* parent = nullptr);

    // True when a valid, ready, writable volume carries exactly this label (case-sensitive).
    bool isDeviceMounted(const QString& deviceName);
    // Root path of the first such volume in the system's order; empty when there is none.
    QString findDeviceMountPath(const QString& deviceName);

    // One attempt of the update hand-over: look for the update volume (retrying while it is
    // missing), copy, rename, look the volume up once more, report.
    void attemptUpdateTransfer();
    // Copies sourcePath into the root of the volume under its own file name, in 4096-byte
    // chunks with one copyProgress per chunk, and makes sure the data reached the volume.
    bool copyFileToDevice(const QString& deviceName, const QString& sourcePath);
    // Renames root/fromName to root/toName; fails when toName exists already.
    bool renameFileOnDevice(const QString& deviceName, const QString& fromName, const QString& toName);
    // The copy progress text: copied * 100 / total (64-bit, not clamped) followed by "%".
    static QString progressText(qint64 copied, qint64 total);

    // For tests and diagnostics; call on the worker thread (e.g. via a blocking queued call).
    int currentRetryCount() const { return handOver.retryCount(); }
    QString storedUpdateFilePath() const { return handOver.updateFilePath(); }
    QString storedUpdateFileName() const { return handOver.updateFileName(); }

signals:
    void fileTransferComplete(bool success);
    void copyProgress(QString percentage);

public slots:
    void onDownloadFinished(bool success, QString updateFilePath, QString updateFileName);
    void onDeviceSetToTransferMode();

private:
    VolumeLookup lookup;
    VolumeStillPresent stillPresent;
    UpdateHandOver handOver; // a child: it moves to the worker thread with this object
};
