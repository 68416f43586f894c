#include "AppWiring.h"

#include "FileManager.h"
#ifndef TAVLO_UPDATE_ONLY
#include "FileManagerBridge.h"
#endif
#include "Platform.h"

#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QThread>

AppWiring::AppWiring(const Platform& platform, const QUrl& releaseServer)
    : m_midiHandler(platform.midi, platform.usb),
      m_downloader(releaseServer),
#ifndef TAVLO_UPDATE_ONLY
      m_fileManager(new FileManager(platform.volumes, platform.dismount, platform.folders, StorageTimings::production())),
#else
      m_fileManager(new FileManager(platform.volumes, StorageTimings::production())),
#endif
      m_workerThread(new QThread)
{
    m_fileManager->moveToThread(m_workerThread);
    m_workerThread->start();

    // 1: the update availability log runs inside the emission, before latestVersionFetched.
    QObject::connect(
        &m_downloader, &Downloader::releasesJsonFetched, &m_downloader,
        [this] { Downloader::logUpdateAvailable(m_downloader.currentLatestVersion()); },
        Qt::DirectConnection);
    m_downloader.fetchReleasesJson();

    MidiHandler* midi = &m_midiHandler;
    Downloader* downloader = &m_downloader;
    FileManager* files = m_fileManager;
    // 2
    QObject::connect(midi, &MidiHandler::tavloReceivedVersion, downloader,
                     &Downloader::tavloReceivedVersion);
    // 3
    QObject::connect(downloader, &Downloader::downloadFinished, files,
                     &FileManager::onDownloadFinished);
    // 4
    QObject::connect(downloader, &Downloader::setDeviceToTransferMode, midi,
                     &MidiHandler::fileDownloaded);
    // 5
    QObject::connect(midi, &MidiHandler::deviceSetToTransferMode, files,
                     &FileManager::onDeviceSetToTransferMode);
    // 6: the MidiHandler hears a result before the window does (row 8 comes later).
    QObject::connect(files, &FileManager::fileTransferComplete, midi,
                     &MidiHandler::transferComplete);
#ifndef TAVLO_UPDATE_ONLY
    // 7 (the update-only edition has no eject)
    QObject::connect(files, &FileManager::ejectCompleted, midi, &MidiHandler::onEjectCompleted,
                     Qt::QueuedConnection);
#endif
    // 8, 9: signal to signal (9 carries the progress text in the update-only edition).
    QObject::connect(files, &FileManager::fileTransferComplete, &m_mainController,
                     &MainController::fileTransferComplete);
    QObject::connect(files, &FileManager::copyProgress, &m_mainController,
                     &MainController::copyingFileProgress);
    // 10, 11
    QObject::connect(m_workerThread, &QThread::finished, files, &QObject::deleteLater);
    QObject::connect(m_workerThread, &QThread::finished, m_workerThread, &QObject::deleteLater);
}

void AppWiring::publish(QQmlApplicationEngine& engine)
{
    QQmlContext* context = engine.rootContext();
    context->setContextProperty(QStringLiteral("midiHandler"), &m_midiHandler);
    context->setContextProperty(QStringLiteral("downloader"), &m_downloader);
    context->setContextProperty(QStringLiteral("mainController"), &m_mainController);

#ifndef TAVLO_UPDATE_ONLY
    m_fileManagerBridge = new FileManagerBridge;
    context->setContextProperty(QStringLiteral("fileManagerBridge"), m_fileManagerBridge);

    // 12, 13
    QObject::connect(m_fileManagerBridge, &FileManagerBridge::requestOpenFolder, m_fileManager,
                     &FileManager::openFolderOnDevice, Qt::QueuedConnection);
    QObject::connect(m_fileManagerBridge, &FileManagerBridge::requestEjectDevice, m_fileManager,
                     &FileManager::ejectDeviceAndEmit, Qt::QueuedConnection);
#endif
}

AppWiring::~AppWiring()
{
#ifndef TAVLO_UPDATE_ONLY
    // The window that used the bridge is gone by now (the engine ends before the wiring).
    delete m_fileManagerBridge;
    m_fileManagerBridge = nullptr;
#endif
    // The event loop has returned. Let the worker finish the request in hand (a copy onto
    // the instrument is not cut mid-write without reason), but do not hang the exit on it.
    if (!m_workerThread)
        return; // it stopped earlier and the event loop has already deleted it
    m_workerThread->quit();
    if (m_workerThread->wait(kWorkerStopTimeoutMs)) {
        // The FileManager went with the thread's end. The thread's own deleteLater was queued
        // to this thread and would wait for an event loop that has ended: delete it now (its
        // destructor discards what is still posted for it).
        delete m_workerThread.data();
    } else {
        qWarning("The storage worker did not stop within %lu ms", kWorkerStopTimeoutMs);
    }
}
