#pragma once

#include <QObject>
#include <QProcess>
#include <QString>

#include "DownloadTimings.h"
#include "ProxyChoice.h"
#include "UpdateFileCheck.h"

// Downloads the update file with the external program "curl" when the HTTP download or the
// write failed. Only the full edition has it.
//
// The program is the first curl in an absolute entry of the search path (CurlLocator), never
// one in or below the working folder. It reads no configuration file of the user's, speaks
// HTTPS only (redirects included), fails on HTTP errors, gives up on a slow connection or a
// stalled body, and writes to a temporary file beside the local path. The file takes the
// local path's name only once curl succeeded and it passed the same size and checksum check
// as the Qt download; anything else removes it. Every step is told through status(), the
// reason of a failure in plain words through failureReason().
class CurlFallback : public QObject
{
    Q_OBJECT

public:
    explicit CurlFallback(QObject* parent = nullptr);

    void setTimings(const DownloadTimings& value) { timings = value; }
    // The proxy the next runs take (the system's setting for the release server, as the Qt
    // download takes it); direct until set.
    void setProxy(const ProxyChoice& value) { proxy = value; }

    // Starts curl for url into localPath (empty: there is no download folder).
    void start(const QString& url, const QString& name, const QString& localPath,
               const UpdateFileCheck& expected = UpdateFileCheck());
    // Stops a curl run under way without a report and removes its temporary file.
    void cancel();

    // curl's arguments for downloading url into outputPath, a file of at most mostBytes,
    // through proxy (CurlProxyArguments; its user name and password go to curl's standard
    // input, never into these).
    static QStringList argumentsFor(const QString& url, const QString& outputPath,
                                    const DownloadTimings& timings = DownloadTimings::production(),
                                    qint64 mostBytes = UpdateFileCheck::kMaxBytes,
                                    const ProxyChoice& proxy = ProxyChoice());
    // The temporary file curl writes for the update file at localPath.
    static QString partialPathFor(const QString& localPath);

signals:
    void status(bool success, QString message);
    void ended(bool success, QString path, QString name);
    void unusableFileName(QString name);
    // Emitted before a failure's status(false, ...): why, in plain words.
    void failureReason(QString reason);

private:
    void onFinished(QProcess* process, const QString& path, int exitCode,
                    QProcess::ExitStatus exitStatus);
    void fail(const QString& path, const QString& name, const QString& message,
              const QString& reason);

    DownloadTimings timings = DownloadTimings::production();
    UpdateFileCheck expectation;
    ProxyChoice proxy;
    QProcess* running = nullptr;
};
