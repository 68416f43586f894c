#include "FileManager.h"

#include <ProgressText.h>

FileManager::FileManager(std::shared_ptr<VolumeList> volumes, const StorageTimings& timings,
                         QObject* parent)
    : QObject(parent)
    , lookup(volumes)
    , stillPresent(volumes)
    , handOver(
          volumes, stillPresent, timings,
          [this](qint64 copied, qint64 total) { emit copyProgress(ProgressText::of(copied, total)); },
          [this](bool success) { emit fileTransferComplete(success); }, this)
{
}

bool FileManager::isDeviceMounted(const QString& deviceName)
{
    return lookup.isMounted(deviceName);
}

QString FileManager::findDeviceMountPath(const QString& deviceName)
{
    return lookup.mountPath(deviceName);
}

void FileManager::onDownloadFinished(bool success, QString updateFilePath, QString updateFileName)
{
    handOver.downloadFinished(success, updateFilePath, updateFileName);
}

void FileManager::onDeviceSetToTransferMode()
{
    handOver.attempt();
}

void FileManager::attemptUpdateTransfer()
{
    handOver.attempt();
}

bool FileManager::copyFileToDevice(const QString& deviceName, const QString& sourcePath)
{
    return handOver.copyToVolume(deviceName, sourcePath);
}

bool FileManager::renameFileOnDevice(const QString& deviceName, const QString& fromName,
                                     const QString& toName)
{
    return handOver.renameOnVolume(deviceName, fromName, toName);
}

QString FileManager::progressText(qint64 copied, qint64 total)
{
    return ProgressText::of(copied, total);
}
