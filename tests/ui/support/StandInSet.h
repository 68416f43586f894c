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
//   backupSized <files> <bytes>       the backup worker: what it will copy
//   backupProgress <done> <total>     the backup worker: bytes copied and checked
//   backupDone | backupCancelled      the backup worker's end (the backup of backupSized)
//   backupFailed <why>                the backup worker's end, with its sentence
//   backupFirst on|off                the update screen's option, as the program sets it
//   lastBackup <bytes> <ms>           the last backup's size and time, for the estimate
//   restoreChecked ok | bad <n>       the restore worker's check: fine, or n of the
//                                     backup's files changed (RestoreFailureText's sentence)
//   restorePlanned <c> <m> <k>        the plan: c files changed on Tavlo, m missing on
//                                     it, k only on it (names of fileNames())
//   restoreProgress <done> <total>    the restore worker: bytes written and checked
//   restoreWritten <n>                the restore worker's end: n files written
//   restoreFailed <why>               the restore worker's end, with its sentence
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

    // Paths of files on Tavlo as a restore names them, with blanks and letters beyond ASCII:
    // count of them, from the first-th on.
    static QStringList fileNames(int count, int first = 0);

private:
    // The steps of the storage worker's reports; false when the verb is none of them.
    bool playReport(const QString& verb, const QString& rest, bool& ok);

    QString m_error;
    // The backup of backupSized, as the worker ends it.
    int sizedFiles = 0;
    qint64 sizedBytes = 0;
};
