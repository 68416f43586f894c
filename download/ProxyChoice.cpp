#include "ProxyChoice.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>

#include "ReleaseLocation.h"
#include "SystemProxyFactory.h"

ProxyChoice ProxyChoice::from(const QList<QNetworkProxy>& offered)
{
    for (const QNetworkProxy& proxy : offered) {
        switch (proxy.type()) {
        case QNetworkProxy::NoProxy:
            return ProxyChoice();
        case QNetworkProxy::HttpProxy:
        case QNetworkProxy::Socks5Proxy:
            if (!proxy.hostName().isEmpty()
                && proxy.capabilities().testFlag(QNetworkProxy::TunnelingCapability))
                return ProxyChoice(proxy);
            break;
        default:
            // A caching proxy cannot carry an encrypted connection; the default one is no
            // proxy of its own.
            break;
        }
    }
    return ProxyChoice();
}

ProxyChoice ProxyChoice::forUrl(const QUrl& url, QNetworkProxyFactory& factory)
{
    return from(factory.queryProxy(QNetworkProxyQuery(url)));
}

ProxyChoice ProxyChoice::forUrl(const QUrl& url)
{
    SystemProxyFactory factory;
    return forUrl(url, factory);
}

ProxyChoice ProxyChoice::forReleaseServer(const QUrl& serverBase)
{
    return forUrl(ReleaseLocation::catalogueUrl(serverBase));
}

ProxyChoice ProxyChoice::of(const QNetworkReply& reply)
{
    QNetworkAccessManager* manager = reply.manager();
    if (manager && manager->proxyFactory())
        return forUrl(reply.url(), *manager->proxyFactory());
    if (manager && manager->proxy().type() != QNetworkProxy::DefaultProxy)
        return from({manager->proxy()});
    return from(QNetworkProxyFactory::proxyForQuery(QNetworkProxyQuery(reply.url())));
}

QString ProxyChoice::hostAndPort() const
{
    if (isDirect())
        return QString();
    const QString host = chosen.hostName();
    const QString shown = host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']')
                                                          : host;
    return shown + QLatin1Char(':') + QString::number(chosen.port());
}

QString ProxyChoice::description() const
{
    return isDirect() ? QStringLiteral("none") : hostAndPort();
}

QString ProxyChoice::urlWithoutCredentials() const
{
    if (isDirect())
        return QString();
    QString scheme = QStringLiteral("http");
    if (chosen.type() == QNetworkProxy::Socks5Proxy)
        scheme = chosen.capabilities().testFlag(QNetworkProxy::HostNameLookupCapability)
                     ? QStringLiteral("socks5h")
                     : QStringLiteral("socks5");
    return scheme + QStringLiteral("://") + hostAndPort();
}
