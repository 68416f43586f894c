#pragma once

#include <QNetworkReply>
#include <QObject>
#include <QString>
#include <QUrl>

#include "CurlFallback.h"
#include "DownloadTimings.h"
#include "UpdateDownload.h"

// The full edition's Downloader: reads the maker's release catalogue and downloads the
// update file it offers (see UpdateDownload). When the HTTP download or the write fails,
// the external program "curl" takes over (CurlFallback); every step of that, and a file
// name that cannot be used, is told through downloadStatus(). A file that fails its size or
// checksum check, and a press with no catalogue, end in downloadStatus(false, ...) at once.
// Every failure's reason in plain words is in failureReason. Failed requests are logged.
class Downloader : public QObject
{
    Q_OBJECT
    // Why the last catalogue request or download failed, in plain words; empty before.
    Q_PROPERTY(QString failureReason READ failureReason NOTIFY failureReasonChanged)

public:
    // The maker's download server; the catalogue lies at /releases/releases.json on it.
    static QUrl defaultServer();

    explicit Downloader(const QUrl& serverBase, QObject* parent = nullptr);
    Downloader(const QUrl& serverBase, const DownloadTimings& timings, QObject* parent = nullptr);
    ~Downloader() override;

    // Requests the release catalogue once; the reply arrives on onReleasesJsonFetched.
    void fetchReleasesJson();

    Q_INVOKABLE void downloadFile();

    // The update availability log: "DW: Update available!" and the version just read.
    static void logUpdateAvailable(const QString& version);

    // True when a name from the catalogue can be used as a local file name as it stands.
    static bool isSafeFileName(const QString& name);

    // Read-only views of the state, for the callers that need to inspect it.
    QString currentDownloadUrl() const { return core.downloadUrl(); }
    QString currentFileName() const { return core.fileName(); }
    QString currentLatestVersion() const { return core.latestVersion(); }
    QString currentTotalFileSize() const { return core.totalFileSize(); }
    QString currentDownloadDir() const { return core.downloadDir(); }
    QString currentFilePath() const { return core.filePath(); }
    qint64 lastContentLength() const;
    qint64 lastDownloadProgress() const;
    QString failureReason() const { return reason; }
    // Ends a download under way without a report (the instrument went away).
    void cancelDownload();

    // The shared download core, for the parts both editions build on it (UpdateChoices).
    UpdateDownload& updateDownload() { return core; }

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
    void tavloReceivedVersion(QString version);

private slots:
    void onReleasesJsonFetched(QNetworkReply* reply);
    void onFileDownloaded(QNetworkReply* reply, QString fileName);
    void onReadyRead(QNetworkReply* reply);

private:
    void reportUnusableFileName();
    void reportWriteFailure(const QString& name, const QString& why);
    void reportCheckFailure(const QString& why);
    void startFallback(const QString& name, const QString& why);
    void setReason(const QString& why);
    static void logDownloadError(QNetworkReply* reply, QNetworkReply::NetworkError code);

    // Children of the Downloader, so that its open requests and curl runs can be found.
    UpdateDownload core;
    CurlFallback fallback;
    QString reason;
};
