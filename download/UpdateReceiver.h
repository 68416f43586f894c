#pragma once

#include <QByteArray>
#include <QNetworkReply>
#include <QObject>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;

// Downloads the update file with a GET request: collects the body in memory, reports the
// progress in percent of the announced length, checks that the body has exactly that
// length, and writes it to the local path through a QSaveFile, so that a failed write
// leaves no partial update file.
class UpdateReceiver : public QObject
{
    Q_OBJECT

public:
    enum class Failure {
        Network,     // the reply ended with an error
        Incomplete,  // the body's length differs from the announced one
        WriteFailed, // no download folder, or the file could not be written
    };

    explicit UpdateReceiver(QObject* parent = nullptr);

    // Sends the GET request; the reply's bytes go to readFrom(), its end to finish().
    void start(QNetworkAccessManager& network, const QUrl& url, const QString& name,
               const QString& localPath);

    // Takes the bytes the reply has ready and reports the progress.
    void readFrom(QNetworkReply* reply);
    // Checks the ended reply and writes the body to localPath; ends with saved() or failed().
    void finish(QNetworkReply* reply, const QString& name, const QString& localPath);

    qint64 lastContentLength() const { return contentLength; }
    qint64 lastProgress() const { return progressPercent; }

signals:
    void progress(qint64 percent);
    void networkError(QNetworkReply* reply, QNetworkReply::NetworkError code);
    void saved(QString path, QString name);
    void failed(UpdateReceiver::Failure failure, QString name);

private:
    bool write(const QString& path);

    QByteArray buffer;
    qint64 contentLength = 0;
    qint64 progressPercent = 0;
};
