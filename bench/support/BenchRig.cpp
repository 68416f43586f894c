#include "BenchRig.h"

#include "ReleaseServer.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>

#include <cstdio>

BenchRig::BenchRig(ServerThread where) : where(where)
{
    qputenv("TMPDIR", QFile::encodeName(work.path()));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(work.path()));
}

BenchRig::~BenchRig()
{
    stopServer();
}

void BenchRig::onServer(const std::function<void(ReleaseServer&)>& call)
{
    QMetaObject::invokeMethod(
        &context,
        [this, &call] {
            if (!server)
                server = new ReleaseServer;
            call(*server);
        },
        thread.isRunning() ? Qt::BlockingQueuedConnection : Qt::DirectConnection);
}

bool BenchRig::startServer(const QByteArray& catalogue)
{
    if (where == ServerThread::OwnThread && !thread.isRunning()) {
        thread.start();
        context.moveToThread(&thread);
    }
    bool started = false;
    QString why;
    onServer([&](ReleaseServer& releases) {
        releases.setCatalogue(catalogue);
        started = releases.start();
        why = releases.errorText();
        url = releases.baseUrl();
    });
    if (!started) {
        std::fprintf(stderr, "release server: %s\n", qPrintable(why));
        return false;
    }
    ReleaseServer::trustInThisProcess();
    return true;
}

void BenchRig::stopServer()
{
    if (!server)
        return;
    QMetaObject::invokeMethod(
        &context,
        [this] {
            delete server;
            server = nullptr;
        },
        thread.isRunning() ? Qt::BlockingQueuedConnection : Qt::DirectConnection);
    thread.quit();
    thread.wait();
}

bool BenchRig::runUntil(const std::function<bool()>& done, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    return true;
}

void BenchRig::runFor(int ms)
{
    QDeadlineTimer deadline(ms);
    runUntil([&deadline] { return deadline.hasExpired(); }, ms + 1000);
}
