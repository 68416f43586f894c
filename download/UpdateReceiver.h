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
// the download folder (PartialFile, never under the final name) while hashing it. Progress is
// reported in percent of the whole file, and only for a successful answer's body: an error
// page is no progress. When the reply ends, the length is checked against the
// Content-Length and the expected size, the digest against the expected SHA-256; only then
// does the file take its final name, with a side record of the server's validators. No
// progress for the stall time ends the download.
//
// A partial file left by a dropped connection or a stall is continued (ResumeDecision): the
// request asks for the rest with Range and If-Range, the bytes already there are hashed
// first, and a 206 that fits is appended; any other answer starts from byte 0. The partial is
// kept after such a failure only when it can be continued (it has bytes and the server's
// validator); every other failure removes it.
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
        Network,     // the reply ended with an error status or another network error
        Dropped,     // the connection broke off or stalled (worth another try)
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
    // The last failure kept a partial file that the next start() continues.
    bool partialKept() const { return keptPartial; }
    // The byte the last request asked to start at (0: the whole file).
    qint64 requestedFrom() const { return from; }

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
    // Stops the reply under way without a report; the partial stays as it is.
    void stopReply();
    // Takes the answer's status and headers (ResumeDecision); false when the reply was
    // given up (the file is asked for again, or the answer is unusable).
    bool decide(QNetworkReply* reply);
    // Hashes the partial's first `bytes` bytes; false when they cannot be read.
    bool hashKept(qint64 bytes);
    // Ends a failed download: keeps the partial when it can be continued, else removes it.
    void endPartial(bool resumable);
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
    // The request under way: its address, names and the resume it asked for.
    QNetworkAccessManager* network = nullptr;
    QUrl requestUrl;
    QString fileName;
    QString filePath;
    qint64 from = 0;        // the byte asked to start at
    QString sentValidator;  // the If-Range sent
    bool decided = false;   // the answer's headers were taken
    bool unusable = false;  // the answer cannot be used (a part that was not asked for)
    qint64 offset = 0;      // bytes of the partial kept before this answer's body
    qint64 fileTotal = -1;  // the whole file's size, when the answer says it
    bool keptPartial = false;
};
