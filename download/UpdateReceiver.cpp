#include "UpdateReceiver.h"
#include "DownloadLog.h"

#include <QCoreApplication>
#include "DownloadFailureText.h"
#include "LocalCopyRecord.h"
#include "ProxyChoice.h"

#include <QDebug>
#include <QNetworkAccessManager>
#include <QNetworkRequest>

namespace {

qint64 contentLengthOf(const QNetworkReply* reply)
{
    const QVariant header = reply->header(QNetworkRequest::ContentLengthHeader);
    return header.isValid() ? header.toLongLong() : 0;
}

int statusOf(const QNetworkReply* reply)
{
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

// Only a 2xx answer's body is the update file; an error page is not.
bool carriesTheFile(const QNetworkReply* reply)
{
    const int status = statusOf(reply);
    return status >= 200 && status < 300;
}

}  // namespace

UpdateReceiver::UpdateReceiver(QObject* parent) : QObject(parent), partial(this), stallTimer(this)
{
    stallTimer.setSingleShot(true);
    connect(&stallTimer, &QTimer::timeout, this, &UpdateReceiver::onStall);
}

QString UpdateReceiver::partialPathFor(const QString& localPath)
{
    return localPath + QStringLiteral(".part");
}

void UpdateReceiver::start(QNetworkAccessManager& network, const QUrl& url, const QString& name,
                           const QString& localPath, const UpdateFileCheck& expected)
{
    cancel();
    expectation = expected;
    received = 0;
    writeError = false;
    stalled = false;
    tooLong = false;
    progressPercent = 0;
    progressReported = false;
    hash.reset();

    QNetworkRequest request(url);
    // Redirects are followed over HTTPS only.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply* reply = network.get(request);
    reply->setReadBufferSize(kReadBufferSize);
    DownloadLog::request(reply);
    current = reply;
    if (!openPartial(localPath))
        writeError = true;
    connect(reply, &QNetworkReply::finished, this,
            [this, reply, name, localPath]() { finish(reply, name, localPath); });
    connect(reply, &QNetworkReply::readyRead, this, [this, reply]() { readFrom(reply); });
    connect(reply, &QNetworkReply::errorOccurred, this,
            [this, reply](QNetworkReply::NetworkError code) { emit networkError(reply, code); });
    stallTimer.start(stallMs);
    if (writeError)
        reply->abort();
}

bool UpdateReceiver::openPartial(const QString& localPath)
{
    if (localPath.isEmpty()) {
        qCWarning(lcDownload) << "DW: There is no download folder to save the update file in";
        return false;
    }
    partial.setFileName(partialPathFor(localPath));
    if (!partial.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        qCWarning(lcDownload) << "DW: Could not open" << partial.fileName() << ":" << partial.errorString();
        return false;
    }
    return true;
}

void UpdateReceiver::discardPartial()
{
    if (partial.isOpen())
        partial.close();
    if (!partial.fileName().isEmpty())
        QFile::remove(partial.fileName());
}

void UpdateReceiver::cancel()
{
    stallTimer.stop();
    if (QNetworkReply* reply = current.data()) {
        current = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
    discardPartial();
}

void UpdateReceiver::onStall()
{
    if (QNetworkReply* reply = current.data()) {
        stalled = true;
        reply->abort();
    }
}

qint64 UpdateReceiver::batchFor(qint64 total)
{
    return total > 0 ? qBound<qint64>(1, total / 200, kBlockSize) : 1;
}

void UpdateReceiver::readFrom(QNetworkReply* reply, bool toTheEnd)
{
    if (!carriesTheFile(reply)) {
        reply->readAll();  // an error page: dropped, no progress
        return;
    }
    const qint64 total = contentLengthOf(reply);
    // Announced larger than any update file: not taken at all.
    if (total > UpdateFileCheck::kMaxBytes) {
        tooLong = true;
        reply->abort();
        return;
    }
    const qint64 ready = reply->bytesAvailable();
    if (!toTheEnd && progressReported && ready < batchFor(total)) {
        if (ready > 0)
            stallTimer.start(stallMs);  // bytes are arriving: no stall
        return;
    }
    bool any = false;
    // The reply's own blocks are taken as they are (no copy); each is kept until the hash is
    // done with it, two in turn.
    while (reply->bytesAvailable() > 0) {
        QByteArray& data = blocks[turn];
        data = reply->read(kBlockSize);
        if (data.isEmpty())
            break;
        turn ^= 1;
        any = true;
        received += data.size();
        hash.add(data);
        if (!writeError && !writeWhole(data.constData(), data.size())) {
            writeError = true;
            qCWarning(lcDownload) << "DW: Could not write the update file:" << partial.errorString();
        }
    }
    if (!any)
        return;
    if (received > expectation.mostBytes())
        tooLong = true;
    if (writeError || tooLong) {
        reply->abort();
        return;
    }
    stallTimer.start(stallMs);

    qint64 percent = 0;
    if (total > 0)
        percent = static_cast<qint64>(static_cast<double>(received) / static_cast<double>(total)
                                      * 100.0);
    // The first block is always reported (the download is under way), then each new percent;
    // without an announced length every block reports 0, as a sign of life.
    if (total > 0 && progressReported && percent == progressPercent)
        return;
    progressReported = true;
    progressPercent = percent;
    emit progress(percent);
}

bool UpdateReceiver::writeWhole(const char* data, qint64 size)
{
    // A disk that fills up takes part of a block first; only the next write says why.
    while (size > 0) {
        const qint64 written = partial.write(data, size);
        if (written <= 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

QString UpdateReceiver::writeProblem() const
{
    return partial.error() == QFileDevice::ResourceError ? DownloadFailureText::folderFull()
                                                         : DownloadFailureText::folderNotWritable();
}

void UpdateReceiver::finish(QNetworkReply* reply, const QString& name, const QString& localPath)
{
    if (!writeError && !tooLong && !stalled && reply->error() == QNetworkReply::NoError)
        readFrom(reply, true);  // what was left in the reply below a batch
    stallTimer.stop();
    if (current == reply)
        current = nullptr;
    reply->deleteLater();

    if (writeError) {
        const QString reason = writeProblem();
        discardPartial();
        emit failed(Failure::WriteFailed, name, reason);
        return;
    }
    if (tooLong) {
        discardPartial();
        const QString why = expectation.size >= 0 && expectation.size <= UpdateFileCheck::kMaxBytes
                                ? expectation.problemWith(received, QString())
                                : DownloadFailureText::fileTooLarge(UpdateFileCheck::kMaxBytes >> 30);
        emit failed(Failure::Mismatch, name, why);
        return;
    }
    if (stalled || reply->error() != QNetworkReply::NoError || !carriesTheFile(reply)) {
        discardPartial();
        const QString reason = stalled
                                   ? DownloadFailureText::stalled(stallMs / 1000)
                                   : DownloadFailureText::forReply(reply->error(), statusOf(reply),
                                                                    ProxyChoice::of(*reply).hostAndPort(),
                                                                    reply->errorString());
        emit failed(Failure::Network, name, reason);
        return;
    }

    const QVariant header = reply->header(QNetworkRequest::ContentLengthHeader);
    if (header.isValid()) {
        contentLength = header.toLongLong();
        if (contentLength != received) {
            qCWarning(lcDownload) << "DW: Download incomplete: received" << received << "bytes of"
                       << contentLength;
            discardPartial();
            emit failed(Failure::Incomplete, name,
                        QCoreApplication::translate("DownloadFailureText", "The download was cut short (%1 of %2 bytes arrived).")
                            .arg(received)
                            .arg(contentLength));
            return;
        }
    }
    const QString mismatch =
        expectation.problemWith(received, QString::fromLatin1(hash.result().toHex()));
    if (!mismatch.isEmpty()) {
        qCWarning(lcDownload) << "DW:" << mismatch;
        discardPartial();
        emit failed(Failure::Mismatch, name, mismatch);
        return;
    }
    if (!partial.flush()) {
        const QString reason = writeProblem();
        discardPartial();
        emit failed(Failure::WriteFailed, name, reason);
        return;
    }
    partial.close();
    QFile::remove(LocalCopyRecord::pathFor(localPath));
    QFile::remove(localPath);
    if (!QFile::rename(partial.fileName(), localPath)) {
        discardPartial();
        emit failed(Failure::WriteFailed, name, DownloadFailureText::folderNotWritable());
        return;
    }
    LocalCopyRecord record;
    record.size = received;
    record.etag = QString::fromLatin1(reply->rawHeader("ETag"));
    record.lastModified = QString::fromLatin1(reply->rawHeader("Last-Modified"));
    record.writeFor(localPath);
    emit saved(localPath, name);
}
