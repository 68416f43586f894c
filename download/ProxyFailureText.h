#pragma once

#include <QNetworkReply>
#include <QString>

// The reason a download failed at the proxy server, in plain words for the window, naming the
// proxy (its host and port, never a user name or password) and what to do: check the
// computer's proxy settings. Pure: built from the error and the proxy in use (ProxyChoice::
// hostAndPort(); empty: there was none).
//
// Each function returns an empty text when the failure is not the proxy's doing (or no proxy
// was in use): the release server's reason (DownloadFailureText) stands then.
class ProxyFailureText
{
public:
    // From the Qt download's error and its error text. Qt 6.4 reports a proxy that refuses the
    // connection, forbids the tunnel (403) or fails otherwise on the way to the tunnel as
    // UnknownNetworkError; only its text (English: the programs install no catalogue of Qt's
    // own) tells these apart.
    static QString forReply(QNetworkReply::NetworkError error, const QString& proxy,
                            const QString& errorText = QString());
    // From curl's exit code, its error output and the proxy's answer to its tunnel request
    // (connectAnswer: 0 when none came; see CurlProxyArguments). curl's codes: 5 the proxy's
    // name not found, 7 the proxy not reached, 22 (with --fail) or 56 an answer other than 200
    // to CONNECT, 97 a SOCKS handshake that failed.
    static QString forCurlExit(int exitCode, const QString& errorOutput, const QString& proxy,
                               int connectAnswer = 0);

    static QString asksForPassword(const QString& proxy);
    static QString refused(const QString& proxy);
    static QString notFound(const QString& proxy);
    static QString timedOut(const QString& proxy);
    static QString brokeOff(const QString& proxy);
    static QString cannotReachServer(const QString& proxy);
    static QString failed(const QString& proxy);
};
