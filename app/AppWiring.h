#pragma once

#include "Downloader.h"
#include "MainController.h"
#include "MidiHandler.h"

#include <QPointer>
#include <QThread>
#include <QUrl>

class FileManager;
class FileManagerBridge;
class QQmlApplicationEngine;
struct Platform;

// The object graph and every connection between its objects. The constructor is the first
// wiring phase (objects, worker thread, catalogue request, connections 1 to 11), publish()
// the second (context properties, the bridge and its two connections). main() and the tests
// run the same code; only the platform seams and the release server differ.
//
// Built with TAVLO_UPDATE_ONLY it wires the update-only edition: no FileManagerBridge, no
// connections 7, 12 and 13, and three context properties.
class AppWiring
{
public:
    AppWiring(const Platform& platform, const QUrl& releaseServer);
    ~AppWiring();

    AppWiring(const AppWiring&) = delete;
    AppWiring& operator=(const AppWiring&) = delete;

    void publish(QQmlApplicationEngine& engine);

    MidiHandler& midiHandler() { return m_midiHandler; }
    Downloader& downloader() { return m_downloader; }
    MainController& mainController() { return m_mainController; }
    FileManager* fileManager() const { return m_fileManager; }
#ifndef TAVLO_UPDATE_ONLY
    FileManagerBridge* fileManagerBridge() const { return m_fileManagerBridge; }
#endif
    QThread* workerThread() const { return m_workerThread; }

    // How long the end of the run waits for the worker thread to finish what it is doing.
    static constexpr unsigned long kWorkerStopTimeoutMs = 10000;

private:
    // Declared in creation order: destroyed in reverse, the MainController first and the
    // MidiHandler last.
    MidiHandler m_midiHandler;
    Downloader m_downloader;
    FileManager* m_fileManager;
    MainController m_mainController;
    QPointer<QThread> m_workerThread;
#ifndef TAVLO_UPDATE_ONLY
    FileManagerBridge* m_fileManagerBridge = nullptr;
#endif
};
