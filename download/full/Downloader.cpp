#include "download/full/Downloader.h"
#include "DownloadLog.h"

#include <QDebug>
#include <QMetaEnum>
#include <QNetworkRequest>

#include "ReleaseLocation.h"
#include "UpdateFileName.h"

QUrl Downloader::defaultServer()
{
    return ReleaseLocation::defaultServer();
}

Downloader::Downloader(const QUrl& serverBase, QObject* parent)
    : Downloader(serverBase, DownloadTimings::production(), parent)
{
}

Downloader::Downloader(const QUrl& serverBase, const DownloadTimings& timings, QObject* parent)
    : QObject(parent), core(serverBase, this), fallback(this)
{
    core.setStallTimeoutMs(timings.stallTimeoutMs);
    fallback.setTimings(timings);
    connect(&core, &UpdateDownload::checkFailed, this,
            [this](const QString&, const QString& why) { reportCheckFailure(why); });
    connect(&core, &UpdateDownload::catalogueUnavailable, this, &Downloader::setReason);
    connect(&core, &UpdateDownload::noCatalogue, this, &Downloader::reportCheckFailure);
    connect(&fallback, &CurlFallback::failureReason, this, &Downloader::setReason);
    core.relaySignalsTo(this);
    connect(&core, &UpdateDownload::networkError, this, &Downloader::logDownloadError);
    connect(&core, &UpdateDownload::unusableFileName, this, &Downloader::reportUnusableFileName);
    connect(&core, &UpdateDownload::transferFailed, this, &Downloader::startFallback);
    connect(&core, &UpdateDownload::writeFailed, this, &Downloader::reportWriteFailure);

    connect(&fallback, &CurlFallback::status, this, &Downloader::downloadStatus);
    connect(&fallback, &CurlFallback::ended, this,
            [this](bool success, const QString& path, const QString& name) {
                emit downloadFinished(success, path, name);
                emit setDeviceToTransferMode(success);
            });
    connect(&fallback, &CurlFallback::unusableFileName, this,
            &Downloader::reportUnusableFileName);
}

Downloader::~Downloader() = default;

void Downloader::fetchReleasesJson()
{
    core.fetchCatalogue();
}

void Downloader::downloadFile()
{
    setReason(QString());
    core.download();
}

void Downloader::cancelDownload()
{
    core.cancel();
    fallback.cancel();
}

void Downloader::setReason(const QString& why)
{
    if (reason == why)
        return;
    reason = why;
    emit failureReasonChanged(reason);
}

void Downloader::reportCheckFailure(const QString& why)
{
    setReason(why);
    emit downloadStatus(false, why);
    emit downloadFinished(false, core.filePath(), core.fileName());
    emit setDeviceToTransferMode(false);
}

void Downloader::logUpdateAvailable(const QString& version)
{
    UpdateDownload::logUpdateAvailable(version);
}

bool Downloader::isSafeFileName(const QString& name)
{
    return UpdateFileName::isSafe(name);
}

qint64 Downloader::lastContentLength() const
{
    return core.receiver().lastContentLength();
}

qint64 Downloader::lastDownloadProgress() const
{
    return core.receiver().lastProgress();
}

void Downloader::tavloReceivedVersion(QString version)
{
    Q_UNUSED(version);
}

void Downloader::onReleasesJsonFetched(QNetworkReply* reply)
{
    core.handleCatalogueReply(reply);
}

void Downloader::onFileDownloaded(QNetworkReply* reply, QString fileName)
{
    core.receiver().finish(reply, fileName, core.localPathFor(fileName));
}

void Downloader::onReadyRead(QNetworkReply* reply)
{
    core.receiver().readFrom(reply);
}

void Downloader::reportUnusableFileName()
{
    // The reason under the failure text too, not only the status line.
    setReason(tr("The update file offered by the server has an unusable name, so it was not "
                 "downloaded."));
    emit downloadStatus(false, tr("The update file offered by the server has an "
                                  "unusable name, so it was not downloaded."));
    emit downloadFinished(false, QString(), QString());
    emit setDeviceToTransferMode(false);
}

void Downloader::reportWriteFailure(const QString& name, const QString& why)
{
    emit downloadFinished(false, core.filePath(), core.fileName());
    emit setDeviceToTransferMode(false);
    startFallback(name, why);
}

void Downloader::startFallback(const QString& name, const QString& why)
{
    setReason(why);
    UpdateFileCheck expected;
    expected.size = core.expectedFileSize();
    expected.sha256 = core.sha256();
    fallback.start(core.downloadUrl(), name, core.localPathFor(name), expected);
}

void Downloader::logDownloadError(QNetworkReply* reply, QNetworkReply::NetworkError code)
{
    qCWarning(lcDownload) << "DW: Download error occurred:"
               << QMetaEnum::fromType<QNetworkReply::NetworkError>().valueToKey(code)
               << "Error string:" << reply->errorString()
               << "HTTP Status:" << reply->attribute(QNetworkRequest::HttpStatusCodeAttribute)
               << "Headers:" << reply->rawHeaderPairs();
}
