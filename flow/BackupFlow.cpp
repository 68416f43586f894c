#include "BackupFlow.h"

#include "Presence.h"
#include "SizeText.h"
#include "UpdateFlow.h"

#include <QDir>

BackupFlow::BackupFlow(Presence& presence, TransferFlow& transfer, UpdateFlow& update,
                       QObject* parent)
    : QObject(parent), presence(presence), transfer(transfer), update(update)
{
    connect(&presence, &Presence::changed, this, &BackupFlow::changed);
    connect(&presence, &Presence::lost, this, &BackupFlow::onLost);
    connect(&update, &UpdateFlow::changed, this, &BackupFlow::changed);
    connect(&transfer, &TransferFlow::changed, this, &BackupFlow::changed);
    connect(&transfer, &TransferFlow::stateChanged, this, &BackupFlow::onTransferState);
}

void BackupFlow::setLastBackup(qint64 bytes, qint64 durationMs)
{
    lastBytes = bytes;
    lastDurationMs = durationMs;
    emit changed();
}

bool BackupFlow::offered() const
{
    return current == State::Idle && !root.isEmpty() && transfer.offered();
}

bool BackupFlow::optionOffered() const
{
    return current == State::Idle && !root.isEmpty() && update.state() == UpdateFlow::State::Choosing
        && presence.connected() && presence.offersTransfer()
        && transfer.state() == TransferFlow::State::Idle;
}

void BackupFlow::setBeforeUpdate(bool on)
{
    if (optionOn == on)
        return;
    optionOn = on;
    emit changed();
}

QString BackupFlow::estimateText() const
{
    if (lastBytes <= 0)
        return QString();
    return tr("Last backup: %1, %2.")
        .arg(SizeText::bytes(lastBytes), SizeText::duration(lastDurationMs));
}

QString BackupFlow::titleText() const
{
    switch (current) {
    case State::Entering:
    case State::Copying:
    case State::Leaving:
        return tr("Backing up Tavlo's projects");
    case State::Done:
        return tr("Backup complete");
    case State::Failed:
        return updateRefused ? tr("The backup is complete; the update did not start")
                             : tr("Backup failed");
    case State::Cancelled:
        return tr("Backup cancelled");
    case State::Idle:
        break;
    }
    return QString();
}

QString BackupFlow::statusText() const
{
    const bool forUpdate = purpose != Purpose::Standalone;
    switch (current) {
    case State::Entering:
        return tr("Switching Tavlo to transfer mode…");
    case State::Copying:
        if (totalBytes <= 0)
            return tr("Reading the list of Tavlo's files…");
        return tr("%1 of %2 copied and checked (%3).")
            .arg(SizeText::bytes(doneBytes), SizeText::bytes(totalBytes), SizeText::files(fileCount));
    case State::Leaving:
        return tr("Returning Tavlo to normal mode…");
    case State::Done:
        return tr("Saved and checked: %1 (%2) in \"%3\".")
            .arg(SizeText::files(fileCount), SizeText::bytes(totalBytes), QDir(doneFolder).dirName());
    case State::Failed:
        return forUpdate ? tr("%1 The update was not started.").arg(why) : why;
    case State::Cancelled:
        return forUpdate ? tr("Nothing was kept, and the update was not started.")
                         : tr("Nothing was kept.");
    case State::Idle:
        break;
    }
    return QString();
}

int BackupFlow::progress() const
{
    if (totalBytes <= 0)
        return 0;
    return int(qBound<qint64>(0, doneBytes * 100 / totalBytes, qint64(100)));
}

void BackupFlow::backUpNow()
{
    if (offered())
        begin(Purpose::Standalone);
}

void BackupFlow::startUpdate()
{
    if (optionOn && optionOffered())
        begin(Purpose::BeforeUpdate);
    else
        update.start();
}

void BackupFlow::startChosenUpdate()
{
    if (optionOn && optionOffered())
        begin(Purpose::BeforeChosenUpdate);
    else
        update.startChosen();
}

QString BackupFlow::installLocal(const QString& urlOrPath, const QString& summary)
{
    if (!optionOn || !optionOffered())
        return update.installLocal(urlOrPath, summary);
    localFile = urlOrPath;
    localSummary = summary;
    begin(Purpose::BeforeLocalFile);
    return QString();
}

void BackupFlow::begin(Purpose kind)
{
    purpose = kind;
    firmware = presence.firmware();
    fileCount = 0;
    totalBytes = 0;
    doneBytes = 0;
    linked = 0;
    doneFolder.clear();
    why.clear();
    pendingOutcome = State::Idle;
    stuckInTransfer = false;
    updateRefused = false;
    clock.start();
    if (!transfer.enterFor(TransferFlow::Purpose::Backup)) {
        why = tr("Tavlo could not be switched to transfer mode, so nothing was backed up.");
        pendingOutcome = State::Failed;
        end();
        return;
    }
    setState(State::Entering);
}

void BackupFlow::cancel()
{
    if (current == State::Copying)
        emit cancelRequested();
    else if (current == State::Entering)
        pendingOutcome = State::Cancelled; // carried out once the instrument has switched
}

void BackupFlow::close()
{
    if (ended())
        setState(State::Idle);
}

void BackupFlow::onBackupSized(int files, qint64 bytes)
{
    if (current != State::Copying)
        return;
    fileCount = files;
    totalBytes = bytes;
    emit changed();
}

void BackupFlow::onBackupProgress(qint64 done, qint64 total)
{
    if (current != State::Copying)
        return;
    doneBytes = done;
    totalBytes = total;
    emit changed();
}

void BackupFlow::onBackupFinished(bool ok, bool cancelled, const QString& folder, int files,
                                  qint64 bytes, qint64 linkedBytes, const QString& reason)
{
    if (current != State::Copying)
        return;
    doneFolder = folder;
    fileCount = files;
    totalBytes = bytes;
    doneBytes = ok ? bytes : doneBytes;
    linked = linkedBytes;
    why = reason;
    leaveWith(ok ? State::Done : cancelled ? State::Cancelled : State::Failed);
}

void BackupFlow::onTransferState(TransferFlow::State state)
{
    if (current == State::Entering && state == TransferFlow::State::Open) {
        if (pendingOutcome == State::Cancelled) {
            leaveWith(State::Cancelled);
            return;
        }
        setState(State::Copying);
        emit backUpRequested(QString::fromLatin1(TransferFlow::kVolumeLabel), root, firmware);
    } else if (current == State::Leaving && state == TransferFlow::State::Idle) {
        end();
    } else if (current == State::Leaving && state == TransferFlow::State::Open) {
        // The eject failed: the instrument stays in transfer mode until the user has closed
        // what holds its drive and pressed "DONE" on the transfer screen.
        transfer.handOverToScreen();
        stuckInTransfer = true;
        end();
    }
}

void BackupFlow::onLost()
{
    if (current != State::Entering && current != State::Copying && current != State::Leaving)
        return;
    // Only a running worker is stopped: a cancel it never reads would stop the next backup.
    if (current == State::Copying)
        emit cancelRequested();
    transfer.abandon();
    why = tr("Tavlo was disconnected during the backup, so the unfinished backup was removed.");
    pendingOutcome = State::Failed;
    end();
}

void BackupFlow::leaveWith(State outcome)
{
    pendingOutcome = outcome;
    settled = startPending = false;
    if (transfer.state() != TransferFlow::State::Open) {
        end();
        return;
    }
    setState(State::Leaving);
    transfer.leave();
}

void BackupFlow::end()
{
    const State outcome = pendingOutcome;
    const QString result = outcome == State::Done        ? QStringLiteral("done")
                           : outcome == State::Cancelled ? QStringLiteral("cancelled")
                                                         : QStringLiteral("failed");
    const qint64 tookMs = clock.isValid() ? clock.elapsed() : 0;
    emit recorded(firmware, doneFolder, fileCount, totalBytes, linked, tookMs, result, why);
    if (outcome == State::Done) {
        lastBytes = totalBytes;
        lastDurationMs = tookMs;
    }
    if (stuckInTransfer) {
        // Whatever the backup's result, nothing may follow while the mode may still be on.
        const QString done = tr("The backup in \"%1\" is complete.").arg(doneFolder);
        why = (outcome == State::Done ? done : why) + QLatin1Char(' ') + stuckText();
        setState(State::Failed);
        return;
    }
    if (outcome == State::Done && purpose != Purpose::Standalone) {
        if (linkSettles && !settled) {
            startPending = true; // still Leaving, until the link's wait is over
            return;
        }
        startTheUpdate();
        return;
    }
    setState(outcome);
}

void BackupFlow::onLinkSettled()
{
    if (current != State::Leaving)
        return;
    settled = true;
    if (startPending) {
        startPending = false;
        startTheUpdate();
    }
}

void BackupFlow::startTheUpdate()
{
    setState(State::Idle);
    if (purpose == Purpose::BeforeChosenUpdate) {
        update.startChosen();
    } else if (purpose == Purpose::BeforeLocalFile) {
        const QString problem = update.installLocal(localFile, localSummary);
        if (!problem.isEmpty()) {
            why = problem;
            updateRefused = true;
            setState(State::Failed);
        }
    } else {
        update.start();
    }
}

void BackupFlow::setState(State next)
{
    if (current == next) {
        emit changed();
        return;
    }
    current = next;
    // While its screen shows, the home screen's offers are not made (it covers them).
    transfer.setCovered(this, current != State::Idle);
    emit changed();
    emit stateChanged(current);
}

QString BackupFlow::stuckText()
{
    return tr("Tavlo's drive could not be ejected, so Tavlo may still be in transfer mode. Close "
              "any program that uses the drive, then press DONE. If Tavlo was disconnected, "
              "connect it again.");
}
