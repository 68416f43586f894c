#include "ProxyFault.h"

#include <QtGlobal>

namespace {
const char* const kVariables[] = {"http_proxy", "https_proxy", "all_proxy", "no_proxy",
                                  "HTTP_PROXY", "HTTPS_PROXY", "ALL_PROXY", "NO_PROXY"};
} // namespace

ProxyFault::ProxyFault() = default;

ProxyFault::~ProxyFault()
{
    nameInEnvironment(QString());
}

bool ProxyFault::start()
{
    if (!simProxy.start())
        return false;
    nameInEnvironment(simProxy.address());
    return true;
}

void ProxyFault::strike(Kind kind)
{
    if (kind == Kind::AsksForPassword) {
        simProxy.setMode(SimProxy::Mode::AskForPassword);
        return;
    }
    nameInEnvironment(QStringLiteral("http://127.0.0.1:%1").arg(SimProxy::closedPort()));
}

void ProxyFault::clear()
{
    simProxy.setMode(SimProxy::Mode::Tunnel);
    nameInEnvironment(simProxy.address());
}

void ProxyFault::nameInEnvironment(const QString& address)
{
    for (const char* name : kVariables)
        qunsetenv(name);
    if (!address.isEmpty())
        qputenv("https_proxy", address.toUtf8());
}
