#pragma once

#include "InterruptedUpdate.h"
#include "Presence.h"
#include "TransferFlow.h"
#include "UpdateFlow.h"

#include <QObject>
#include <QString>

// The connections from the public objects (or stand-ins with the same signals) to the
// flows, and the objects the flows call. Each edition passes its own classes: they differ
// in a member or an argument type (the copy progress is a number in one edition and a text
// in the other), not in these names.
namespace FlowConnections {

inline void copyProgress(UpdateFlow& flow, int value) { flow.onCopyProgress(value); }
inline void copyProgress(UpdateFlow& flow, const QString& value) { flow.onCopyProgressText(value); }

template <class MidiHandler, class Downloader, class MainController>
void connectUpdate(MidiHandler& midi, Downloader& downloader, MainController& controller,
                   Presence& presence, UpdateFlow& flow)
{
    QObject::connect(&midi, &MidiHandler::deviceFound, &presence, &Presence::onDeviceFound);
    QObject::connect(&midi, &MidiHandler::tavloReceivedVersion, &presence,
                     &Presence::onVersionReported);
    // The link may have met its problem before it was connected (when it was made).
    QObject::connect(&midi, &MidiHandler::midiProblemChanged, &presence, &Presence::onMidiProblem);
    presence.onMidiProblem(midi.midiProblemText());
    QObject::connect(&midi, &MidiHandler::updateFinishFailed, &flow,
                     &UpdateFlow::onUpdateFinishFailed);
    QObject::connect(&midi, &MidiHandler::updateModeFailed, &flow,
                     &UpdateFlow::onUpdateModeFailed);
    QObject::connect(&downloader, &Downloader::latestVersionFetched, &flow,
                     &UpdateFlow::onLatestVersion);
    QObject::connect(&downloader, &Downloader::downloadingProgressBar, &flow,
                     &UpdateFlow::onDownloadProgress);
    QObject::connect(&downloader, &Downloader::setDeviceToTransferMode, &flow,
                     &UpdateFlow::onDownloaded);
    QObject::connect(&downloader, &Downloader::versionCheck, &flow, &UpdateFlow::onVersionCheck);
    QObject::connect(&downloader, &Downloader::failureReasonChanged, &flow,
                     &UpdateFlow::onFailureReason);
    QObject::connect(&controller, &MainController::transferFailureReason, &flow,
                     &UpdateFlow::onTransferFailureReason);
    QObject::connect(&controller, &MainController::copyingFileProgress, &flow,
                     [&flow](const auto& value) { copyProgress(flow, value); });
    QObject::connect(&controller, &MainController::fileTransferComplete, &flow,
                     &UpdateFlow::onCopyResult);
    flow.setDownloader(&downloader);
    flow.setFileVersionSource([&downloader] { return downloader.fileVersion(); });
}

// The full edition's Downloader also says how the download goes (the fallback's steps,
// a failure's message).
template <class Downloader>
void connectDownloadStatus(Downloader& downloader, UpdateFlow& flow)
{
    QObject::connect(&downloader, &Downloader::downloadStatus, &flow,
                     &UpdateFlow::onDownloadStatus);
}

template <class MidiHandler>
void connectTransfer(MidiHandler& midi, QObject* fileManagerBridge, TransferFlow& flow)
{
    QObject::connect(&midi, &MidiHandler::transferSysExReceived, &flow,
                     &TransferFlow::onTransferAcknowledged);
    QObject::connect(&midi, &MidiHandler::transferSysExEndReceived, &flow,
                     &TransferFlow::onTransferEndAcknowledged);
    flow.setLink(&midi);
    flow.setBridge(fileManagerBridge);
}

// An interrupted update: the look for the instrument's update volume on the storage worker
// (queued both ways), and the start that finishes it without an update-mode message. The
// link hears how an update starts before the download is asked for.
template <class MidiHandler, class FileManager>
void connectInterrupted(MidiHandler& midi, FileManager& files, UpdateFlow& flow,
                        InterruptedUpdate& interrupted)
{
    QObject::connect(&flow, &UpdateFlow::updateStarting, &midi, &MidiHandler::setInUpdateMode,
                     Qt::DirectConnection);
    QObject::connect(&interrupted, &InterruptedUpdate::lookForUpdateVolume, &files,
                     &FileManager::lookForUpdateVolume, Qt::QueuedConnection);
    QObject::connect(&files, &FileManager::updateVolumeWaiting, &interrupted,
                     &InterruptedUpdate::onUpdateVolumeWaiting, Qt::QueuedConnection);
}

} // namespace FlowConnections
