#include "app/updater/UpdaterEditionWiring.h"

#include "storage/updater/FileManager.h"
#include "Platform.h"
#include "Timings.h"
#include "FlowConnections.h"
#include "UpdatePathConnections.h"

#include <QQmlApplicationEngine>
#include <QQmlContext>

UpdaterEditionWiring::UpdaterEditionWiring(const Platform& platform, const QUrl& releaseServer,
                                           const Timings& timings)
    : m_midiHandler(platform.midi, platform.usb, timings.device),
      m_downloader(releaseServer, timings.download),
      m_fileManager(new FileManager(platform.volumes, timings.storage)),
      m_worker(m_fileManager),
      m_updateChoices(m_downloader.updateDownload()),
      m_updateFlow(m_presence, UpdateFlowPolicy::updateOnlyEdition(), timings.flow),
      m_historyLog(HistoryLog::inFolder(platform.appFolders.state))
{
    UpdatePathConnections::connectAvailabilityLogAndFetch(m_downloader);
    UpdatePathConnections::connectUpdatePath(m_midiHandler, m_downloader, *m_fileManager,
                                             m_mainController);
    QObject::connect(&m_midiHandler, &MidiHandler::tavloReceivedVersion, &m_updateChoices,
                     &UpdateChoices::setInstalledVersion);
    FlowConnections::connectUpdate(m_midiHandler, m_downloader, m_mainController, m_presence,
                                   m_updateFlow);
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
}

void UpdaterEditionWiring::publish(QQmlApplicationEngine& engine)
{
    QQmlContext* context = engine.rootContext();
    for (const Published& entry : published())
        context->setContextProperty(entry.name, entry.object);
}

QList<Wiring::Published> UpdaterEditionWiring::published()
{
    return {{QStringLiteral("midiHandler"), &m_midiHandler},
            {QStringLiteral("downloader"), &m_downloader},
            {QStringLiteral("mainController"), &m_mainController},
            {QStringLiteral("updateChoices"), &m_updateChoices},
            {QStringLiteral("presence"), &m_presence},
            {QStringLiteral("updateFlow"), &m_updateFlow},
            {QStringLiteral("interruptedUpdate"), &m_interruptedUpdate},
            {QStringLiteral("historyModel"), &m_historyModel},
            {QStringLiteral("computerCheck"), m_computerCheck.get()}};
}

QObject* UpdaterEditionWiring::storage() const
{
    return m_fileManager;
}
