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
// stalled body, and writes to the same partial file beside the local path as the Qt download
// (PartialFile). A partial that can be continued (ResumeDecision: bytes, a validator, the
// same address) is continued with --continue-at and If-Range; when the server sends the
// whole file instead (curl then refuses to append) or the continued file fails its check,
// curl runs once more from byte 0. The file takes the local path's name only once curl
// succeeded and the whole file passed the same size and checksum check as the Qt download.
// A run that broke off keeps the partial when it can be continued (the validator read from
// curl's response headers); anything else removes it. Every step is told through status(),
// the reason of a failure in plain words through failureReason().
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

    // curl's arguments for downloading url into outputPath, a file of at most mostBytes;
    // with resumeFrom > 0, continuing the partial there if the server still has the version
    // of this validator; the response headers go to headerPath when it is given; through
    // proxy (CurlProxyArguments; its user name and password go to curl's standard input,
    // never into these).
    static QStringList argumentsFor(const QString& url, const QString& outputPath,
                                    const DownloadTimings& timings = DownloadTimings::production(),
                                    qint64 mostBytes = UpdateFileCheck::kMaxBytes,
                                    qint64 resumeFrom = 0, const QString& validator = QString(),
                                    const QString& headerPath = QString(),
                                    const ProxyChoice& proxy = ProxyChoice());
    // The same for a whole file through proxy.
    static QStringList argumentsFor(const QString& url, const QString& outputPath,
                                    const DownloadTimings& timings, qint64 mostBytes,
                                    const ProxyChoice& proxy);
    // The last response in curl's dumped headers (after any redirects): its status (0 when
    // none) and validator (ResumeDecision::validatorOf).
    static int statusIn(const QByteArray& dumpedHeaders, QString* validator = nullptr);
    // Whether a curl run that ended with this exit code broke off on the way (a partial
    // transfer, a stall, a connection lost) rather than met an answer or a refusal.
    static bool brokeOff(int exitCode);
    // The temporary file curl writes for the update file at localPath.
    static QString partialPathFor(const QString& localPath);

signals:
    void status(bool success, QString message);
    void ended(bool success, QString path, QString name);
    void unusableFileName(QString name);
    // Emitted before a failure's status(false, ...): why, in plain words.
    void failureReason(QString reason);

private:
    void run();
    void onFinished(QProcess* process, const QString& path, int exitCode,
                    QProcess::ExitStatus exitStatus);
    // Keeps the partial of path when it can be continued after a run that broke off.
    bool keepPartial(const QString& path, bool brokeOff, int status, const QString& validator);
    void fail(const QString& path, const QString& name, const QString& message,
              const QString& reason);

    DownloadTimings timings = DownloadTimings::production();
    UpdateFileCheck expectation;
    ProxyChoice proxy;
    QProcess* running = nullptr;
    QString program;       // the curl found on the search path
    QString localPath;     // where the update file goes
    QString address;       // the update file's address, fully encoded
    QString sentValidator; // the If-Range of a continued run
    qint64 startedAt = 0;  // the byte the run under way continues from (0: the whole file)
};
