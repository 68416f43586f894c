#include "UpdateReceiver.h"
#include "DownloadLog.h"

#include <QCoreApplication>
#include "DownloadFailureText.h"
#include "LocalCopyRecord.h"
#include "ProxyChoice.h"
#include "PartialFile.h"
#include "ResumeDecision.h"

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
    return PartialFile::pathFor(localPath);
}

void UpdateReceiver::start(QNetworkAccessManager& network, const QUrl& url, const QString& name,
                           const QString& localPath, const UpdateFileCheck& expected)
{
    stopReply();
    if (partial.isOpen())
        partial.close();
    expectation = expected;
    received = 0;
    writeError = false;
    stalled = false;
    tooLong = false;
    progressPercent = 0;
    progressReported = false;
    hash.reset();
    this->network = &network;
    requestUrl = url;
    fileName = name;
    filePath = localPath;
    decided = false;
    unusable = false;
    offset = 0;
    fileTotal = -1;
    keptPartial = false;

    const QString address = url.toString(QUrl::FullyEncoded);
    ResumeDecision::Partial kept = PartialFile::readFor(localPath);
    // A partial at or over the most the file may have is never continued.
    if (kept.size >= expectation.mostBytes())
        kept.size = 0;
    from = ResumeDecision::resumeFrom(kept, address);
    sentValidator = from > 0 ? kept.validator : QString();

    QNetworkRequest request(url);
    // Redirects are followed over HTTPS only.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    if (from > 0) {
        request.setRawHeader("Range", "bytes=" + QByteArray::number(from) + '-');
        request.setRawHeader("If-Range", sentValidator.toLatin1());
        qCInfo(lcDownload) << "DW: Continuing the update file from byte" << from;
    }
    QNetworkReply* reply = network.get(request);
    reply->setReadBufferSize(kReadBufferSize);
    DownloadLog::request(reply);
    current = reply;
    if (!openPartial(localPath))
        writeError = true;
    connect(reply, &QNetworkReply::finished, this,
            [this, reply, name, localPath]() { finish(reply, name, localPath); });
    connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply]() {
        if (!decided && statusOf(reply) != 0)
            decide(reply);
    });
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
    // A partial to continue is opened as it is (its answer decides whether it is appended
    // to or emptied); any other is emptied, and its record goes.
    if (from == 0)
        PartialFile::forget(localPath);
    const QIODevice::OpenMode mode = from > 0 ? QIODevice::ReadWrite | QIODevice::Unbuffered
                                              : QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered;
    if (!partial.open(mode) || (from > 0 && !partial.seek(from))) {
        qCWarning(lcDownload) << "DW: Could not open" << partial.fileName() << ":" << partial.errorString();
        return false;
    }
    return true;
}

bool UpdateReceiver::decide(QNetworkReply* reply)
{
    // A redirect being followed is not the answer yet.
    if (statusOf(reply) / 100 == 3)
        return true;
    decided = true;
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    const QString answerValidator =
        ResumeDecision::validatorOf(QString::fromLatin1(reply->rawHeader("ETag")),
                                    QString::fromLatin1(reply->rawHeader("Last-Modified")));
    const ResumeDecision::Outcome outcome = ResumeDecision::judge(
        from, sentValidator, statusOf(reply), reply->rawHeader("Content-Range"),
        length.isValid() ? length.toLongLong() : -1, answerValidator);
    switch (outcome.action) {
    case ResumeDecision::Action::Append:
        if (!hashKept(from)) {
            qCWarning(lcDownload) << "DW: The partial update file could not be read; starting again";
            break;
        }
        offset = from;
        received = from;
        fileTotal = outcome.total;
        qCInfo(lcDownload) << "DW: The server continues the update file at byte" << from << "of" << fileTotal;
        progressReported = true;
        progressPercent = fileTotal > 0 ? from * 100 / fileTotal : 0;
        emit progress(progressPercent);
        return true;
    case ResumeDecision::Action::StartFresh:
        if (from > 0) {
            qCInfo(lcDownload) << "DW: The server sends the whole update file; starting from byte 0";
            if (!partial.resize(0) || !partial.seek(0))
                writeError = true;
        }
        fileTotal = outcome.total;
        if (!writeError && !PartialFile::record(filePath, answerValidator, requestUrl.toString(QUrl::FullyEncoded)))
            PartialFile::forget(filePath);
        return true;
    case ResumeDecision::Action::Restart:
        break;
    case ResumeDecision::Action::NotTheFile:
        return true;
    }
    if (from == 0) {
        // A part of the file that was not asked for: the answer is of no use.
        unusable = true;
        reply->abort();
        return false;
    }
    qCInfo(lcDownload) << "DW: The server's answer does not continue the partial update file; starting again";
    stopReply();
    partial.close();
    PartialFile::remove(filePath);
    start(*network, requestUrl, fileName, filePath, expectation);
    return false;
}

bool UpdateReceiver::hashKept(qint64 bytes)
{
    QFile kept(partial.fileName());
    if (!kept.open(QIODevice::ReadOnly))
        return false;
    qint64 left = bytes;
    while (left > 0) {
        QByteArray& data = blocks[turn];
        data = kept.read(qMin(left, kBlockSize));
        if (data.isEmpty())
            return false;
        turn ^= 1;
        left -= data.size();
        hash.add(data);
    }
    return true;
}

void UpdateReceiver::endPartial(bool resumable)
{
    if (partial.isOpen())
        partial.close();
    const ResumeDecision::Partial kept = PartialFile::readFor(filePath);
    keptPartial = resumable && ResumeDecision::resumeFrom(kept, requestUrl.toString(QUrl::FullyEncoded)) > 0;
    if (!keptPartial)
        PartialFile::remove(filePath);
}

void UpdateReceiver::discardPartial()
{
    if (partial.isOpen())
        partial.close();
    PartialFile::forget(filePath);
    if (!partial.fileName().isEmpty())
        QFile::remove(partial.fileName());
}

void UpdateReceiver::stopReply()
{
    stallTimer.stop();
    if (QNetworkReply* reply = current.data()) {
        current = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
}

void UpdateReceiver::cancel()
{
    stopReply();
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
    if (!decided && !decide(reply))
        return;
    if (!carriesTheFile(reply)) {
        reply->readAll();  // an error page: dropped, no progress
        return;
    }
    const qint64 total = fileTotal > 0 ? fileTotal : contentLengthOf(reply);
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
    if (!decided && reply->error() == QNetworkReply::NoError && !decide(reply))
        return; // asked for again
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
    if (stalled || unusable || reply->error() != QNetworkReply::NoError || !carriesTheFile(reply)) {
        const bool dropped = !unusable && (stalled || ResumeDecision::brokeOff(reply->error(), statusOf(reply)));
        // A continued request that met an error page or a refusal left the partial as it was.
        endPartial(dropped || (from > 0 && !unusable && partial.size() == from));
        const QString reason = stalled
                                   ? DownloadFailureText::stalled(stallMs / 1000)
                                   : DownloadFailureText::forReply(reply->error(), statusOf(reply),
                                                                    ProxyChoice::of(*reply).hostAndPort(),
                                                                    reply->errorString());
        emit failed(dropped ? Failure::Dropped : Failure::Network, name, reason);
        return;
    }

    const QVariant header = reply->header(QNetworkRequest::ContentLengthHeader);
    if (header.isValid()) {
        contentLength = header.toLongLong();
        if (contentLength != received - offset) {
            qCWarning(lcDownload) << "DW: Download incomplete: received" << received - offset << "bytes of"
                       << contentLength;
            // Longer than announced: the bytes are not to be trusted; shorter: the rest may follow.
            endPartial(received - offset < contentLength);
            emit failed(Failure::Incomplete, name,
                        QCoreApplication::translate("DownloadFailureText", "The download was cut short (%1 of %2 bytes arrived).")
                            .arg(received)
                            .arg(offset + contentLength));
            return;
        }
    }
    const QString mismatch =
        expectation.problemWith(received, QString::fromLatin1(hash.result().toHex()));
    if (!mismatch.isEmpty() && offset > 0) {
        // The kept bytes may be what is wrong: never used, the whole file asked for once more.
        qCWarning(lcDownload) << "DW: The continued update file fails its check; starting again from byte 0";
        discardPartial();
        start(*network, requestUrl, name, localPath, expectation);
        return;
    }
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
    PartialFile::forget(localPath);
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
