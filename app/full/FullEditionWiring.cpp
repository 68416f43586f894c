#include "app/full/FullEditionWiring.h"

#include "storage/full/FileManager.h"
#include "BackupList.h"
#include "BackupWorker.h"
#include "RestoreWorker.h"
#include "PlainReadableFiles.h"
#include "app/full/FileManagerBridge.h"
#include "Platform.h"
#include "SupportFile.h"
#include "Timings.h"
#include "FlowConnections.h"
#include "UpdatePathConnections.h"

#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QtQml>

namespace {

// The FileManager with the backup's and the restore's workers as its children, made before
// the storage worker moves them all onto its thread.
FileManager* createFileManager(const Platform& platform, const StorageTimings& timings)
{
    auto* files = new FileManager(platform.volumes, platform.dismount, platform.folders, timings);
    std::shared_ptr<ReadableFiles> readable = platform.files;
    if (!readable)
        readable = std::make_shared<PlainReadableFiles>();
    // The volume is waited for as long as the hand-over waits for the update volume.
    const int volumeWaitMs = timings.volumeRetryIntervalMs * (timings.maxVolumeRetries + 1);
    new BackupWorker(platform.volumes, readable, volumeWaitMs, files);
    new RestoreWorker(platform.volumes, readable, volumeWaitMs, files);
    return files;
}

} // namespace

FullEditionWiring::FullEditionWiring(const Platform& platform, const QUrl& releaseServer,
                                     const Timings& timings)
    : m_midiHandler(platform.midi, platform.usb, timings.device),
      m_downloader(releaseServer, timings.download),
      m_fileManager(createFileManager(platform, timings.storage)),
      m_worker(m_fileManager),
      m_updateChoices(m_downloader.updateDownload()),
      m_updateFlow(m_presence, UpdateFlowPolicy::fullEdition(), timings.flow),
      m_transferFlow(m_presence, m_updateFlow),
      m_historyLog(HistoryLog::inFolder(platform.appFolders.state))
{
    UpdatePathConnections::connectAvailabilityLogAndFetch(m_downloader);
    UpdatePathConnections::connectUpdatePath(m_midiHandler, m_downloader, *m_fileManager,
                                             m_mainController);
    // After an eject (the transfer mode's "DONE") the link waits for the transfer's end.
    QObject::connect(m_fileManager, &FileManager::ejectCompleted, &m_midiHandler,
                     &MidiHandler::onEjectCompleted, Qt::QueuedConnection);
    QObject::connect(m_fileManager, &FileManager::ejectCompleted, &m_transferFlow,
                     &TransferFlow::onEjectResult, Qt::QueuedConnection);
    // Emitted before the eject's result: the screen that "DONE" comes back to says why.
    QObject::connect(m_fileManager, &FileManager::volumeRefused, &m_transferFlow,
                     &TransferFlow::onVolumeRefused, Qt::QueuedConnection);
    QObject::connect(&m_midiHandler, &MidiHandler::tavloReceivedVersion, &m_updateChoices,
                     &UpdateChoices::setInstalledVersion);
    FlowConnections::connectUpdate(m_midiHandler, m_downloader, m_mainController, m_presence,
                                   m_updateFlow);
    FlowConnections::connectDownloadStatus(m_downloader, m_updateFlow);
    FlowConnections::connectTransfer(m_midiHandler, nullptr, m_transferFlow);
    m_updateFlow.setChoices(&m_updateChoices);
    m_updateFlow.setSleepGuard(platform.sleep);
    FlowConnections::connectInterrupted(m_midiHandler, *m_fileManager, m_updateFlow,
                                        m_interruptedUpdate);
    QObject::connect(m_fileManager, &FileManager::readBackChecked, &m_history,
                     &HistoryRecorder::onReadBackChecked, Qt::QueuedConnection);
    QObject::connect(&m_history, &HistoryRecorder::recorded, &m_historyModel, &HistoryModel::reload);
    m_computerCheck = std::make_unique<ComputerCheck>(
        ComputerCheck::fromPlatform(platform, m_fileManager, &m_presence, releaseServer),
        timings.diagnosis);
    // The window's folder buttons and "DONE", and a backup's or restore's eject (also without
    // a window), carried out one after another on the worker.
    m_fileManagerBridge = new FileManagerBridge;
    m_transferFlow.setBridge(m_fileManagerBridge);
    QObject::connect(m_fileManagerBridge, &FileManagerBridge::requestOpenFolder, m_fileManager,
                     &FileManager::openFolderOnDevice, Qt::QueuedConnection);
    QObject::connect(m_fileManagerBridge, &FileManagerBridge::requestEjectDevice, m_fileManager,
                     &FileManager::ejectDeviceAndEmit, Qt::QueuedConnection);
    connectBackup();
    setBackupsRoot(platform.appFolders.backups);
}

void FullEditionWiring::connectBackup()
{
    auto* worker = m_fileManager->findChild<BackupWorker*>();
    QObject::connect(&m_backupFlow, &BackupFlow::backUpRequested, worker, &BackupWorker::backUp,
                     Qt::QueuedConnection);
    // The worker's cancel() only sets a flag: called at once, while the worker copies.
    QObject::connect(&m_backupFlow, &BackupFlow::cancelRequested, worker,
                     [worker] { worker->cancel(); }, Qt::DirectConnection);
    QObject::connect(worker, &BackupWorker::backupSized, &m_backupFlow, &BackupFlow::onBackupSized,
                     Qt::QueuedConnection);
    QObject::connect(worker, &BackupWorker::backupProgress, &m_backupFlow,
                     &BackupFlow::onBackupProgress, Qt::QueuedConnection);
    QObject::connect(worker, &BackupWorker::backupFinished, &m_backupFlow,
                     &BackupFlow::onBackupFinished, Qt::QueuedConnection);
    auto* restorer = m_fileManager->findChild<RestoreWorker*>();
    QObject::connect(&m_restoreFlow, &RestoreFlow::checkRequested, restorer,
                     &RestoreWorker::checkBackup, Qt::QueuedConnection);
    QObject::connect(&m_restoreFlow, &RestoreFlow::planRequested, restorer,
                     &RestoreWorker::planRestore, Qt::QueuedConnection);
    QObject::connect(&m_restoreFlow, &RestoreFlow::restoreRequested, restorer,
                     &RestoreWorker::restore, Qt::QueuedConnection);
    QObject::connect(&m_restoreFlow, &RestoreFlow::cancelRequested, restorer,
                     [restorer] { restorer->cancel(); }, Qt::DirectConnection);
    QObject::connect(restorer, &RestoreWorker::backupChecked, &m_restoreFlow,
                     &RestoreFlow::onBackupChecked, Qt::QueuedConnection);
    QObject::connect(restorer, &RestoreWorker::restorePlanned, &m_restoreFlow,
                     &RestoreFlow::onRestorePlanned, Qt::QueuedConnection);
    QObject::connect(restorer, &RestoreWorker::restoreProgress, &m_restoreFlow,
                     &RestoreFlow::onRestoreProgress, Qt::QueuedConnection);
    QObject::connect(restorer, &RestoreWorker::restoreFinished, &m_restoreFlow,
                     &RestoreFlow::onRestoreFinished, Qt::QueuedConnection);
    // An update after its backup starts once the link's wait for the instrument's return is over.
    QObject::connect(&m_midiHandler, &MidiHandler::deviceReenumerationFinished, &m_backupFlow,
                     &BackupFlow::onLinkSettled);
    m_backupFlow.setLinkSettles(true);
    // Each backup and restore goes into the history; the last backup's size and duration
    // are the next one's estimate.
    QObject::connect(&m_backupFlow, &BackupFlow::recorded, &m_history, &HistoryRecorder::recordBackup);
    QObject::connect(&m_restoreFlow, &RestoreFlow::recorded, &m_history,
                     &HistoryRecorder::recordRestore);
    if (const std::optional<HistoryRecord> last = m_history.lastBackup())
        m_backupFlow.setLastBackup(last->bytes, last->durationMs);
    // A new backup is one more to restore from.
    QObject::connect(&m_backupFlow, &BackupFlow::stateChanged, &m_restoreFlow,
                     [this](BackupFlow::State state) {
                         if (state == BackupFlow::State::Done || state == BackupFlow::State::Idle)
                             m_restoreFlow.refresh();
                     });
}

void FullEditionWiring::setBackupsRoot(const QString& folder)
{
    m_backupFlow.setBackupsRoot(folder);
    m_restoreFlow.setLister([folder] {
        return folder.isEmpty() ? QList<BackupList::Item>{} : BackupList::read(folder);
    });
}

FullEditionWiring::~FullEditionWiring()
{
    // The window that used the bridge is gone by now (the engine ends before the wiring).
    m_transferFlow.setBridge(nullptr);
    delete m_fileManagerBridge;
    m_fileManagerBridge = nullptr;
}

void FullEditionWiring::publish(QQmlApplicationEngine& engine)
{
    // The writer behind the window's "Save support file…" (made by the window itself).
    qmlRegisterType<SupportFile>("Tavlo_Support", 1, 0, "SupportFile");
    QQmlContext* context = engine.rootContext();
    context->setContextProperty(QStringLiteral("midiHandler"), &m_midiHandler);
    context->setContextProperty(QStringLiteral("downloader"), &m_downloader);
    context->setContextProperty(QStringLiteral("mainController"), &m_mainController);
    context->setContextProperty(QStringLiteral("updateChoices"), &m_updateChoices);
    context->setContextProperty(QStringLiteral("presence"), &m_presence);
    context->setContextProperty(QStringLiteral("updateFlow"), &m_updateFlow);
    context->setContextProperty(QStringLiteral("transferFlow"), &m_transferFlow);
    context->setContextProperty(QStringLiteral("interruptedUpdate"), &m_interruptedUpdate);
    context->setContextProperty(QStringLiteral("backupFlow"), &m_backupFlow);
    context->setContextProperty(QStringLiteral("restoreFlow"), &m_restoreFlow);
    context->setContextProperty(QStringLiteral("historyModel"), &m_historyModel);
    context->setContextProperty(QStringLiteral("computerCheck"), m_computerCheck.get());

    context->setContextProperty(QStringLiteral("fileManagerBridge"), m_fileManagerBridge);
}

QList<Wiring::Published> FullEditionWiring::published()
{
    QList<Published> list{{QStringLiteral("midiHandler"), &m_midiHandler},
                          {QStringLiteral("downloader"), &m_downloader},
                          {QStringLiteral("mainController"), &m_mainController}};
    if (m_fileManagerBridge)
        list.append({QStringLiteral("fileManagerBridge"), m_fileManagerBridge});
    list.append({QStringLiteral("updateChoices"), &m_updateChoices});
    list.append({QStringLiteral("presence"), &m_presence});
    list.append({QStringLiteral("updateFlow"), &m_updateFlow});
    list.append({QStringLiteral("transferFlow"), &m_transferFlow});
    list.append({QStringLiteral("interruptedUpdate"), &m_interruptedUpdate});
    list.append({QStringLiteral("backupFlow"), &m_backupFlow});
    list.append({QStringLiteral("restoreFlow"), &m_restoreFlow});
    list.append({QStringLiteral("historyModel"), &m_historyModel});
    list.append({QStringLiteral("computerCheck"), m_computerCheck.get()});
    return list;
}

QObject* FullEditionWiring::storage() const
{
    return m_fileManager;
}
