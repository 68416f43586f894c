#include "RestoreFlow.h"

#include "Presence.h"
#include "SizeText.h"

#include <QDir>
#include <QVariantMap>

RestoreFlow::RestoreFlow(Presence& presence, TransferFlow& transfer, QObject* parent)
    : QObject(parent), presence(presence), transfer(transfer)
{
    connect(&presence, &Presence::changed, this, &RestoreFlow::changed);
    connect(&presence, &Presence::lost, this, &RestoreFlow::onLost);
    connect(&transfer, &TransferFlow::changed, this, &RestoreFlow::changed);
    connect(&transfer, &TransferFlow::stateChanged, this, &RestoreFlow::onTransferState);
}

void RestoreFlow::setLister(Lister list)
{
    lister = std::move(list);
    refresh();
}

void RestoreFlow::refresh()
{
    items = lister ? lister() : QList<BackupList::Item>{};
    emit changed();
}

bool RestoreFlow::offered() const
{
    return current == State::Idle && !items.isEmpty() && transfer.offered();
}

void RestoreFlow::coverWhileShown()
{
    transfer.setCovered(this, current != State::Idle);
}

QVariantList RestoreFlow::backupRows() const
{
    QVariantList rows;
    for (const BackupList::Item& item : items) {
        // As the folders are named: the same in every language, without seconds.
        const QString when = item.created.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
        QVariantMap row;
        row.insert(QStringLiteral("folder"), item.folder);
        row.insert(QStringLiteral("text"),
                   tr("%1, firmware %2: %3, %4")
                       .arg(when, item.firmware, SizeText::files(item.files),
                            SizeText::bytes(item.bytes)));
        rows.append(row);
    }
    return rows;
}

QString RestoreFlow::titleText() const
{
    switch (current) {
    case State::Choosing:
        return tr("Restore a backup");
    case State::Asking:
        return tr("Replace these files on Tavlo?");
    case State::Checking:
    case State::Entering:
    case State::Planning:
    case State::Writing:
    case State::Leaving:
        return tr("Restoring \"%1\"").arg(folderName);
    case State::Done:
        return tr("Restore complete");
    case State::Failed:
        return tr("Restore failed");
    case State::Cancelled:
        return tr("Restore cancelled");
    case State::Idle:
        break;
    }
    return QString();
}

QString RestoreFlow::statusText() const
{
    const int toWrite = int(changedList.size() + missing.size());
    switch (current) {
    case State::Choosing:
        return items.isEmpty() ? tr("There is no backup yet.")
                               : tr("Choose the backup to put back onto Tavlo.");
    case State::Checking:
        return tr("Checking the backup's files…");
    case State::Entering:
        return tr("Switching Tavlo to transfer mode…");
    case State::Planning:
        return tr("Comparing Tavlo's files with the backup…");
    case State::Asking: {
        QString text = tr("Differing from the backup: %1 on Tavlo (%2 to write). Each is replaced "
                          "with the backup's version.")
                           .arg(SizeText::files(toWrite), SizeText::bytes(bytesToWrite));
        if (onlyOnInstrument > 0)
            text += QLatin1Char(' ')
                + tr("Only on Tavlo, and left as they are: %1.").arg(SizeText::files(onlyOnInstrument));
        return text;
    }
    case State::Writing:
        return tr("%1 of %2 written and checked.")
            .arg(SizeText::bytes(bytesWritten), SizeText::bytes(bytesToWrite));
    case State::Leaving:
        return tr("Returning Tavlo to normal mode…");
    case State::Done:
        return toWrite == 0
            ? tr("Tavlo already holds every file of this backup as it is; nothing was replaced.")
            : tr("Restored from the backup and checked: %1.").arg(SizeText::files(filesWritten));
    case State::Failed:
        return why;
    case State::Cancelled:
        return declined || filesWritten == 0
            ? tr("Nothing on Tavlo was replaced.")
            : tr("Restored before it stopped: %1. The others are as they were.")
                  .arg(SizeText::files(filesWritten));
    case State::Idle:
        break;
    }
    return QString();
}

QStringList RestoreFlow::differing() const
{
    QStringList lines;
    for (const QString& path : changedList)
        lines.append(tr("%1 (changed on Tavlo)").arg(path));
    for (const QString& path : missing)
        lines.append(tr("%1 (no longer on Tavlo)").arg(path));
    return lines;
}

int RestoreFlow::progress() const
{
    return bytesToWrite > 0 ? int(qBound<qint64>(0, bytesWritten * 100 / bytesToWrite, qint64(100))) : 0;
}

bool RestoreFlow::cancelShown() const
{
    return current == State::Choosing || current == State::Checking || current == State::Writing;
}

bool RestoreFlow::closeShown() const
{
    return ended();
}

void RestoreFlow::open()
{
    refresh();
    if (!offered())
        return;
    setState(State::Choosing);
}

void RestoreFlow::choose(int row)
{
    if (current != State::Choosing || row < 0 || row >= items.size())
        return;
    chooseFolder(items.at(row).folder);
}

void RestoreFlow::chooseFolder(const QString& backupFolder)
{
    if (current != State::Choosing && current != State::Idle)
        return;
    folder = backupFolder;
    folderName = QDir(backupFolder).dirName();
    firmware = presence.firmware();
    changedList.clear();
    missing.clear();
    onlyOnInstrument = 0;
    bytesToWrite = bytesWritten = 0;
    filesWritten = 0;
    declined = stuckInTransfer = false;
    why.clear();
    pendingOutcome = State::Idle;
    setState(State::Checking);
    emit checkRequested(folder);
}

void RestoreFlow::onBackupChecked(bool ok, const QStringList&, const QString& reason)
{
    if (current != State::Checking)
        return;
    if (!ok) {
        why = reason;
        pendingOutcome = State::Failed;
        end();
        return;
    }
    if (!transfer.enterFor(TransferFlow::Purpose::Restore)) {
        why = tr("Tavlo could not be switched to transfer mode, so nothing was restored.");
        pendingOutcome = State::Failed;
        end();
        return;
    }
    setState(State::Entering);
}

void RestoreFlow::onTransferState(TransferFlow::State state)
{
    if (current == State::Entering && state == TransferFlow::State::Open) {
        setState(State::Planning);
        emit planRequested(folder, QString::fromLatin1(TransferFlow::kVolumeLabel));
    } else if (current == State::Leaving && state == TransferFlow::State::Idle) {
        end();
    } else if (current == State::Leaving && state == TransferFlow::State::Open) {
        transfer.handOverToScreen();
        stuckInTransfer = true;
        end();
    }
}

void RestoreFlow::onRestorePlanned(bool ok, const QStringList& changedFiles,
                                   const QStringList& missingFiles, int onlyThere, qint64 bytes,
                                   const QString& reason)
{
    if (current != State::Planning)
        return;
    if (!ok) {
        why = reason;
        leaveWith(State::Failed);
        return;
    }
    changedList = changedFiles;
    missing = missingFiles;
    onlyOnInstrument = onlyThere;
    bytesToWrite = bytes;
    if (changedList.isEmpty() && missing.isEmpty())
        leaveWith(State::Done);
    else
        setState(State::Asking);
}

void RestoreFlow::confirm()
{
    if (current != State::Asking)
        return;
    setState(State::Writing);
    emit restoreRequested(folder, QString::fromLatin1(TransferFlow::kVolumeLabel));
}

void RestoreFlow::decline()
{
    if (current != State::Asking)
        return;
    declined = true;
    leaveWith(State::Cancelled);
}

void RestoreFlow::cancel()
{
    if (current == State::Choosing)
        setState(State::Idle);
    else if (current == State::Writing || current == State::Checking)
        emit cancelRequested();
}

void RestoreFlow::close()
{
    if (ended())
        setState(State::Idle);
}

void RestoreFlow::onRestoreProgress(qint64 doneBytes, qint64 totalBytes)
{
    if (current != State::Writing)
        return;
    bytesWritten = doneBytes;
    bytesToWrite = totalBytes;
    emit changed();
}

void RestoreFlow::onRestoreFinished(bool ok, bool cancelled, int filesDone, const QString& reason)
{
    if (current != State::Writing)
        return;
    filesWritten = filesDone;
    why = reason;
    leaveWith(ok ? State::Done : cancelled ? State::Cancelled : State::Failed);
}

void RestoreFlow::onLost()
{
    if (current != State::Entering && current != State::Planning && current != State::Asking
        && current != State::Writing && current != State::Leaving)
        return;
    // Only a running worker is stopped: a cancel it never reads would stop the next request.
    if (current == State::Planning || current == State::Writing)
        emit cancelRequested();
    transfer.abandon();
    why = current == State::Writing
        ? tr("Tavlo was disconnected during the restore. The files restored before that are "
             "complete; the file being written was left as it was.")
        : tr("Tavlo was disconnected, so nothing was restored.");
    pendingOutcome = State::Failed;
    end();
}

void RestoreFlow::leaveWith(State outcome)
{
    pendingOutcome = outcome;
    if (transfer.state() != TransferFlow::State::Open) {
        end();
        return;
    }
    setState(State::Leaving);
    transfer.leave();
}

void RestoreFlow::end()
{
    const State outcome = pendingOutcome;
    const QString result = outcome == State::Done        ? QStringLiteral("done")
                           : outcome == State::Cancelled ? QStringLiteral("cancelled")
                                                         : QStringLiteral("failed");
    emit recorded(firmware, folder, filesWritten, result, why);
    if (stuckInTransfer) {
        why = (why.isEmpty() ? QString() : why + QLatin1Char(' ')) + stuckText();
        setState(State::Failed);
        return;
    }
    setState(outcome);
}

void RestoreFlow::setState(State next)
{
    if (current == next) {
        emit changed();
        return;
    }
    current = next;
    coverWhileShown();
    emit changed();
    emit stateChanged(current);
}

QString RestoreFlow::stuckText()
{
    return tr("Tavlo's drive could not be ejected, so Tavlo may still be in transfer mode. Close "
              "any program that uses the drive, then press DONE. If Tavlo was disconnected, "
              "connect it again.");
}
