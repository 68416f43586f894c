#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QUrl>


// Reads the maker's release catalogue and downloads the update file it offers.
//
// The catalogue's last entry is the update on offer. downloadFile() probes the file with a
// HEAD request, reuses a copy of the announced size in the temporary directory, or
// downloads the body into memory and writes it there. When the HTTP download or the write
// fails, the external program "curl" is started as a fallback.
//
// Built with TAVLO_UPDATE_ONLY it is the update-only edition's Downloader: no fallback, no
// download status and no error log; a download that fails ends silently.
class Downloader : public QObject
{
    Q_OBJECT

public:
    // The maker's download server; the catalogue lies at /releases/releases.json on it.
    static QUrl defaultServer();

    explicit Downloader(const QUrl& serverBase, QObject* parent = nullptr);
    ~Downloader() override;

    // Requests the release catalogue once; the reply arrives on onReleasesJsonFetched.
    void fetchReleasesJson();

    Q_INVOKABLE void downloadFile();

    // The update availability log: "DW: Update available!" and the version just read.
    static void logUpdateAvailable(const QString& version);

    // True when a name from the catalogue can be used as a local file name as it stands.
    static bool isSafeFileName(const QString& name);

    // Read-only views of the state, for the callers that need to inspect it.
    QString currentDownloadUrl() const { return downloadUrl; }
    QString currentFileName() const { return fileName; }
    QString currentLatestVersion() const { return latestVersion; }
    QString currentTotalFileSize() const { return totalFileSize; }
    QString currentDownloadDir() const { return downloadDir; }
    QString currentFilePath() const { return filePath; }
    qint64 lastContentLength() const { return contentLength; }
    qint64 lastDownloadProgress() const { return downloadProgress; }

signals:
    void downloadFinished(bool success, QString updateFilePath, QString updateFileName);
    void setDeviceToTransferMode(bool success);
    void releasesJsonFetched();
    void downloadingProgressBar(qlonglong progress);
    void latestVersionFetched(QString version);
    void versionCheck(bool success);
#ifndef TAVLO_UPDATE_ONLY
    void downloadStatus(bool success, QString message);
#endif

public slots:
    // Connected to the instrument's version report; the Downloader keeps nothing of it.
    void tavloReceivedVersion(QString version);

private slots:
    void onReleasesJsonFetched(QNetworkReply* reply);
    void onFileDownloaded(QNetworkReply* reply, QString fileName);
    void onReadyRead(QNetworkReply* reply);

private:
    void probeUpdateFile(QNetworkReply* reply, const QUrl& url);
    bool saveToDisk(const QString& path, const QByteArray& data);
#ifndef TAVLO_UPDATE_ONLY
    void startCurlFallback(const QString& url, const QString& name);
    // What lay at curl's output path before it started, to recognise what it left behind.
    struct FileStamp
    {
        bool exists = false;
        qint64 size = 0;
        QDateTime modified;
    };
    static FileStamp stampOf(const QString& path);
    void onCurlFinished(QProcess* process, const QString& path, const FileStamp& before,
                        int exitCode, QProcess::ExitStatus exitStatus);
    void reportFallbackFailure(const QString& path, const QString& name, const QString& reason);
    void logDownloadError(QNetworkReply* reply, QNetworkReply::NetworkError code);
#endif
    QString localPathFor(const QString& name) const;
    void reportUnusableFileName(const QString& name);
    static QString encodeFileNameForUrl(const QString& name);

    QUrl serverBase;
    QNetworkAccessManager networkManager;

    QString downloadUrl;
    QString fileName;
    QString latestVersion;
    QString totalFileSize;

    QString downloadDir;
    QString filePath;
    QByteArray downloadBuffer;
    qint64 contentLength = 0;
    qint64 downloadProgress = 0;
};
