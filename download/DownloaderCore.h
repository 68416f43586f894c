#pragma once

#include <QNetworkReply>
#include <QString>
#include <QUrl>

#include "DownloadReports.h"
#include "DownloadTimings.h"
#include "UpdateDownload.h"

class QObject;

// What both editions' Downloader offer besides their signals and slots: the catalogue
// request, the download's state, the cancel, and the reason of the last failure. Each
// Downloader derives from QObject first and from this second, hands in what follows a failed
// transfer (DownloadReports::FailedTransfer) and relays reports() to its own signals.
class DownloaderCore
{
public:
    // The maker's download server; the catalogue lies at /releases/releases.json on it.
    static QUrl defaultServer();
    // The update availability log: "DW: Update available!" and the version just read.
    static void logUpdateAvailable(const QString& version);
    // True when a name from the catalogue can be used as a local file name as it stands.
    static bool isSafeFileName(const QString& name);

    // Requests the release catalogue once; the reply arrives on onReleasesJsonFetched.
    void fetchReleasesJson() { download.fetchCatalogue(); }

    // Read-only views of the state, for the callers that need to inspect it.
    QString currentDownloadUrl() const { return download.downloadUrl(); }
    QString currentFileName() const { return download.fileName(); }
    QString currentLatestVersion() const { return download.latestVersion(); }
    QString currentTotalFileSize() const { return download.totalFileSize(); }
    QString currentDownloadDir() const { return download.downloadDir(); }
    QString currentFilePath() const { return download.filePath(); }
    qint64 lastContentLength() const { return download.receiver().lastContentLength(); }
    qint64 lastDownloadProgress() const { return download.receiver().lastProgress(); }
    // Why the last catalogue request or download failed, in plain words; empty before.
    QString failureReason() const { return downloadReports.failureReason(); }
    // The firmware version of the update file handed on last; empty for a file from the
    // computer.
    QString fileVersion() const { return download.fileVersion(); }
    // Ends a download under way without a report (the instrument went away).
    void cancelDownload() { downloadReports.cancel(); }

    // The shared download core, for the parts both editions build on it (UpdateChoices).
    UpdateDownload& updateDownload() { return download; }

protected:
    // owner is the Downloader itself: the parts are its children, so that its open requests
    // and curl runs can be found.
    DownloaderCore(QObject* owner, const QUrl& serverBase, const DownloadTimings& timings,
                   DownloadReports::FailedTransfer onFailure);
    ~DownloaderCore() = default;

    DownloadReports& reports() { return downloadReports; }

    // The work of the Downloader's invokable and its reply slots.
    void startDownload() { downloadReports.start(); }
    void takeCatalogueReply(QNetworkReply* reply) { download.handleCatalogueReply(reply); }
    void finishFileReply(QNetworkReply* reply, const QString& fileName);
    void readFileReply(QNetworkReply* reply) { download.receiver().readFrom(reply); }

private:
    UpdateDownload download;
    DownloadReports downloadReports;
};
