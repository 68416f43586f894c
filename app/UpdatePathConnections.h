#pragma once

#include <QObject>

// The connections of the update path, which both editions make in the same order with the
// same kinds. Each edition passes its own classes (they differ in a member or an argument
// type, not in these names). The request for the release catalogue goes out once the event
// loop runs, right after the window has been made; its reply is handled after that.
namespace UpdatePathConnections {

// The update availability log runs inside the emission of releasesJsonFetched, on the main
// thread, before latestVersionFetched for the same entry; then the catalogue is requested,
// from the event loop: the window is made first, and its first frame waits neither for the
// network's set-up nor for the TLS back-end. The request is dropped with the downloader.
template <class Downloader>
void connectAvailabilityLogAndFetch(Downloader& downloader)
{
    QObject::connect(
        &downloader, &Downloader::releasesJsonFetched, &downloader,
        [&downloader] { Downloader::logUpdateAvailable(downloader.currentLatestVersion()); },
        Qt::DirectConnection);
    QMetaObject::invokeMethod(
        &downloader, [&downloader] { downloader.fetchReleasesJson(); }, Qt::QueuedConnection);
}

// An unplug (the link reports the instrument lost; it does not while the instrument leaves
// the bus on purpose during the update) cancels what runs: the download or curl, the copy
// onto the volume at its next check, the wait for the volume. The window goes back to waiting
// on the same report.
template <class MidiHandler, class Downloader, class FileManager>
void connectUnplug(MidiHandler& midi, Downloader& downloader, FileManager& files)
{
    QObject::connect(&midi, &MidiHandler::deviceFound, &downloader,
                     [&downloader, &files](bool found) {
                         if (found)
                             return;
                         downloader.cancelDownload();
                         files.cancelHandOver();
                     });
}

// The download result to the storage worker and the link, the mode switch to the worker, the
// hand-over's result to the link first and the window second, the copy progress to the
// window. The FileManager lives on the worker thread, so every connection with it is queued.
template <class MidiHandler, class Downloader, class FileManager, class MainController>
void connectUpdatePath(MidiHandler& midi, Downloader& downloader, FileManager& files,
                       MainController& controller)
{
    QObject::connect(&midi, &MidiHandler::tavloReceivedVersion, &downloader,
                     &Downloader::tavloReceivedVersion);
    QObject::connect(&downloader, &Downloader::downloadFinished, &files,
                     &FileManager::onDownloadFinished);
    QObject::connect(&downloader, &Downloader::setDeviceToTransferMode, &midi,
                     &MidiHandler::fileDownloaded);
    QObject::connect(&midi, &MidiHandler::deviceSetToTransferMode, &files,
                     &FileManager::onDeviceSetToTransferMode);
    // The link hears a result before the window does: this connection comes first.
    QObject::connect(&files, &FileManager::fileTransferComplete, &midi,
                     &MidiHandler::transferComplete);
    // Signal to signal: the MainController re-emits them on the main thread; the reason of
    // a failure comes just before the failure itself.
    QObject::connect(&files, &FileManager::transferFailureReason, &controller,
                     &MainController::transferFailureReason);
    QObject::connect(&files, &FileManager::fileTransferComplete, &controller,
                     &MainController::fileTransferComplete);
    QObject::connect(&files, &FileManager::copyProgress, &controller,
                     &MainController::copyingFileProgress);
    connectUnplug(midi, downloader, files);
}

} // namespace UpdatePathConnections
