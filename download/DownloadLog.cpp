#include "DownloadLog.h"

#include <QNetworkReply>
#include <QNetworkRequest>

#include "ProxyChoice.h"
#include "UrlCredentials.h"

Q_LOGGING_CATEGORY(lcDownload, "tavlo.download", QtWarningMsg)

namespace {

const char* methodOf(QNetworkAccessManager::Operation operation)
{
    switch (operation) {
    case QNetworkAccessManager::HeadOperation:
        return "HEAD";
    case QNetworkAccessManager::GetOperation:
        return "GET";
    case QNetworkAccessManager::PostOperation:
        return "POST";
    default:
        return "request";
    }
}

} // namespace

namespace DownloadLog {

void request(QNetworkReply* reply)
{
    if (!reply)
        return;
    const char* method = methodOf(reply->operation());
    // Never a user name or password given with the address.
    const QString url = UrlCredentials::removedFrom(reply->url().toString());
    qCInfo(lcDownload, "%s %s", method, qPrintable(url));
    QObject::connect(reply, &QNetworkReply::finished, reply, [reply, method, url] {
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (reply->error() == QNetworkReply::NoError)
            qCInfo(lcDownload, "%s %s: HTTP %d", method, qPrintable(url), status);
        else
            // With the proxy the request took (its host and port only), which a failure may
            // be the doing of.
            qCWarning(lcDownload, "%s %s: HTTP %d, %s (proxy: %s)", method, qPrintable(url), status,
                      qPrintable(UrlCredentials::removedFrom(reply->errorString())),
                      qPrintable(ProxyChoice::of(*reply).description()));
    });
}

void catalogue(QNetworkReply* reply)
{
    const QByteArray body = reply->peek(kCatalogueLogBytes);
    const qint64 size = reply->bytesAvailable();
    qCInfo(lcDownload, "Catalogue read (%lld bytes%s):\n%s", size,
           size > body.size() ? ", the start of it" : "", body.constData());
}

} // namespace DownloadLog
