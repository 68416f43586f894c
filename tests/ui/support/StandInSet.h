#pragma once

#include "StandInDownloader.h"
#include "StandInFlows.h"
#include "StandInFileManagerBridge.h"
#include "StandInMainController.h"
#include "StandInMidiHandler.h"

#include <QString>

class WindowDriver;

// The four stand-ins of the full edition, published together, and a small script language
// that plays one event onto the window, so that test tables can list whole flows:
//
//   found | lost              midiHandler.deviceFound(true | false)
//   version <v>               midiHandler.tavloReceivedVersion(v)
//   transferAck               midiHandler.transferSysExReceived()
//   volumeRefused <why>       the volume was left alone (then the eject's failure)
//   transferEndAck            midiHandler.transferSysExEndReceived()
//   latest <v>                downloader.latestVersionFetched(v)
//   download <n>              downloader.downloadingProgressBar(n)
//   versionCheck true|false   downloader.versionCheck(...)
//   status true|false <text>  downloader.downloadStatus(..., text)
//   reason <text>             downloader.failureReason becomes text, failureReasonChanged(text)
//   copy <n>                  mainController.copyingFileProgress(n)
//   copyDone true|false       mainController.fileTransferComplete(...)
//   transferReason <text>     mainController.transferFailureReason(text)
//   notFinished <text>        midiHandler.updateFinishFailed(text)
//   click <button text>       a mouse click on the shown button with that text
//   press <objectName>        a mouse click on the shown item with that objectName
//   key <name>                a key pressed on the window (WindowDriver::key)
//   wait <ms>                 lets the event loop run
class StandInSet
{
public:
    StandInMidiHandler midiHandler;
    StandInDownloader downloader;
    StandInMainController mainController;
    StandInFileManagerBridge fileManagerBridge;
    // The flows the window binds to, fed by the stand-ins.
    StandInFlows flows{midiHandler, downloader, mainController, fileManagerBridge};

    void publishTo(WindowDriver& driver);

    // Plays one step. False, with the reason in error(), when the step is malformed or
    // names a button, item or key that is not there.
    bool play(const QString& step, WindowDriver& driver);
    QString error() const;

    // Every call the window made, as "object.method", in order per object.
    QStringList allCalls() const;
    void clearCalls();

private:
    QString m_error;
};
