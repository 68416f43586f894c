#include "UpdateProbe.h"

#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

UpdateProbe::UpdateProbe(QObject* parent) : QObject(parent) {}

void UpdateProbe::start(QNetworkAccessManager& network, const QUrl& url, const QString& localPath)
{
    QNetworkReply* reply = network.head(QNetworkRequest(url));
    connect(reply, &QNetworkReply::finished, this, [this, reply, url, localPath]() {
        const Outcome outcome = judge(reply, localPath);
        reply->deleteLater();
        emit probed(outcome, url);
    });
}

UpdateProbe::Outcome UpdateProbe::judge(QNetworkReply* reply, const QString& localPath)
{
    const QVariant header = reply->header(QNetworkRequest::ContentLengthHeader);
    if (reply->error() != QNetworkReply::NoError || !header.isValid())
        return Outcome::SizeUnknown;
    const QFileInfo existing(localPath);
    if (!localPath.isEmpty() && existing.isFile() && existing.size() == header.toLongLong())
        return Outcome::LocalCopyValid;
    return Outcome::SizeAnnounced;
}
