#include "Downloader.h"

#include <QDebug>

#include "ReleaseLocation.h"
#include "UpdateFileName.h"

QUrl Downloader::defaultServer()
{
    return ReleaseLocation::defaultServer();
}

Downloader::Downloader(const QUrl& serverBase, QObject* parent)
    : QObject(parent), core(serverBase, this)
{
    core.relaySignalsTo(this);
    // An unusable file name, a failed transfer and a failed write end silently here: nothing
    // is fetched again, nothing is announced.
}

Downloader::~Downloader() = default;

void Downloader::fetchReleasesJson()
{
    core.fetchCatalogue();
}

void Downloader::downloadFile()
{
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
