#pragma once

#include <QList>
#include <QNetworkProxy>
#include <QString>
#include <QUrl>

class QNetworkProxyFactory;
class QNetworkReply;

// Which proxy a connection to the release server takes: none (direct) or one proxy, as the
// system's settings give it (SystemProxyFactory). The Qt download asks the same factory, the
// curl fallback is handed this choice (CurlProxyArguments), and the failure reasons, the
// session log and the support file name its host and port. A user name and password the
// setting carries go to the connection only, never into a text.
class ProxyChoice
{
public:
    // A direct connection.
    ProxyChoice() = default;

    // The first of the proxies offered that can carry an encrypted connection (a tunnel: an
    // HTTP or SOCKS5 proxy, or none), as Qt's network access picks it; direct when there is
    // none such. Pure.
    static ProxyChoice from(const QList<QNetworkProxy>& offered);
    // What factory gives for url.
    static ProxyChoice forUrl(const QUrl& url, QNetworkProxyFactory& factory);
    // What the system's settings give for url (SystemProxyFactory).
    static ProxyChoice forUrl(const QUrl& url);
    // The proxy for the release server at serverBase (its catalogue's address): what the
    // downloads use. For the program's own reports (the support file, the computer check).
    static ProxyChoice forReleaseServer(const QUrl& serverBase);
    // The proxy the reply's access manager takes for the reply's address.
    static ProxyChoice of(const QNetworkReply& reply);

    bool isDirect() const { return chosen.type() == QNetworkProxy::NoProxy; }
    QNetworkProxy proxy() const { return chosen; }
    // "proxy.example:3128" ("[2001:db8::1]:3128"); empty when direct.
    QString hostAndPort() const;
    // hostAndPort(), or "none" when direct (the logs' and the support file's form, in English).
    QString description() const;
    // "http://proxy.example:3128", "socks5h://…"; never a user name or password; empty when
    // direct.
    QString urlWithoutCredentials() const;
    bool hasCredentials() const { return !chosen.user().isEmpty() || !chosen.password().isEmpty(); }

private:
    explicit ProxyChoice(const QNetworkProxy& proxy) : chosen(proxy) {}

    QNetworkProxy chosen = QNetworkProxy(QNetworkProxy::NoProxy);
};
