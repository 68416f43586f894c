#pragma once

#include <QNetworkReply>
#include <QObject>
#include <QString>
#include <QUrl>

#include "DownloadTimings.h"
#include "DownloaderCore.h"

// The full edition's Downloader: reads the maker's release catalogue and downloads the
// update file it offers (see UpdateDownload). When the HTTP download or the write fails,
// the external program "curl" takes over (CurlFallback); every step of that, and a file
// name that cannot be used, is told through downloadStatus(). A file that fails its size or
// checksum check, and a press with no catalogue, end in downloadStatus(false, ...) at once.
// Every failure's reason in plain words is in failureReason. Failed requests are logged.
// Declarations over DownloaderCore, whose reports fall back to curl.
class Downloader : public QObject, public DownloaderCore
{
    Q_OBJECT
    // Why the last catalogue request or download failed, in plain words; empty before.
    Q_PROPERTY(QString failureReason READ failureReason NOTIFY failureReasonChanged)

public:
    explicit Downloader(const QUrl& serverBase, QObject* parent = nullptr);
    Downloader(const QUrl& serverBase, const DownloadTimings& timings, QObject* parent = nullptr);
    ~Downloader() override;

    Q_INVOKABLE void downloadFile() { startDownload(); }

signals:
    void downloadFinished(bool success, QString updateFilePath, QString updateFileName);
    void setDeviceToTransferMode(bool success);
    void releasesJsonFetched();
    void downloadingProgressBar(qlonglong progress);
    void latestVersionFetched(QString version);
    void versionCheck(bool success);
    void downloadStatus(bool success, QString message);
    void failureReasonChanged(QString reason);

public slots:
    // Connected to the instrument's version report; the Downloader keeps nothing of it.
    void tavloReceivedVersion(QString version) { Q_UNUSED(version); }

private slots:
    void onReleasesJsonFetched(QNetworkReply* reply) { takeCatalogueReply(reply); }
    void onFileDownloaded(QNetworkReply* reply, QString fileName) { finishFileReply(reply, fileName); }
    void onReadyRead(QNetworkReply* reply) { readFileReply(reply); }
};
