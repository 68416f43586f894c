#include "WorkerRig.h"

#include "StorageTestTimings.h"

#include <QMetaObject>

WorkerRig::WorkerRig() : timings(StorageTestTimings::shortOnes())
{
    clock.start();
    manager = new FileManager(sim.volumeList(), sim.dismounter(), sim.folderOpener(), timings);
    worker = new QThread;
    manager->moveToThread(worker);
    worker->start();

    connect(manager, &FileManager::copyProgress, this, [this](int p) {
        progress.append(p);
        events.append(QStringLiteral("progress"));
    });
    connect(manager, &FileManager::fileTransferComplete, this, [this](bool ok) {
        transferResults.append(ok);
        transferTimesMs.append(clock.elapsed());
        events.append(QStringLiteral("transfer:%1").arg(ok));
    });
    connect(manager, &FileManager::ejectCompleted, this, [this](bool ok) {
        ejectResults.append(ok);
        events.append(QStringLiteral("eject:%1").arg(ok));
    });
    connect(manager, &FileManager::volumeRefused, this,
            [this](const QString& reason) { events.append("refused:" + reason); });
    connect(&sim, &SimulatedStorage::volumeDismounted, this,
            [this](const QString& label, const QString&) { events.append("dismounted:" + label); });
    connect(&sim, &SimulatedStorage::folderOpened, this,
            [this](const QUrl& url) { events.append("opened:" + url.toLocalFile()); });
}

WorkerRig::~WorkerRig()
{
    worker->quit();
    worker->wait();
    delete manager;
    delete worker;
}

void WorkerRig::downloadFinished(bool success, const QString& path, const QString& name)
{
    QMetaObject::invokeMethod(
        manager, [m = manager, success, path, name] { m->onDownloadFinished(success, path, name); },
        Qt::QueuedConnection);
}

void WorkerRig::deviceSetToTransferMode()
{
    QMetaObject::invokeMethod(manager, &FileManager::onDeviceSetToTransferMode, Qt::QueuedConnection);
}

void WorkerRig::requestEject(const QString& label)
{
    QMetaObject::invokeMethod(
        manager, [m = manager, label] { m->ejectDeviceAndEmit(label); }, Qt::QueuedConnection);
}

void WorkerRig::requestOpenFolder(const QString& label, const QString& relativePath)
{
    QMetaObject::invokeMethod(
        manager, [m = manager, label, relativePath] { m->openFolderOnDevice(label, relativePath); },
        Qt::QueuedConnection);
}

int WorkerRig::retryCount()
{
    int count = -1;
    QMetaObject::invokeMethod(
        manager, [&] { count = manager->currentRetryCount(); }, Qt::BlockingQueuedConnection);
    return count;
}

QString WorkerRig::mountPath(const QString& label)
{
    QString path;
    QMetaObject::invokeMethod(
        manager, [&] { path = manager->findDeviceMountPath(label); }, Qt::BlockingQueuedConnection);
    return path;
}

bool WorkerRig::mounted(const QString& label)
{
    bool result = false;
    QMetaObject::invokeMethod(
        manager, [&] { result = manager->isDeviceMounted(label); }, Qt::BlockingQueuedConnection);
    return result;
}
