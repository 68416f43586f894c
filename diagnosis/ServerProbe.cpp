#include "ServerProbe.h"

#include "ProxyChoice.h"
#include "ReleaseCatalogue.h"
#include "ReleaseLocation.h"
#include "TlsProblemText.h"
#include "UrlCredentials.h"

#include <QNetworkReply>
#include <QNetworkRequest>

namespace {
// A catalogue is a few kilobytes; an answer past this is not one.
constexpr qint64 kMaxCatalogueBytes = 4 * 1024 * 1024;
} // namespace

ServerProbe::ServerProbe(QObject* parent) : QObject(parent)
{
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, this, &ServerProbe::onTimeout);
}

ServerProbe::~ServerProbe()
{
    cancel();
}

QNetworkProxy ServerProbe::proxyFor(const QUrl& url)
{
    // The one the downloads take, by the same rules.
    return ProxyChoice::forUrl(url).proxy();
}

QString ServerProbe::describe(const QNetworkProxy& proxy)
{
    if (proxy.type() == QNetworkProxy::NoProxy || proxy.type() == QNetworkProxy::DefaultProxy
        || proxy.hostName().isEmpty())
        return QString();
    return QStringLiteral("%1:%2").arg(proxy.hostName()).arg(proxy.port());
}

void ServerProbe::start(const QUrl& server, int limitMs)
{
    cancel();
    const QUrl url = ReleaseLocation::catalogueUrl(server);
    facts = CheckLines::Server();
    facts.url = UrlCredentials::removedFrom(url.toString());
    facts.limitMs = limitMs;
    tlsErrors.clear();
    timedOut = false;
    const QNetworkProxy proxy = proxyFor(url);
    facts.proxy = describe(proxy);
    network.setProxy(proxy);
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    reply = network.get(request);
    connect(reply, &QNetworkReply::sslErrors, this,
            [this](const QList<QSslError>& errors) { tlsErrors = errors; });
    connect(reply, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64) {
        if (received > kMaxCatalogueBytes && reply)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, &ServerProbe::onFinished);
    deadline.start(limitMs);
}

void ServerProbe::cancel()
{
    deadline.stop();
    if (QNetworkReply* open = reply) {
        reply = nullptr;
        open->disconnect(this);
        open->abort();
        open->deleteLater();
    }
}

void ServerProbe::onTimeout()
{
    timedOut = true;
    if (reply)
        reply->abort();
}

void ServerProbe::onFinished()
{
    QNetworkReply* done = reply;
    if (!done)
        return;
    reply = nullptr;
    deadline.stop();
    done->deleteLater();
    using Result = CheckLines::Server::Result;
    qint64 updateBytes = -1;
    const int status = done->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (timedOut) {
        facts.result = Result::TimedOut;
    } else if (!tlsErrors.isEmpty()) {
        facts.result = Result::Tls;
        facts.detail = TlsProblemText::sentence(tlsErrors, QDateTime::currentDateTime());
    } else if (done->error() == QNetworkReply::SslHandshakeFailedError) {
        facts.result = Result::Tls;
        facts.detail = TlsProblemText::forError(QSslError::UnspecifiedError, {}, {},
                                                QDateTime::currentDateTime(), done->errorString());
    } else if (status != 0 && status != 200) {
        facts.result = Result::Http;
        facts.httpStatus = status;
    } else if (done->error() != QNetworkReply::NoError) {
        facts.result = Result::Unreachable;
        facts.detail = done->errorString();
    } else {
        const ReleaseCatalogue catalogue = ReleaseCatalogue::parse(done->readAll());
        if (catalogue.isUsable()) {
            facts.result = Result::Read;
            facts.versions = int(catalogue.entries().size());
            facts.latest = catalogue.entries().constLast().version;
            updateBytes = catalogue.entries().constLast().expectedSize();
        } else {
            facts.result = Result::NotACatalogue;
            facts.detail = catalogue.problem();
        }
    }
    Q_EMIT finished(facts, updateBytes);
}
