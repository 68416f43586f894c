#pragma once

#include "storage/full/FileManager.h"
#include <SimulatedStorage.h>
#include <StorageTimings.h>

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QThread>

// The FileManager as the program runs it: created without a parent, moved to a started
// worker QThread, driven by queued calls, its signals received queued on the main thread.
// Storage comes from the simulated instrument; the timings are the tests' short ones.
class WorkerRig : public QObject
{
    Q_OBJECT

public:
    WorkerRig();
    ~WorkerRig() override;

    StorageTimings timings;
    SimulatedStorage sim;
    FileManager* manager = nullptr;
    QThread* worker = nullptr;

    // Everything the FileManager reported, in arrival order on the main thread.
    QList<int> progress;
    QList<bool> transferResults;
    QList<qint64> transferTimesMs; // since the rig was made
    QList<bool> ejectResults;
    QStringList events; // "progress", "transfer:1", "eject:0", "dismounted:<label>", "refused:<reason>", ...
    QElapsedTimer clock;

    // Queued requests, as the program's connections deliver them.
    void downloadFinished(bool success, const QString& path, const QString& name);
    void deviceSetToTransferMode();
    void requestEject(const QString& label);
    void requestOpenFolder(const QString& label, const QString& relativePath);

    // Runs on the worker thread and waits for the result.
    int retryCount();
    QString mountPath(const QString& label);
    bool mounted(const QString& label);
};
