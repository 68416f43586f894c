#pragma once

#include <QNetworkReply>
#include <QObject>
#include <QString>

#include "DownloadTimings.h"

class CurlFallback;
class UpdateDownload;

// The update download's results as both editions' Downloader publish them, with the reason
// of the last failure in plain words. What follows a failed transfer or write is the
// edition's choice (FailedTransfer): the full edition falls back to curl (CurlFallback),
// telling every step of it through downloadStatus and logging the failed request, except
// after a certificate or TLS failure, which ends the download with its reason; the
// update-only edition ends the download with the reason. Every other failure (a file that
// fails its size or checksum check, a file name that cannot be used, a press with no
// catalogue) ends the download at once in both, told through downloadStatus as well.
class DownloadReports : public QObject
{
    Q_OBJECT

public:
    enum class FailedTransfer {
        FallBackToCurl, // curl takes over, each step told through downloadStatus
        FailWithReason, // downloadFinished(false, ...) with the reason
    };

    // download must outlive this object.
    DownloadReports(UpdateDownload& download, FailedTransfer onFailure,
                    const DownloadTimings& timings, QObject* parent = nullptr);

    // A new download: the last failure's reason is cleared first.
    void start();
    // Ends a download or curl run under way without a report (the instrument went away).
    void cancel();
    QString failureReason() const { return reason; }
    // Whether the second route (curl) may follow a transfer that failed with this error: not
    // after a certificate or other TLS failure, which another program must not get past.
    // Pure.
    static bool secondRouteAllowedAfter(QNetworkReply::NetworkError error);

    // Relays the signals both editions' Downloader publish to the same-named signals of the
    // facade, in the order they are emitted here.
    template <class Facade>
    void relaySignalsTo(Facade* facade)
    {
        connect(this, &DownloadReports::downloadFinished, facade, &Facade::downloadFinished);
        connect(this, &DownloadReports::setDeviceToTransferMode, facade,
                &Facade::setDeviceToTransferMode);
        connect(this, &DownloadReports::releasesJsonFetched, facade,
                &Facade::releasesJsonFetched);
        connect(this, &DownloadReports::downloadingProgressBar, facade,
                &Facade::downloadingProgressBar);
        connect(this, &DownloadReports::latestVersionFetched, facade,
                &Facade::latestVersionFetched);
        connect(this, &DownloadReports::failureReasonChanged, facade,
                &Facade::failureReasonChanged);
    }

Q_SIGNALS:
    void downloadFinished(bool success, QString updateFilePath, QString updateFileName);
    void setDeviceToTransferMode(bool success);
    void releasesJsonFetched();
    void downloadingProgressBar(qlonglong progress);
    void latestVersionFetched(QString version);
    void downloadStatus(bool success, QString message);
    void failureReasonChanged(QString reason);

private:
    void routeFailuresToCurl(const DownloadTimings& timings);
    void routeFailuresToReason();
    void setReason(const QString& why);
    void fail(const QString& why);
    void reportUnusableFileName();
    void startFallback(const QString& name, const QString& why);
    static void logDownloadError(QNetworkReply* reply, QNetworkReply::NetworkError code);

    UpdateDownload& download;
    // Made only when the edition falls back to curl; a child, so that its runs can be found.
    CurlFallback* fallback = nullptr;
    QString reason;
    // The error of the last failed request of the download under way (NoError: none).
    QNetworkReply::NetworkError lastError = QNetworkReply::NoError;
};
