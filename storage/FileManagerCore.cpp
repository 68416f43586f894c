#include "FileManagerCore.h"

#include "HandOverFinish.h"

FileManagerCore::FileManagerCore(QObject* owner, std::shared_ptr<VolumeList> volumes,
                                 std::shared_ptr<HandOverFinish> finishStep,
                                 const StorageTimings& timings, UpdateHandOver::Progress progress,
                                 UpdateHandOver::Result result)
    : lookup(volumes)
    , finish(std::move(finishStep))
    , handOver(std::move(volumes), *finish, timings, std::move(progress), std::move(result), owner)
{
}

bool FileManagerCore::isDeviceMounted(const QString& deviceName) const
{
    return lookup.isMounted(deviceName);
}

QString FileManagerCore::findDeviceMountPath(const QString& deviceName) const
{
    return lookup.mountPath(deviceName);
}

void FileManagerCore::attemptUpdateTransfer()
{
    handOver.attempt();
}

void FileManagerCore::beginUpdateTransfer()
{
    handOver.begin();
}

void FileManagerCore::downloadFinished(bool success, const QString& path, const QString& name)
{
    handOver.downloadFinished(success, path, name);
}
