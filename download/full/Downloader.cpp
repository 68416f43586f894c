#include "download/full/Downloader.h"

Downloader::Downloader(const QUrl& serverBase, QObject* parent)
    : Downloader(serverBase, DownloadTimings::production(), parent)
{
}

Downloader::Downloader(const QUrl& serverBase, const DownloadTimings& timings, QObject* parent)
    : QObject(parent)
    , DownloaderCore(this, serverBase, timings, DownloadReports::FailedTransfer::FallBackToCurl)
{
    reports().relaySignalsTo(this);
    connect(&reports(), &DownloadReports::downloadStatus, this, &Downloader::downloadStatus);
}

Downloader::~Downloader() = default;
