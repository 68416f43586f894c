#pragma once

#include <QByteArray>
#include <QStringList>

#include "ProxyChoice.h"

// How curl is told the proxy the system's settings give (ProxyChoice), so that it neither
// reads the environment's proxy variables itself nor misses the system's setting on Windows
// and macOS. Pure.
//
// Direct: "--noproxy *" (no proxy, whatever the environment says). A proxy: "--proxy
// <scheme://host:port>" and "--noproxy ''" (the environment's no_proxy does not count: the
// choice already heeded it). A user name and password never go on the command line, where
// other users of the computer can read them: they go to curl's standard input as its
// configuration ("-K -", config()), and curl answers whichever kind of authentication the
// proxy asks for ("--proxy-anyauth"). Through a proxy curl also writes the proxy's answer to
// its tunnel request on its standard output ("--write-out"), read back by connectAnswer(): with
// "--fail" curl reports a proxy's 403 or 407 as the release server's (exit code 22).
class CurlProxyArguments
{
public:
    static QStringList arguments(const ProxyChoice& proxy);
    // What curl reads from its standard input; empty when it reads nothing.
    static QByteArray config(const ProxyChoice& proxy);
    // The proxy's answer to curl's tunnel request (CONNECT) from curl's standard output; 0 when
    // none came (no proxy, or the connection to it failed).
    static int connectAnswer(const QByteArray& standardOutput);
    // A value in double quotes as curl's configuration reads it.
    static QByteArray quoted(const QString& value);
};
