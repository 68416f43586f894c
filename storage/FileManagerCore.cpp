#include "FileManagerCore.h"

#include "HandOverFinish.h"

FileManagerCore::FileManagerCore(QObject* owner, std::shared_ptr<VolumeList> volumes,
                                 std::shared_ptr<HandOverFinish> finishStep,
                                 HandOverReports::ProgressForm form, const StorageTimings& timings)
    : lookup(volumes)
    , finish(std::move(finishStep))
    , handOverReports(form, owner)
    , handOver(
          std::move(volumes), *finish, timings,
          [this](qint64 copied, qint64 total) { handOverReports.progress(copied, total); },
          [this](bool success) { handOverReports.result(success, handOver.failureReason()); },
          owner)
{
    QObject::connect(&handOver, &UpdateHandOver::readBackPassed, &handOverReports,
                     &HandOverReports::readBackChecked);
}

bool FileManagerCore::isDeviceMounted(const QString& deviceName) const
{
    return lookup.isMounted(deviceName);
}

QString FileManagerCore::findDeviceMountPath(const QString& deviceName) const
{
    return lookup.mountPath(deviceName);
}

QString FileManagerCore::volumeRefusal(const QString& deviceName) const
{
    return lookup.choose(deviceName).refusal();
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
