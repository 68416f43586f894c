#include "FileManager.h"

#include <ChunkCopier.h>

FileManager::FileManager(std::shared_ptr<VolumeList> volumes,
                         std::shared_ptr<VolumeDismounter> dismounter,
                         std::shared_ptr<FolderOpener> folders, const StorageTimings& timings,
                         QObject* parent)
    : QObject(parent)
    , lookup(volumes)
    , ejector(volumes, std::move(dismounter))
    , folders(volumes, std::move(folders))
    , handOver(
          volumes, ejector, timings,
          [this](qint64 copied, qint64 total) { emit copyProgress(ChunkCopier::percentage(copied, total)); },
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

bool FileManager::ejectDevice(const QString& deviceName)
{
    return ejector.eject(deviceName);
}

void FileManager::ejectDeviceAndEmit(QString deviceName)
{
    emit ejectCompleted(ejector.eject(deviceName));
}

void FileManager::openFolderOnDevice(QString deviceName, QString relativePath)
{
    folders.open(deviceName, relativePath);
}
