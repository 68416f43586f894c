#include "DownloaderCore.h"

#include "ReleaseLocation.h"
#include "UpdateFileName.h"

DownloaderCore::DownloaderCore(QObject* owner, const QUrl& serverBase,
                               const DownloadTimings& timings,
                               DownloadReports::FailedTransfer onFailure)
    : download(serverBase, owner), downloadReports(download, onFailure, timings, owner)
{
    download.setStallTimeoutMs(timings.stallTimeoutMs);
    download.setCatalogueTimeoutMs(timings.catalogueTimeoutMs);
    download.setRetries(timings.retryCount, timings.retryFirstDelayMs);
}

QUrl DownloaderCore::defaultServer()
{
    return ReleaseLocation::defaultServer();
}

void DownloaderCore::logUpdateAvailable(const QString& version)
{
    UpdateDownload::logUpdateAvailable(version);
}

bool DownloaderCore::isSafeFileName(const QString& name)
{
    return UpdateFileName::isSafe(name);
}

void DownloaderCore::finishFileReply(QNetworkReply* reply, const QString& fileName)
{
    download.receiver().finish(reply, fileName, download.localPathFor(fileName));
}
