#pragma once

#include "SimProxy.h"

// A proxy between the program and the release server for a row of the fault matrix: the
// environment names it (https_proxy, as the system's setting on Linux), and the rig reaches
// the server under a name only the proxy resolves (EndToEndRig::reachByName), so that nothing
// arrives but through it. It can ask for a user name and password in vain or stand for one
// that refuses the connection (its address then a port nobody listens on); clear() makes it a
// proxy that tunnels, for the way back.
class ProxyFault
{
public:
    enum class Kind { AsksForPassword, Refuses };

    ProxyFault();
    ~ProxyFault();

    // Starts the proxy, tunnelling, and names it in the environment.
    bool start();
    // The fault from now on.
    void strike(Kind kind);
    void clear();
    const SimProxy& proxy() const { return simProxy; }

private:
    static void nameInEnvironment(const QString& address);

    SimProxy simProxy;
};
