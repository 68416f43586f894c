#pragma once

#include <DeviceFolderOpener.h>
#include <StorageTimings.h>
#include <UpdateHandOver.h>
#include <VolumeEjector.h>
#include <VolumeLookup.h>

#include <QObject>
#include <QString>

#include <memory>

class FolderOpener;
class VolumeDismounter;
class VolumeList;

// The instrument's storage, handled on the storage worker thread: finds the instrument's
// volume by its label, copies the downloaded update file onto it as "tvxxfer.tvq", ejects
// the volume and opens its folders in the desktop's file browser.
//
// Created without a parent and moved to its own worker thread before any connection is
// made; every slot, the retry timer and the blocking copy run there. All traffic goes
// through queued signals, and the parts are touched on the worker thread only.
class FileManager : public QObject
{
    Q_OBJECT

public:
    static constexpr const char* kUpdateVolumeLabel = UpdateHandOver::kUpdateVolumeLabel;
    static constexpr const char* kTransferFileName = UpdateHandOver::kTransferFileName;

    FileManager(std::shared_ptr<VolumeList> volumes, std::shared_ptr<VolumeDismounter> dismounter,
                std::shared_ptr<FolderOpener> folders, const StorageTimings& timings,
                QObject* parent = nullptr);

    // True when a valid, ready, writable volume carries exactly this label (case-sensitive).
    bool isDeviceMounted(const QString& deviceName);
    // Root path of the first such volume in the system's order; empty when there is none.
    QString findDeviceMountPath(const QString& deviceName);

    // One attempt of the update hand-over: look for the update volume (retrying while it is
    // missing), copy, rename, eject, report.
    void attemptUpdateTransfer();
    // Copies sourcePath into the root of the volume under its own file name, in 4096-byte
    // chunks with one copyProgress per chunk, and makes sure the data reached the volume.
    bool copyFileToDevice(const QString& deviceName, const QString& sourcePath);
    // Renames root/fromName to root/toName; fails when toName exists already.
    bool renameFileOnDevice(const QString& deviceName, const QString& fromName, const QString& toName);
    // Dismounts the labelled volume; false when it is missing or the system refuses.
    bool ejectDevice(const QString& deviceName);

    // For tests and diagnostics; call on the worker thread (e.g. via a blocking queued call).
    int currentRetryCount() const { return handOver.retryCount(); }
    QString storedUpdateFilePath() const { return handOver.updateFilePath(); }
    QString storedUpdateFileName() const { return handOver.updateFileName(); }

signals:
    void fileTransferComplete(bool success);
    void copyProgress(int percentage);
    void ejectCompleted(bool success);

public slots:
    void onDownloadFinished(bool success, QString updateFilePath, QString updateFileName);
    void onDeviceSetToTransferMode();
    void ejectDeviceAndEmit(QString deviceName);
    void openFolderOnDevice(QString deviceName, QString relativePath);

private:
    VolumeLookup lookup;
    VolumeEjector ejector;
    DeviceFolderOpener folders;
    UpdateHandOver handOver; // a child: it moves to the worker thread with this object
};
