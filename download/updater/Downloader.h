#pragma once

#include <QNetworkReply>
#include <QObject>
#include <QString>
#include <QUrl>

#include "DownloadTimings.h"
#include "DownloaderCore.h"

// The update-only edition's Downloader: reads the maker's release catalogue and downloads
// the update file it offers (see UpdateDownload). It has no fallback, no download status
// and no error log. A download that fails, a file that fails its check, a file name that
// cannot be used and a press with no catalogue end in downloadFinished(false, ...) and
// setDeviceToTransferMode(false), with the reason in plain words in failureReason.
// Declarations over DownloaderCore, whose reports end a failed transfer with its reason.
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
    void failureReasonChanged(QString reason);

public slots:
    // Connected to the instrument's version report; the Downloader keeps nothing of it.
    void tavloReceivedVersion(QString version) { Q_UNUSED(version); }

private slots:
    void onReleasesJsonFetched(QNetworkReply* reply) { takeCatalogueReply(reply); }
    void onFileDownloaded(QNetworkReply* reply, QString fileName) { finishFileReply(reply, fileName); }
    void onReadyRead(QNetworkReply* reply) { readFileReply(reply); }
};
