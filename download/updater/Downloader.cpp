#include "download/updater/Downloader.h"

Downloader::Downloader(const QUrl& serverBase, QObject* parent)
    : Downloader(serverBase, DownloadTimings::production(), parent)
{
}

Downloader::Downloader(const QUrl& serverBase, const DownloadTimings& timings, QObject* parent)
    : QObject(parent)
    , DownloaderCore(this, serverBase, timings, DownloadReports::FailedTransfer::FailWithReason)
{
    reports().relaySignalsTo(this);
}

Downloader::~Downloader() = default;
