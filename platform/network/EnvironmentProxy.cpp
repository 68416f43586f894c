#include "EnvironmentProxy.h"

#include <QHostAddress>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStringList>

namespace {

// The value of the variable in lower case, else in upper case; empty when neither is set.
QString variable(const QHash<QString, QString>& environment, const QString& lowerName)
{
    const QString lower = environment.value(lowerName).trimmed();
    if (!lower.isEmpty())
        return lower;
    return environment.value(lowerName.toUpper()).trimmed();
}

QString withoutBrackets(QString host)
{
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    return host;
}

bool tokenExempts(QString token, const QString& host)
{
    if (token == QLatin1String("*"))
        return true;
    const QHostAddress hostAddress(host);
    if (token.contains(QLatin1Char('/'))) {
        const QPair<QHostAddress, int> subnet = QHostAddress::parseSubnet(token);
        return !hostAddress.isNull() && subnet.second >= 0
               && hostAddress.isInSubnet(subnet);
    }
    token = withoutBrackets(token);
    const QHostAddress tokenAddress(token);
    if (!tokenAddress.isNull())
        return !hostAddress.isNull() && tokenAddress.isEqual(hostAddress);
    // A name: itself and every name below it.
    if (token.startsWith(QLatin1String("*.")))
        token = token.mid(1);
    if (token.startsWith(QLatin1Char('.')))
        token = token.mid(1);
    if (token.endsWith(QLatin1Char('.')))
        token.chop(1);
    if (token.isEmpty())
        return false;
    QString name = host;
    if (name.endsWith(QLatin1Char('.')))
        name.chop(1);
    return name.compare(token, Qt::CaseInsensitive) == 0
           || name.endsWith(QLatin1Char('.') + token, Qt::CaseInsensitive);
}

} // namespace

QNetworkProxy EnvironmentProxy::forUrl(const QUrl& url, const QHash<QString, QString>& environment)
{
    const QString host = url.host();
    if (host.isEmpty() || exempts(variable(environment, QStringLiteral("no_proxy")), host))
        return QNetworkProxy(QNetworkProxy::NoProxy);
    const QString scheme = url.scheme().toLower();
    QStringList names{scheme + QStringLiteral("_proxy"), QStringLiteral("all_proxy")};
    if (scheme == QLatin1String("https"))
        names << QStringLiteral("http_proxy");
    for (const QString& name : names) {
        const QString value = variable(environment, name);
        if (!value.isEmpty())
            return fromValue(value);
    }
    return QNetworkProxy(QNetworkProxy::NoProxy);
}

QNetworkProxy EnvironmentProxy::fromValue(const QString& value)
{
    QString text = value.trimmed();
    // "host:port" alone is an http proxy's address.
    static const QRegularExpression hasScheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    if (!hasScheme.match(text).hasMatch())
        text.prepend(QStringLiteral("http://"));
    const QUrl address(text, QUrl::StrictMode);
    if (!address.isValid() || address.host().isEmpty())
        return QNetworkProxy(QNetworkProxy::NoProxy);
    const QString scheme = address.scheme().toLower();
    QNetworkProxy proxy;
    if (scheme == QLatin1String("http")) {
        proxy.setType(QNetworkProxy::HttpProxy);
    } else if (scheme == QLatin1String("socks5") || scheme == QLatin1String("socks5h")) {
        proxy.setType(QNetworkProxy::Socks5Proxy);
        QNetworkProxy::Capabilities capabilities = proxy.capabilities();
        // socks5: the program looks the names up itself; socks5h: the proxy does.
        capabilities.setFlag(QNetworkProxy::HostNameLookupCapability,
                             scheme == QLatin1String("socks5h"));
        proxy.setCapabilities(capabilities);
    } else {
        return QNetworkProxy(QNetworkProxy::NoProxy);
    }
    proxy.setHostName(address.host());
    proxy.setPort(static_cast<quint16>(address.port(1080)));
    proxy.setUser(address.userName(QUrl::FullyDecoded));
    proxy.setPassword(address.password(QUrl::FullyDecoded));
    return proxy;
}

bool EnvironmentProxy::exempts(const QString& noProxy, const QString& host)
{
    const QString bare = withoutBrackets(host);
    static const QRegularExpression separators(QStringLiteral("[,\\s]+"));
    const QStringList tokens = noProxy.split(separators, Qt::SkipEmptyParts);
    for (const QString& token : tokens) {
        if (tokenExempts(token, bare))
            return true;
    }
    return false;
}

QHash<QString, QString> EnvironmentProxy::processEnvironment()
{
    QHash<QString, QString> environment;
    const QProcessEnvironment system = QProcessEnvironment::systemEnvironment();
    const QStringList keys = system.keys();
    for (const QString& key : keys) {
        if (key.endsWith(QLatin1String("_proxy"), Qt::CaseInsensitive))
            environment.insert(key, system.value(key));
    }
    return environment;
}
