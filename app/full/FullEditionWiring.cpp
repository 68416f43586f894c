#include "app/full/FullEditionWiring.h"

#include "storage/full/FileManager.h"
#include "app/full/FileManagerBridge.h"
#include "Platform.h"
#include "SupportFile.h"
#include "Timings.h"
#include "FlowConnections.h"
#include "UpdatePathConnections.h"

#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QtQml>

FullEditionWiring::FullEditionWiring(const Platform& platform, const QUrl& releaseServer,
                                     const Timings& timings)
    : m_midiHandler(platform.midi, platform.usb, timings.device),
      m_downloader(releaseServer, timings.download),
      m_fileManager(new FileManager(platform.volumes, platform.dismount, platform.folders,
                                    timings.storage)),
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
}

FullEditionWiring::~FullEditionWiring()
{
    // The window that used the bridge is gone by now (the engine ends before the wiring).
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
    context->setContextProperty(QStringLiteral("historyModel"), &m_historyModel);

    m_fileManagerBridge = new FileManagerBridge;
    context->setContextProperty(QStringLiteral("fileManagerBridge"), m_fileManagerBridge);
    m_transferFlow.setBridge(m_fileManagerBridge);
    // The window's folder buttons and "DONE", carried out one after another on the worker.
    QObject::connect(m_fileManagerBridge, &FileManagerBridge::requestOpenFolder, m_fileManager,
                     &FileManager::openFolderOnDevice, Qt::QueuedConnection);
    QObject::connect(m_fileManagerBridge, &FileManagerBridge::requestEjectDevice, m_fileManager,
                     &FileManager::ejectDeviceAndEmit, Qt::QueuedConnection);
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
    list.append({QStringLiteral("historyModel"), &m_historyModel});
    return list;
}

QObject* FullEditionWiring::storage() const
{
    return m_fileManager;
}
