#include "download/updater/Downloader.h"

#include <QCoreApplication>
#include <QDebug>

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
    : QObject(parent), core(serverBase, this)
{
    core.setStallTimeoutMs(timings.stallTimeoutMs);
    core.relaySignalsTo(this);
    // No second route here: every failure ends the download with its reason.
    const auto failed = [this](const QString&, const QString& why) { fail(why); };
    connect(&core, &UpdateDownload::transferFailed, this, failed);
    connect(&core, &UpdateDownload::writeFailed, this, failed);
    connect(&core, &UpdateDownload::checkFailed, this, failed);
    connect(&core, &UpdateDownload::noCatalogue, this, &Downloader::fail);
    connect(&core, &UpdateDownload::catalogueUnavailable, this, &Downloader::setReason);
    connect(&core, &UpdateDownload::unusableFileName, this, [this] {
        // As in the full edition: no path and no name that could be taken for a file.
        setReason(QCoreApplication::translate("DownloadFailureText", "The update file offered by the server has an unusable name, "
                                 "so it was not downloaded."));
        emit downloadFinished(false, QString(), QString());
        emit setDeviceToTransferMode(false);
    });
}

void Downloader::setReason(const QString& why)
{
    if (reason == why)
        return;
    reason = why;
    emit failureReasonChanged(reason);
}

void Downloader::fail(const QString& why)
{
    setReason(why);
    emit downloadFinished(false, core.filePath(), core.fileName());
    emit setDeviceToTransferMode(false);
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

void Downloader::logUpdateAvailable(const QString& version)
{
    UpdateDownload::logUpdateAvailable(version);
}

bool Downloader::isSafeFileName(const QString& name)
{
    return UpdateFileName::isSafe(name);
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
