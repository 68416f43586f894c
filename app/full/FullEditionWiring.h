#pragma once

#include "download/full/Downloader.h"
#include "app/full/MainController.h"
#include "BackupFlow.h"
#include "device/full/MidiHandler.h"
#include "ComputerCheck.h"
#include "HistoryLog.h"
#include "HistoryModel.h"
#include "HistoryRecorder.h"
#include "InterruptedUpdate.h"
#include "Presence.h"
#include "RestoreFlow.h"
#include "TransferFlow.h"
#include "UpdateFlow.h"
#include "StorageWorker.h"
#include "UpdateChoices.h"
#include "Wiring.h"

#include <QUrl>

#include <memory>

class FileManager;
class FileManagerBridge;
struct Platform;
struct Timings;

// The full edition's object graph: the update path of both editions, plus the transfer
// mode (the eject result to the link, and the FileManagerBridge with its two requests) and
// the backup and restore over it (their workers on the storage thread).
//
// The constructor is the first wiring phase (the objects, the storage worker, the catalogue
// request, the connections, the bridge), publish() the second (the context properties). The
// entry point, the demo and the tests run the same code; only the platform seams, the release
// server and the timings differ.
class FullEditionWiring : public Wiring
{
public:
    FullEditionWiring(const Platform& platform, const QUrl& releaseServer, const Timings& timings);
    ~FullEditionWiring() override;

    FullEditionWiring(const FullEditionWiring&) = delete;
    FullEditionWiring& operator=(const FullEditionWiring&) = delete;

    void publish(QQmlApplicationEngine& engine) override;
    QList<Published> published() override;
    QObject* storage() const override;
    QThread* workerThread() const override { return m_worker.thread(); }

    MidiHandler& midiHandler() { return m_midiHandler; }
    Downloader& downloader() { return m_downloader; }
    MainController& mainController() { return m_mainController; }
    FileManager* fileManager() const { return m_fileManager; }
    FileManagerBridge* fileManagerBridge() const { return m_fileManagerBridge; }
    UpdateChoices& updateChoices() { return m_updateChoices; }
    Presence& presence() { return m_presence; }
    UpdateFlow& updateFlow() { return m_updateFlow; }
    InterruptedUpdate& interruptedUpdate() { return m_interruptedUpdate; }
    // What the program did to the instrument: the backup and restore flows record theirs here.
    HistoryRecorder& history() { return m_history; }
    HistoryModel& historyModel() { return m_historyModel; }
    // "Check this computer" in the window's menu.
    ComputerCheck& computerCheck() { return *m_computerCheck; }
    TransferFlow& transferFlow() { return m_transferFlow; }
    BackupFlow& backupFlow() { return m_backupFlow; }
    RestoreFlow& restoreFlow() { return m_restoreFlow; }
    // Where backups go and are looked for (the user's documents; a folder of the test's own).
    void setBackupsRoot(const QString& folder);

private:
    // The backup and restore flows' requests to their workers on the storage thread, and
    // their reports back.
    void connectBackup();

    // Declared in creation order: destroyed in reverse, the MainController first and the
    // MidiHandler last, after the storage worker has stopped.
    MidiHandler m_midiHandler;
    Downloader m_downloader;
    FileManager* m_fileManager;
    MainController m_mainController;
    StorageWorker m_worker;
    FileManagerBridge* m_fileManagerBridge = nullptr;
    // The version list and the local file, over the Downloader's core; destroyed first.
    UpdateChoices m_updateChoices;
    // The flows the window binds to (and "tavlo" follows); destroyed before what they call.
    Presence m_presence;
    UpdateFlow m_updateFlow;
    InterruptedUpdate m_interruptedUpdate{m_presence, m_updateFlow};
    TransferFlow m_transferFlow;
    BackupFlow m_backupFlow{m_presence, m_transferFlow, m_updateFlow};
    RestoreFlow m_restoreFlow{m_presence, m_transferFlow};
    // The history file (in the state folder; none in the tests), its recorder and the
    // History page's list; the recorder goes before the flow it follows.
    HistoryLog m_historyLog;
    HistoryRecorder m_history{m_historyLog, m_updateFlow, m_presence};
    HistoryModel m_historyModel{m_historyLog};
    // The computer check; destroyed first, before the storage thread it hands work to.
    std::unique_ptr<ComputerCheck> m_computerCheck;
};
