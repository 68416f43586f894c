#pragma once

#include <QHash>
#include <QNetworkProxy>
#include <QString>
#include <QUrl>

// The proxy the environment names for an address, read the way curl and most Unix programs
// read it. Pure: the environment is handed in.
//
// For an https address: https_proxy, then all_proxy, then http_proxy (the one most people
// set), each in lower case first and then in upper case; for any other address its own
// scheme's variable (<scheme>_proxy), then all_proxy. The first that is set and not empty
// counts. Its value is an address: "host:port", "http://host:port", "socks5://host:port" or
// "socks5h://host:port" (the proxy looks the names up), optionally with "user:password@"
// before the host (percent-encoded). Without a port it is 1080, as curl takes it. A value of
// another kind (an https or socks4 proxy, which the program cannot speak) or one that is no
// address is not used: the connection is then direct.
//
// no_proxy (or NO_PROXY) exempts hosts: a comma- or blank-separated list of names (each
// matching itself and every name below it: "example.com" and ".example.com" match
// "www.example.com" but not "myexample.com"), IP addresses, subnets ("10.0.0.0/8") and "*"
// (every host).
class EnvironmentProxy
{
public:
    // The proxy for url under environment; QNetworkProxy::NoProxy for a direct connection.
    static QNetworkProxy forUrl(const QUrl& url, const QHash<QString, QString>& environment);
    // The proxy a variable's value names; NoProxy when it names none that can be used.
    static QNetworkProxy fromValue(const QString& value);
    // Whether the no_proxy list exempts host.
    static bool exempts(const QString& noProxy, const QString& host);
    // The running program's environment, as forUrl() takes it.
    static QHash<QString, QString> processEnvironment();
};
