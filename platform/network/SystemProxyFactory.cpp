#include "SystemProxyFactory.h"

#include <QHostAddress>

#if !defined(Q_OS_WIN) && !defined(Q_OS_MACOS)
#include "EnvironmentProxy.h"
#endif

namespace {

QList<QNetworkProxy> systemSettingFor(const QNetworkProxyQuery& query)
{
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return QNetworkProxyFactory::systemProxyForQuery(query);
#else
    return {EnvironmentProxy::forUrl(query.url(), EnvironmentProxy::processEnvironment())};
#endif
}

} // namespace

QList<QNetworkProxy> SystemProxyFactory::queryProxy(const QNetworkProxyQuery& query)
{
    if (isLoopback(query.peerHostName()))
        return {QNetworkProxy(QNetworkProxy::NoProxy)};
    QList<QNetworkProxy> proxies = systemSettingFor(query);
    if (proxies.isEmpty())
        proxies << QNetworkProxy(QNetworkProxy::NoProxy);
    return proxies;
}

bool SystemProxyFactory::isLoopback(const QString& host)
{
    QString name = host;
    if (name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']')))
        name = name.mid(1, name.size() - 2);
    if (name.endsWith(QLatin1Char('.')))
        name.chop(1);
    if (name.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0
        || name.endsWith(QLatin1String(".localhost"), Qt::CaseInsensitive))
        return true;
    const QHostAddress address(name);
    return !address.isNull() && address.isLoopback();
}
