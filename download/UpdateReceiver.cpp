#include "UpdateReceiver.h"

#include <QDebug>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QSaveFile>

#include <algorithm>

namespace {

// Upper bound of the memory reserved up front from a Content-Length header; a larger body
// still downloads, the buffer then grows as the bytes arrive.
constexpr qint64 kMaxReserve = qint64(512) * 1024 * 1024;

qint64 contentLengthOf(const QNetworkReply* reply)
{
    const QVariant header = reply->header(QNetworkRequest::ContentLengthHeader);
    return header.isValid() ? header.toLongLong() : 0;
}

}  // namespace

UpdateReceiver::UpdateReceiver(QObject* parent) : QObject(parent) {}

void UpdateReceiver::start(QNetworkAccessManager& network, const QUrl& url, const QString& name,
                           const QString& localPath)
{
    buffer.clear();
    QNetworkReply* reply = network.get(QNetworkRequest(url));
    connect(reply, &QNetworkReply::finished, this,
            [this, reply, name, localPath]() { finish(reply, name, localPath); });
    connect(reply, &QNetworkReply::readyRead, this, [this, reply]() { readFrom(reply); });
    connect(reply, &QNetworkReply::errorOccurred, this,
            [this, reply](QNetworkReply::NetworkError code) { emit networkError(reply, code); });
}

void UpdateReceiver::readFrom(QNetworkReply* reply)
{
    const qint64 available = reply->bytesAvailable();
    if (available <= 0)
        return;

    const qint64 total = contentLengthOf(reply);
    if (buffer.isEmpty() && total > 0)
        buffer.reserve(std::min(total, kMaxReserve));

    // Read straight into the buffer's free room: no temporary copy of the chunk.
    const qsizetype before = buffer.size();
    buffer.resize(before + available);
    const qint64 got = reply->read(buffer.data() + before, available);
    buffer.resize(before + std::max<qint64>(got, 0));
    if (got <= 0)
        return;

    qint64 percent = 0;
    if (total > 0) {
        percent = static_cast<qint64>(static_cast<double>(buffer.size())
                                      / static_cast<double>(total) * 100.0);
    }
    progressPercent = percent;
    emit progress(percent);
}

void UpdateReceiver::finish(QNetworkReply* reply, const QString& name, const QString& localPath)
{
    reply->deleteLater();
    if (reply->error() != QNetworkReply::NoError) {
        buffer.clear();
        emit failed(Failure::Network, name);
        return;
    }

    const QVariant header = reply->header(QNetworkRequest::ContentLengthHeader);
    if (header.isValid()) {
        contentLength = header.toLongLong();
        if (contentLength != buffer.size()) {
            qWarning() << "DW: Download incomplete: received" << buffer.size() << "bytes of"
                       << contentLength;
            buffer.clear();
            emit failed(Failure::Incomplete, name);
            return;
        }
    }

    const bool written = write(localPath);
    // The file is on disk (or the download failed): the memory copy is of no further use.
    buffer.clear();
    if (written)
        emit saved(localPath, name);
    else
        emit failed(Failure::WriteFailed, name);
}

bool UpdateReceiver::write(const QString& path)
{
    // The bytes go to a temporary file beside the final one, which only takes the final
    // name once everything is written.
    if (path.isEmpty()) {
        qWarning() << "DW: There is no temporary folder to save the update file in";
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        qWarning() << "DW: Could not open the update file" << path << ":" << file.errorString();
        return false;
    }
    const qint64 written = file.write(buffer);
    if (written == buffer.size() && file.commit())
        return true;
    qWarning() << "DW: Could not write the update file" << path << ": wrote" << written << "of"
               << buffer.size() << "bytes:" << file.errorString();
    file.cancelWriting();
    return false;
}
