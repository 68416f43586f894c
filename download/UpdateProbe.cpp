#include "UpdateProbe.h"
#include "DownloadLog.h"

#include <QFileInfo>

#include "LocalCopyRecord.h"
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

UpdateProbe::UpdateProbe(QObject* parent) : QObject(parent) {}

void UpdateProbe::start(QNetworkAccessManager& network, const QUrl& url, const QString& localPath,
                        const UpdateFileCheck& expected)
{
    cancel();
    QNetworkReply* reply = network.head(QNetworkRequest(url));
    DownloadLog::request(reply);
    pending = reply;
    connect(reply, &QNetworkReply::finished, this, [this, reply, url, localPath, expected]() {
        pending = nullptr;
        const Outcome outcome = judge(reply, localPath, expected);
        reply->deleteLater();
        emit probed(outcome, url);
    });
}

void UpdateProbe::cancel()
{
    if (QNetworkReply* reply = pending.data()) {
        pending = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
}

UpdateProbe::Outcome UpdateProbe::judge(QNetworkReply* reply, const QString& localPath,
                                        const UpdateFileCheck& expected)
{
    const QVariant header = reply->header(QNetworkRequest::ContentLengthHeader);
    if (reply->error() != QNetworkReply::NoError || !header.isValid())
        return Outcome::SizeUnknown;
    const qint64 announced = header.toLongLong();
    const QFileInfo existing(localPath);
    if (localPath.isEmpty() || !existing.isFile() || existing.isSymLink()
        || existing.size() != announced)
        return Outcome::SizeAnnounced;
    if (!expected.sha256.isEmpty())
        return expected.problemWithFile(localPath).isEmpty() ? Outcome::LocalCopyValid
                                                             : Outcome::SizeAnnounced;
    if (expected.size >= 0 && expected.size != announced)
        return Outcome::SizeAnnounced;
    const LocalCopyRecord record = LocalCopyRecord::readFor(localPath);
    if (record.matches(existing.size(), QString::fromLatin1(reply->rawHeader("ETag")),
                       QString::fromLatin1(reply->rawHeader("Last-Modified"))))
        return Outcome::LocalCopyValid;
    return Outcome::SizeAnnounced;
}
