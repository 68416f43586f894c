#include "DownloadReports.h"
#include "DownloadLog.h"

#include <QDebug>
#include <QMetaEnum>
#include <QNetworkRequest>

#include "CurlFallback.h"
#include "DownloadFailureText.h"
#include "UpdateDownload.h"
#include "UpdateFileCheck.h"
#include "UrlCredentials.h"

DownloadReports::DownloadReports(UpdateDownload& download, FailedTransfer onFailure,
                                 const DownloadTimings& timings, QObject* parent)
    : QObject(parent), download(download)
{
    download.relaySignalsTo(this);
    connect(&download, &UpdateDownload::checkFailed, this,
            [this](const QString&, const QString& why) { fail(why); });
    connect(&download, &UpdateDownload::noCatalogue, this, &DownloadReports::fail);
    connect(&download, &UpdateDownload::catalogueUnavailable, this, &DownloadReports::setReason);
    connect(&download, &UpdateDownload::unusableFileName, this,
            &DownloadReports::reportUnusableFileName);
    if (onFailure == FailedTransfer::FallBackToCurl)
        routeFailuresToCurl(timings);
    else
        routeFailuresToReason();
}

void DownloadReports::routeFailuresToCurl(const DownloadTimings& timings)
{
    fallback = new CurlFallback(this);
    fallback->setTimings(timings);
    connect(&download, &UpdateDownload::networkError, this, &DownloadReports::logDownloadError);
    connect(&download, &UpdateDownload::networkError, this,
            [this](QNetworkReply*, QNetworkReply::NetworkError code) { lastError = code; });
    connect(&download, &UpdateDownload::transferFailed, this,
            [this](const QString& name, const QString& why) {
                const QNetworkReply::NetworkError error = lastError;
                lastError = QNetworkReply::NoError;
                if (secondRouteAllowedAfter(error))
                    startFallback(name, why);
                else
                    fail(DownloadFailureText::untrustedWithoutSecondRoute());
            });
    connect(&download, &UpdateDownload::writeFailed, this,
            [this](const QString& name, const QString& why) {
                emit downloadFinished(false, download.filePath(), download.fileName());
                emit setDeviceToTransferMode(false);
                startFallback(name, why);
            });
    connect(fallback, &CurlFallback::failureReason, this, &DownloadReports::setReason);
    connect(fallback, &CurlFallback::status, this, &DownloadReports::downloadStatus);
    connect(fallback, &CurlFallback::ended, this,
            [this](bool success, const QString& path, const QString& name) {
                emit downloadFinished(success, path, name);
                emit setDeviceToTransferMode(success);
            });
    connect(fallback, &CurlFallback::unusableFileName, this,
            &DownloadReports::reportUnusableFileName);
}

void DownloadReports::routeFailuresToReason()
{
    const auto failed = [this](const QString&, const QString& why) { fail(why); };
    connect(&download, &UpdateDownload::transferFailed, this, failed);
    connect(&download, &UpdateDownload::writeFailed, this, failed);
}

bool DownloadReports::secondRouteAllowedAfter(QNetworkReply::NetworkError error)
{
    return error != QNetworkReply::SslHandshakeFailedError;
}

void DownloadReports::start()
{
    setReason(QString());
    lastError = QNetworkReply::NoError;
    download.download();
}

void DownloadReports::cancel()
{
    lastError = QNetworkReply::NoError;
    download.cancel();
    if (fallback)
        fallback->cancel();
}

void DownloadReports::setReason(const QString& why)
{
    if (reason == why)
        return;
    reason = why;
    emit failureReasonChanged(reason);
}

void DownloadReports::fail(const QString& why)
{
    setReason(why);
    emit downloadStatus(false, why);
    emit downloadFinished(false, download.filePath(), download.fileName());
    emit setDeviceToTransferMode(false);
}

void DownloadReports::reportUnusableFileName()
{
    // The reason under the failure text too, not only the status line; no path and no name
    // that could be taken for a file.
    const QString why = DownloadFailureText::unusableFileName();
    setReason(why);
    emit downloadStatus(false, why);
    emit downloadFinished(false, QString(), QString());
    emit setDeviceToTransferMode(false);
}

void DownloadReports::startFallback(const QString& name, const QString& why)
{
    setReason(why);
    UpdateFileCheck expected;
    expected.size = download.expectedFileSize();
    expected.sha256 = download.sha256();
    fallback->setProxy(download.proxyFor(QUrl(download.downloadUrl())));
    fallback->start(download.downloadUrl(), name, download.localPathFor(name), expected);
}

void DownloadReports::logDownloadError(QNetworkReply* reply, QNetworkReply::NetworkError code)
{
    qCWarning(lcDownload) << "DW: Download error occurred:"
               << QMetaEnum::fromType<QNetworkReply::NetworkError>().valueToKey(code)
               << "Error string:" << UrlCredentials::removedFrom(reply->errorString())
               << "HTTP Status:" << reply->attribute(QNetworkRequest::HttpStatusCodeAttribute)
               << "Headers:" << reply->rawHeaderPairs();
}
