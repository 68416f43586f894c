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
    // From the Qt download's error.
    static QString forReply(QNetworkReply::NetworkError error, const QString& proxy);
    // From curl's exit code and error output (curl 7.88 and later: 5 the proxy's name not
    // found, 7 the proxy not reached, 56 the proxy's answer to CONNECT, 97 a SOCKS handshake
    // that failed).
    static QString forCurlExit(int exitCode, const QString& errorOutput, const QString& proxy);

    static QString asksForPassword(const QString& proxy);
    static QString refused(const QString& proxy);
    static QString notFound(const QString& proxy);
    static QString timedOut(const QString& proxy);
    static QString brokeOff(const QString& proxy);
    static QString cannotReachServer(const QString& proxy);
    static QString failed(const QString& proxy);
};
