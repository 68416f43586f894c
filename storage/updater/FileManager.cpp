#include "storage/updater/FileManager.h"

#include <ProgressText.h>
#include <VolumeStillPresent.h>

FileManager::FileManager(std::shared_ptr<VolumeList> volumes, const StorageTimings& timings,
                         QObject* parent)
    : QObject(parent)
    , FileManagerCore(
          this, volumes, std::make_shared<VolumeStillPresent>(volumes), timings,
          [this](qint64 copied, qint64 total) { emit copyProgress(ProgressText::of(copied, total)); },
          [this](bool success) {
              if (!success)
                  emit transferFailureReason(lastFailureReason());
              emit fileTransferComplete(success);
          })
{
    connect(&updateHandOver(), &UpdateHandOver::readBackPassed, this,
            &FileManager::readBackChecked);
}

QString FileManager::progressText(qint64 copied, qint64 total)
{
    return ProgressText::of(copied, total);
}

void FileManager::onDownloadFinished(bool success, QString updateFilePath, QString updateFileName)
{
    downloadFinished(success, updateFilePath, updateFileName);
}

void FileManager::onDeviceSetToTransferMode()
{
    beginUpdateTransfer();
}
