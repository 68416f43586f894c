#include "ProxyFailureText.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace {

// Qt's texts for the proxy's failures that reach the reply as UnknownNetworkError.
QString fromQtText(const QString& errorText, const QString& proxy)
{
    if (!errorText.contains(QLatin1String("proxy"), Qt::CaseInsensitive))
        return QString();
    if (errorText.contains(QLatin1String("refused"), Qt::CaseInsensitive)
        || errorText.contains(QLatin1String("denied"), Qt::CaseInsensitive))
        return ProxyFailureText::refused(proxy);
    if (errorText.contains(QLatin1String("not found"), Qt::CaseInsensitive))
        return ProxyFailureText::notFound(proxy);
    if (errorText.contains(QLatin1String("timed out"), Qt::CaseInsensitive))
        return ProxyFailureText::timedOut(proxy);
    if (errorText.contains(QLatin1String("authentication"), Qt::CaseInsensitive))
        return ProxyFailureText::asksForPassword(proxy);
    if (errorText.contains(QLatin1String("closed"), Qt::CaseInsensitive))
        return ProxyFailureText::brokeOff(proxy);
    return ProxyFailureText::failed(proxy);
}

} // namespace

QString ProxyFailureText::forReply(QNetworkReply::NetworkError error, const QString& proxy,
                                   const QString& errorText)
{
    if (proxy.isEmpty())
        return QString();
    switch (error) {
    case QNetworkReply::UnknownNetworkError:
        return fromQtText(errorText, proxy);
    case QNetworkReply::ProxyAuthenticationRequiredError:
        return asksForPassword(proxy);
    case QNetworkReply::ProxyConnectionRefusedError:
        return refused(proxy);
    case QNetworkReply::ProxyNotFoundError:
        return notFound(proxy);
    case QNetworkReply::ProxyTimeoutError:
        return timedOut(proxy);
    case QNetworkReply::ProxyConnectionClosedError:
        return brokeOff(proxy);
    case QNetworkReply::UnknownProxyError:
        return failed(proxy);
    // Through a proxy, only the proxy looks the release server up and connects to it: these
    // are its answers to the tunnel's request (404 and 503).
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::ConnectionRefusedError:
        return cannotReachServer(proxy);
    default:
        return QString();
    }
}

namespace {

QString forConnectAnswer(int status, const QString& proxy)
{
    if (status == 407)
        return ProxyFailureText::asksForPassword(proxy);
    if (status == 404 || status == 502 || status == 503 || status == 504)
        return ProxyFailureText::cannotReachServer(proxy);
    return ProxyFailureText::refused(proxy);
}

} // namespace

QString ProxyFailureText::forCurlExit(int exitCode, const QString& errorOutput,
                                      const QString& proxy, int connectAnswer)
{
    if (proxy.isEmpty() || exitCode == 0)
        return QString();
    if (connectAnswer >= 300)
        return forConnectAnswer(connectAnswer, proxy);
    switch (exitCode) {
    case 5: // could not resolve the proxy's name
        return notFound(proxy);
    case 7: // with a proxy, the only connection curl makes itself is to the proxy
        return refused(proxy);
    case 97: // the SOCKS handshake failed
        return failed(proxy);
    case 56: {
        // "CONNECT tunnel failed, response 407" (older versions: "Received HTTP code 407 from
        // proxy after CONNECT").
        static const QRegularExpression connectAnswer(
            QStringLiteral("(?:CONNECT tunnel failed, response|Received HTTP code) (\\d{3})"));
        const QRegularExpressionMatch match = connectAnswer.match(errorOutput);
        if (!match.hasMatch())
            return QString();
        return forConnectAnswer(match.captured(1).toInt(), proxy);
    }
    default:
        return QString();
    }
}

QString ProxyFailureText::asksForPassword(const QString& proxy)
{
    return QCoreApplication::translate("ProxyFailureText",
                                       "The proxy server %1 asks for a user name and password, "
                                       "and none it accepts was given. Check the proxy settings "
                                       "of this computer.")
        .arg(proxy);
}

QString ProxyFailureText::refused(const QString& proxy)
{
    return QCoreApplication::translate("ProxyFailureText",
                                       "The proxy server %1 refused the connection. Check the "
                                       "proxy settings of this computer.")
        .arg(proxy);
}

QString ProxyFailureText::notFound(const QString& proxy)
{
    return QCoreApplication::translate("ProxyFailureText",
                                       "The proxy server %1 could not be found. Check the proxy "
                                       "settings of this computer and the internet connection.")
        .arg(proxy);
}

QString ProxyFailureText::timedOut(const QString& proxy)
{
    return QCoreApplication::translate("ProxyFailureText",
                                       "The proxy server %1 did not answer in time. Check the "
                                       "proxy settings of this computer, or try again later.")
        .arg(proxy);
}

QString ProxyFailureText::brokeOff(const QString& proxy)
{
    return QCoreApplication::translate("ProxyFailureText",
                                       "The proxy server %1 closed the connection before the "
                                       "download was complete. Try again later, or check the "
                                       "proxy settings of this computer.")
        .arg(proxy);
}

QString ProxyFailureText::cannotReachServer(const QString& proxy)
{
    return QCoreApplication::translate("ProxyFailureText",
                                       "The proxy server %1 could not reach the release server. "
                                       "Try again later, or check the proxy settings of this "
                                       "computer.")
        .arg(proxy);
}

QString ProxyFailureText::failed(const QString& proxy)
{
    return QCoreApplication::translate("ProxyFailureText",
                                       "The connection through the proxy server %1 failed. Check "
                                       "the proxy settings of this computer.")
        .arg(proxy);
}
