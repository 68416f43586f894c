#pragma once

#include <QNetworkReply>
#include <QObject>
#include <QString>
#include <QUrl>

#include "DownloadTimings.h"
#include "UpdateDownload.h"

// The update-only edition's Downloader: reads the maker's release catalogue and downloads
// the update file it offers (see UpdateDownload). It has no fallback, no download status
// and no error log. A download that fails, a file that fails its check, a file name that
// cannot be used and a press with no catalogue end in downloadFinished(false, ...) and
// setDeviceToTransferMode(false), with the reason in plain words in failureReason.
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
    qint64 lastContentLength() const { return core.receiver().lastContentLength(); }
    qint64 lastDownloadProgress() const { return core.receiver().lastProgress(); }
    QString failureReason() const { return reason; }
    // Ends a download under way without a report (the instrument went away).
    void cancelDownload() { core.cancel(); }

    // The shared download core, for the parts both editions build on it (UpdateChoices).
    UpdateDownload& updateDownload() { return core; }

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
    void tavloReceivedVersion(QString version);

private slots:
    void onReleasesJsonFetched(QNetworkReply* reply);
    void onFileDownloaded(QNetworkReply* reply, QString fileName);
    void onReadyRead(QNetworkReply* reply);

private:
    void setReason(const QString& why);
    void fail(const QString& why);

    // A child of the Downloader, so that its open requests can be found.
    UpdateDownload core;
    QString reason;
};
