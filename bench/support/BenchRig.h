#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>

#include <functional>

class ReleaseServer;

// What the benchmarks that run the program's wiring against the local release server share:
// a temporary folder for the download folder and the caches (TMPDIR, XDG_CACHE_HOME), the
// release server trusted in this process, on this thread or on a thread of its own (as a
// server elsewhere would not take the window's thread), and the event loop run until a
// condition holds.
class BenchRig
{
public:
    enum class ServerThread { Caller, OwnThread };

    // Points TMPDIR and XDG_CACHE_HOME into the rig's folder (the rig may be made before the
    // application object; the server is made with startServer(), after it).
    explicit BenchRig(ServerThread where = ServerThread::Caller);
    // Stops the server if stopServer() has not.
    ~BenchRig();
    BenchRig(const BenchRig&) = delete;
    BenchRig& operator=(const BenchRig&) = delete;

    // Starts the server with this catalogue and trusts it; false, with the reason on standard
    // error, when it cannot listen.
    bool startServer(const QByteArray& catalogue);
    // Ends the server and its thread; before the application object goes.
    void stopServer();
    // Runs call with the server on the server's thread and returns once it has run.
    void onServer(const std::function<void(ReleaseServer&)>& call);
    QUrl serverUrl() const { return url; }
    QString folder() const { return work.path(); }

    // Runs this thread's event loop until done() or the deadline; false on the deadline.
    static bool runUntil(const std::function<bool()>& done, int timeoutMs);
    static void runFor(int ms);

private:
    ServerThread where;
    QTemporaryDir work;
    QThread thread;
    QObject context;
    ReleaseServer* server = nullptr;
    QUrl url;
};
