#pragma once

#include "download/updater/Downloader.h"
#include "app/updater/MainController.h"
#include "device/updater/MidiHandler.h"
#include "ComputerCheck.h"
#include "HistoryLog.h"
#include "HistoryModel.h"
#include "HistoryRecorder.h"
#include "InterruptedUpdate.h"
#include "Presence.h"
#include "UpdateFlow.h"
#include "StorageWorker.h"
#include "UpdateChoices.h"
#include "Wiring.h"

#include <QUrl>

#include <memory>

class FileManager;
struct Platform;
struct Timings;

// The update-only edition's object graph: the update path alone. There is no transfer mode,
// so no FileManagerBridge, no eject result and four context properties (the three
// objects and the version choices).
//
// The constructor is the first wiring phase, publish() the second, as in the full edition.
class UpdaterEditionWiring : public Wiring
{
public:
    UpdaterEditionWiring(const Platform& platform, const QUrl& releaseServer,
                         const Timings& timings);
    ~UpdaterEditionWiring() override = default;

    UpdaterEditionWiring(const UpdaterEditionWiring&) = delete;
    UpdaterEditionWiring& operator=(const UpdaterEditionWiring&) = delete;

    void publish(QQmlApplicationEngine& engine) override;
    QList<Published> published() override;
    QObject* storage() const override;
    QThread* workerThread() const override { return m_worker.thread(); }

    MidiHandler& midiHandler() { return m_midiHandler; }
    Downloader& downloader() { return m_downloader; }
    MainController& mainController() { return m_mainController; }
    FileManager* fileManager() const { return m_fileManager; }
    UpdateChoices& updateChoices() { return m_updateChoices; }
    Presence& presence() { return m_presence; }
    UpdateFlow& updateFlow() { return m_updateFlow; }
    InterruptedUpdate& interruptedUpdate() { return m_interruptedUpdate; }
    // What the program did to the instrument: the backup and restore flows record theirs here.
    HistoryRecorder& history() { return m_history; }
    HistoryModel& historyModel() { return m_historyModel; }
    // "Check this computer" in the window's menu.
    ComputerCheck& computerCheck() { return *m_computerCheck; }

private:
    // Declared in creation order: destroyed in reverse, the storage worker first.
    MidiHandler m_midiHandler;
    Downloader m_downloader;
    FileManager* m_fileManager;
    MainController m_mainController;
    StorageWorker m_worker;
    // The version list and the local file, over the Downloader's core; destroyed first.
    UpdateChoices m_updateChoices;
    // The flows the window binds to (and "tavlo" follows); destroyed before what they call.
    Presence m_presence;
    UpdateFlow m_updateFlow;
    InterruptedUpdate m_interruptedUpdate{m_presence, m_updateFlow};
    // The history file (in the state folder; none in the tests), its recorder and the
    // History page's list; the recorder goes before the flow it follows.
    HistoryLog m_historyLog;
    HistoryRecorder m_history{m_historyLog, m_updateFlow, m_presence};
    HistoryModel m_historyModel{m_historyLog};
    // The computer check; destroyed first, before the storage thread it hands work to.
    std::unique_ptr<ComputerCheck> m_computerCheck;
};
