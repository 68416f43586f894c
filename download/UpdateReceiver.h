#pragma once

#include <QFile>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>

#include "HashAlongside.h"
#include "UpdateFileCheck.h"

class QNetworkAccessManager;

// Downloads the update file with a GET request, streaming the body to a temporary file in
// the download folder (never under the final name) while hashing it. Progress is reported
// in percent of the announced length, and only for a successful answer's body: an error
// page is no progress. When the reply ends, the length is checked against the
// Content-Length and the expected size, the digest against the expected SHA-256; only then
// does the file take its final name, with a side record of the server's validators. Any
// failure removes the temporary file. No progress for the stall time ends the download.
//
// The reply holds at most kReadBufferSize bytes: Qt's network thread waits while this much is
// unread, so memory stays flat whatever the size of the file. Qt tells of every few kilobytes
// that arrive; they are left in the reply until half a percent of the announced length (at
// most kBlockSize) is there, so that each block is written in one call. The first bytes, a
// reply without a length and the end of the reply are taken at once. What is ready is taken
// in blocks of at most kBlockSize, as the reply holds them (no copy), each hashed on a thread
// beside it while it is written; progress is reported when the percentage changes (without an announced
// length, 0 for every block).
class UpdateReceiver : public QObject
{
    Q_OBJECT

public:
    enum class Failure {
        Network,     // the reply ended with an error, or it stalled
        Incomplete,  // the body's length differs from the announced one
        WriteFailed, // no download folder, or the file could not be written
        Mismatch,    // the file's size or checksum is not the expected one
    };

    static constexpr qint64 kReadBufferSize = 4 * 1024 * 1024;
    static constexpr qint64 kBlockSize = 512 * 1024;

    explicit UpdateReceiver(QObject* parent = nullptr);

    void setStallTimeoutMs(int ms) { stallMs = ms; }

    // Sends the GET request; the reply's bytes go to readFrom(), its end to finish().
    void start(QNetworkAccessManager& network, const QUrl& url, const QString& name,
               const QString& localPath, const UpdateFileCheck& expected = UpdateFileCheck());
    // Ends a running download without a report (the instrument went away); its temporary
    // file is removed.
    void cancel();
    bool isRunning() const { return !current.isNull(); }

    // Takes the bytes the reply has ready, once there are enough of them (all of them when
    // toTheEnd), and reports the progress.
    void readFrom(QNetworkReply* reply, bool toTheEnd = false);
    // How many bytes are left in the reply before they are read, for a body of total bytes.
    static qint64 batchFor(qint64 total);
    // Checks the ended reply and gives the file its final name; ends with saved() or failed().
    void finish(QNetworkReply* reply, const QString& name, const QString& localPath);

    qint64 lastContentLength() const { return contentLength; }
    qint64 lastProgress() const { return progressPercent; }

    // The temporary name of the update file at localPath.
    static QString partialPathFor(const QString& localPath);

signals:
    void progress(qint64 percent);
    void networkError(QNetworkReply* reply, QNetworkReply::NetworkError code);
    void saved(QString path, QString name);
    void failed(UpdateReceiver::Failure failure, QString name, QString reason);

private:
    bool openPartial(const QString& localPath);
    void discardPartial();
    void onStall();
    // Writes all of the bytes to the temporary file; false when a write fails (the file's
    // error then says why: a full disk, or one that cannot be written).
    bool writeWhole(const char* data, qint64 size);
    QString writeProblem() const;

    QPointer<QNetworkReply> current;
    QFile partial;
    // The last two blocks taken: the hash may still be reading the newer one. Declared before
    // the hash, so they outlive it.
    QByteArray blocks[2];
    int turn = 0;
    HashAlongside hash;
    UpdateFileCheck expectation;
    QTimer stallTimer;
    int stallMs = 30000;
    qint64 received = 0;
    bool writeError = false;
    bool stalled = false;
    bool tooLong = false;
    qint64 contentLength = 0;
    qint64 progressPercent = 0;
    bool progressReported = false;
};
