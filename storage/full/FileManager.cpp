#include "storage/full/FileManager.h"

#include <ChunkCopier.h>

FileManager::FileManager(std::shared_ptr<VolumeList> volumes,
                         std::shared_ptr<VolumeDismounter> dismounter,
                         std::shared_ptr<FolderOpener> folders, const StorageTimings& timings,
                         QObject* parent)
    : QObject(parent)
    , FileManagerCore(
          this, volumes, std::make_shared<VolumeEjector>(volumes, dismounter), timings,
          [this](qint64 copied, qint64 total) { emit copyProgress(ChunkCopier::percentage(copied, total)); },
          [this](bool success) {
              if (!success)
                  emit transferFailureReason(lastFailureReason());
              emit fileTransferComplete(success);
          })
    , ejector(volumes, dismounter)
    , folders(volumes, std::move(folders))
{
    connect(&updateHandOver(), &UpdateHandOver::readBackPassed, this,
            &FileManager::readBackChecked);
}

bool FileManager::ejectDevice(const QString& deviceName)
{
    return ejector.eject(deviceName);
}

void FileManager::onDownloadFinished(bool success, QString updateFilePath, QString updateFileName)
{
    downloadFinished(success, updateFilePath, updateFileName);
}

void FileManager::onDeviceSetToTransferMode()
{
    beginUpdateTransfer();
}

void FileManager::ejectDeviceAndEmit(QString deviceName)
{
    emit ejectCompleted(ejector.eject(deviceName));
}

void FileManager::openFolderOnDevice(QString deviceName, QString relativePath)
{
    folders.open(deviceName, relativePath);
}
