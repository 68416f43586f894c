#pragma once

#include <QDateTime>
#include <QObject>
#include <QProcess>
#include <QString>

// Downloads the update file with the external program "curl" when the HTTP download or the
// write failed. Only the full edition has it.
//
// The program is looked up on the search path only, never in the working directory; it
// follows redirects over HTTPS only, fails on HTTP errors, and writes to the local path. A
// failed run removes what curl left behind there. Every step is told through status().
class CurlFallback : public QObject
{
    Q_OBJECT

public:
    explicit CurlFallback(QObject* parent = nullptr);

    // Starts curl for url into localPath (empty: there is no download folder).
    void start(const QString& url, const QString& name, const QString& localPath);

    // curl's arguments for downloading url into localPath.
    static QStringList argumentsFor(const QString& url, const QString& localPath);

signals:
    void status(bool success, QString message);
    void ended(bool success, QString path, QString name);
    void unusableFileName(QString name);

private:
    // What lay at curl's output path before it started, to recognise what it left behind.
    struct FileStamp
    {
        bool exists = false;
        qint64 size = 0;
        QDateTime modified;
    };
    static FileStamp stampOf(const QString& path);
    void onFinished(QProcess* process, const QString& path, const FileStamp& before, int exitCode,
                    QProcess::ExitStatus exitStatus);
    void fail(const QString& path, const QString& name, const QString& reason);
};
