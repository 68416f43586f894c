#pragma once

#include <QList>
#include <QNetworkProxy>
#include <QString>

// The proxies the system's settings give for a connection, as the program's network access
// and its curl fallback take them. What "the system's settings" are differs by system:
// - Windows: the user's Internet settings (WinINet, the "Proxy" page of the system's
//   settings, including automatic detection and a configuration script), read through
//   WinHTTP by Qt's system proxy support;
// - macOS: the network's proxies in System Settings (the configuration script included),
//   read through CFNetwork by Qt's system proxy support;
// - Linux and the other Unix systems: the environment (http_proxy, https_proxy, all_proxy and
//   no_proxy, in lower or upper case; see EnvironmentProxy), not a desktop's own settings.
// Everywhere a connection to the computer itself (localhost, 127.0.0.0/8, ::1) is direct: a
// proxy elsewhere cannot reach it. (Qt 6.4's application-wide proxy query does the same for
// "localhost" and loopback addresses; a factory set on an access manager is asked for every
// host, so the rule is here. The tests reach their local server through a proxy under a name
// only that proxy resolves, SimProxy.) On Linux Qt's own system proxy support would go through
// libproxy (a desktop's settings, configuration scripts) where Qt is built with it, as
// Debian's is; the environment alone is taken instead, so that the program and curl, and every
// desktop, follow the same rules. No user name or password is asked for: one is used only
// where the setting itself carries it (an environment variable's address); else the proxy's
// request for one ends the connection with a reason that names the proxy.
//
// Never throws; Qt's calls on Windows and macOS may take a moment (a configuration script).
class SystemProxyFactory : public QNetworkProxyFactory
{
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery& query) override;

    // Whether host is the computer itself (a loopback address or "localhost"). Pure.
    static bool isLoopback(const QString& host);
};
