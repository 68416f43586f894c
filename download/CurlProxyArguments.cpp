#include "CurlProxyArguments.h"

#include <QRegularExpression>

QStringList CurlProxyArguments::arguments(const ProxyChoice& proxy)
{
    if (proxy.isDirect())
        return {QStringLiteral("--noproxy"), QStringLiteral("*")};
    QStringList result{QStringLiteral("--proxy"), proxy.urlWithoutCredentials(),
                       QStringLiteral("--noproxy"), QString(),
                       QStringLiteral("--write-out"), QStringLiteral("proxy CONNECT %{http_connect}\n")};
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

int CurlProxyArguments::connectAnswer(const QByteArray& standardOutput)
{
    static const QRegularExpression answer(QStringLiteral("proxy CONNECT (\\d{3})"));
    const QRegularExpressionMatch match = answer.match(QString::fromLatin1(standardOutput));
    return match.hasMatch() ? match.captured(1).toInt() : 0;
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
