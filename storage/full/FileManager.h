#pragma once

#include <DeviceFolderOpener.h>
#include <FileManagerCore.h>
#include <StorageTimings.h>
#include <VolumeEjector.h>

#include <QObject>
#include <QString>

#include <memory>

class FolderOpener;
class VolumeDismounter;
class VolumeList;

// The instrument's storage, handled on the storage worker thread: finds the instrument's
// volume by its label, copies the downloaded update file onto it as "tvxxfer.tvq", ejects
// the volume and opens its folders in the desktop's file browser. The look-up and the
// hand-over's steps come from FileManagerCore; the eject ends the hand-over.
//
// Created without a parent and moved to its own worker thread before any connection is
// made; every slot, the retry timer and the blocking copy run there. All traffic goes
// through queued signals, and the parts are touched on the worker thread only. Declarations
// over FileManagerCore, with the eject as the hand-over's last step and the progress as a
// whole percentage.
class FileManager : public QObject, public FileManagerCore
{
    Q_OBJECT

public:
    FileManager(std::shared_ptr<VolumeList> volumes, std::shared_ptr<VolumeDismounter> dismounter,
                std::shared_ptr<FolderOpener> folders, const StorageTimings& timings,
                QObject* parent = nullptr);

    // Dismounts the labelled volume; false when it is missing or the system refuses.
    bool ejectDevice(const QString& deviceName) { return ejector.eject(deviceName); }

signals:
    // Whether the instrument's own update volume is mounted (an update was interrupted).
    void updateVolumeWaiting(bool present);
    void fileTransferComplete(bool success);
    // Emitted just before fileTransferComplete(false): why, in plain words.
    void transferFailureReason(QString reason);
    // The copy on the volume was read back and matched the update file, before its rename.
    void readBackChecked(QString fileName, QString sha256);
    void copyProgress(int percentage);
    void ejectCompleted(bool success);
    // Emitted before a folder opening or an eject that leaves the volume alone because it is
    // not the instrument's one volume (a stranger, several of the instrument's): why, in
    // plain words.
    void volumeRefused(QString reason);

public slots:
    void lookForUpdateVolume()
    {
        emit updateVolumeWaiting(isDeviceMounted(QString::fromLatin1(kUpdateVolumeLabel)));
    }
    void onDownloadFinished(bool success, QString updateFilePath, QString updateFileName)
    {
        downloadFinished(success, updateFilePath, updateFileName);
    }
    void onDeviceSetToTransferMode() { beginUpdateTransfer(); }
    void ejectDeviceAndEmit(QString deviceName)
    {
        tellRefusal(deviceName);
        emit ejectCompleted(ejector.eject(deviceName));
    }
    void openFolderOnDevice(QString deviceName, QString relativePath)
    {
        tellRefusal(deviceName);
        folders.open(deviceName, relativePath);
    }

private:
    void tellRefusal(const QString& deviceName)
    {
        const QString why = volumeRefusal(deviceName);
        if (!why.isEmpty())
            emit volumeRefused(why);
    }

    VolumeEjector ejector;
    DeviceFolderOpener folders;
};
