#pragma once

#include <FileManagerCore.h>
#include <ProgressText.h>
#include <StorageTimings.h>

#include <QObject>
#include <QString>

#include <memory>

class VolumeList;

// The update-only edition's storage, handled on the storage worker thread: finds the
// instrument's update volume by its label and copies the downloaded update file onto it as
// "tvxxfer.tvq". There is no eject and no folder opening: the volume stays mounted after the
// rename and is looked up once more (VolumeStillPresent), and the copy progress travels as
// text ("40%"). Declarations over FileManagerCore, which holds the look-up and the
// hand-over's steps.
//
// Created without a parent and moved to its own worker thread before any connection is
// made; every slot, the retry timer and the blocking copy run there.
class FileManager : public QObject, public FileManagerCore
{
    Q_OBJECT

public:
    FileManager(std::shared_ptr<VolumeList> volumes, const StorageTimings& timings,
                QObject* parent = nullptr);

    // The copy progress text: copied * 100 / total (64-bit, not clamped) followed by "%".
    static QString progressText(qint64 copied, qint64 total) { return ProgressText::of(copied, total); }

signals:
    // Whether the instrument's own update volume is mounted (an update was interrupted).
    void updateVolumeWaiting(bool present);
    void fileTransferComplete(bool success);
    // Emitted just before fileTransferComplete(false): why, in plain words.
    void transferFailureReason(QString reason);
    // The copy on the volume was read back and matched the update file, before its rename.
    void readBackChecked(QString fileName, QString sha256);
    void copyProgress(QString percentage);

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
};
