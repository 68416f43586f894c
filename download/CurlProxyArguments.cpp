#include "CurlProxyArguments.h"

QStringList CurlProxyArguments::arguments(const ProxyChoice& proxy)
{
    if (proxy.isDirect())
        return {QStringLiteral("--noproxy"), QStringLiteral("*")};
    QStringList result{QStringLiteral("--proxy"), proxy.urlWithoutCredentials(),
                       QStringLiteral("--noproxy"), QString()};
    if (proxy.hasCredentials())
        result << QStringLiteral("--proxy-anyauth") << QStringLiteral("-K") << QStringLiteral("-");
    return result;
}

QByteArray CurlProxyArguments::config(const ProxyChoice& proxy)
{
    if (proxy.isDirect() || !proxy.hasCredentials())
        return QByteArray();
    const QNetworkProxy chosen = proxy.proxy();
    // curl takes the user name up to the first colon, the rest as the password.
    return "proxy-user = " + quoted(chosen.user() + QLatin1Char(':') + chosen.password()) + '\n';
}

QByteArray CurlProxyArguments::quoted(const QString& value)
{
    QByteArray out("\"");
    const QByteArray bytes = value.toUtf8();
    for (const char c : bytes) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\v': out += "\\v"; break;
        default: out += c; break;
        }
    }
    return out + '"';
}
