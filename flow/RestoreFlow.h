#pragma once

#include "TransferFlow.h"

#include <BackupList.h>

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <functional>

class Presence;

// Putting a backup back onto the instrument, as the full window's restore page and "tavlo
// restore" go through it: the backup is chosen and checked against its manifest (a backup
// whose files changed is refused, naming them, before the instrument is touched); the
// instrument enters the transfer mode; its files are compared with the backup and the ones
// that differ are listed and asked about; only on "Replace" are they written and checked;
// then the transfer mode ends. The storage work is the worker's (RestoreWorker, through the
// request signals); the result is said once the instrument is back in normal mode.
class RestoreFlow : public QObject
{
    Q_OBJECT
    Q_PROPERTY(State state READ state NOTIFY changed)
    // "Restore" on the home screen: the transfer mode is offered and a backup exists.
    Q_PROPERTY(bool offered READ offered NOTIFY changed)
    Q_PROPERTY(bool pageShown READ pageShown NOTIFY changed)
    // The backups to choose from, newest first: each a map with "text" and "folder".
    Q_PROPERTY(QVariantList backups READ backupRows NOTIFY changed)
    Q_PROPERTY(bool listShown READ listShown NOTIFY changed)
    Q_PROPERTY(QString titleText READ titleText NOTIFY changed)
    Q_PROPERTY(QString statusText READ statusText NOTIFY changed)
    // While asking: one line per file to replace or add.
    Q_PROPERTY(QStringList differing READ differing NOTIFY changed)
    Q_PROPERTY(bool askShown READ askShown NOTIFY changed)
    Q_PROPERTY(bool progressShown READ progressShown NOTIFY changed)
    Q_PROPERTY(int progress READ progress NOTIFY changed)
    Q_PROPERTY(bool cancelShown READ cancelShown NOTIFY changed)
    Q_PROPERTY(bool closeShown READ closeShown NOTIFY changed)
    // It ended on a failure (its reason is the status).
    Q_PROPERTY(bool failed READ failed NOTIFY changed)

public:
    enum class State {
        Idle,     // the page is closed
        Choosing, // the list of backups
        Checking, // the chosen backup is read against its manifest
        Entering, // the transfer-start message went out
        Planning, // the instrument's files are compared with the backup
        Asking,   // the files that differ are listed: replace them?
        Writing,  // they are written and checked
        Leaving,  // the volume is ejected and the transfer end awaited (the result is known)
        Done,
        Failed,
        Cancelled
    };
    Q_ENUM(State)

    using Lister = std::function<QList<BackupList::Item>()>;

    RestoreFlow(Presence& presence, TransferFlow& transfer, QObject* parent = nullptr);

    // How the backups are found (BackupList::read on the backups folder).
    void setLister(Lister list);

    State state() const { return current; }
    bool offered() const;
    bool pageShown() const { return current != State::Idle; }
    QVariantList backupRows() const;
    bool listShown() const { return current == State::Choosing; }
    QString titleText() const;
    QString statusText() const;
    QStringList differing() const;
    bool askShown() const { return current == State::Asking; }
    bool progressShown() const { return current == State::Writing; }
    int progress() const;
    bool cancelShown() const;
    bool closeShown() const;
    bool failed() const { return current == State::Failed; }
    bool ended() const
    {
        return current == State::Done || current == State::Failed || current == State::Cancelled;
    }

    QString chosenFolder() const { return folder; }
    QStringList changedFiles() const { return changedList; }
    QStringList missingFiles() const { return missing; }
    int written() const { return filesWritten; }
    QString reason() const { return why; }

    // Reads the backups again (at start, and after a backup).
    void refresh();
    // "Restore" on the home screen: the list.
    Q_INVOKABLE void open();
    // A row of the list, or (tavlo restore) a backup folder: checked, then restored.
    Q_INVOKABLE void choose(int row);
    void chooseFolder(const QString& backupFolder);
    // The answer to the list of files that differ.
    Q_INVOKABLE void confirm();
    Q_INVOKABLE void decline();
    // The list or an end screen: closed. While writing: stops at the next file.
    Q_INVOKABLE void cancel();
    Q_INVOKABLE void close();

public Q_SLOTS:
    void onBackupChecked(bool ok, const QStringList& badFiles, const QString& why);
    void onRestorePlanned(bool ok, const QStringList& changed, const QStringList& missing,
                          int onlyOnInstrument, qint64 bytes, const QString& why);
    void onRestoreProgress(qint64 doneBytes, qint64 totalBytes);
    void onRestoreFinished(bool ok, bool cancelled, int filesWritten, const QString& why);

Q_SIGNALS:
    void changed();
    void stateChanged(RestoreFlow::State state);
    // To the storage worker (queued).
    void checkRequested(const QString& backupFolder);
    void planRequested(const QString& backupFolder, const QString& volumeLabel);
    void restoreRequested(const QString& backupFolder, const QString& volumeLabel);
    // To the storage worker, directly (its cancel() only sets a flag).
    void cancelRequested();
    // Once per restore that reached the instrument or was refused: for the history.
    void recorded(const QString& firmware, const QString& backupFolder, int filesWritten,
                  const QString& result, const QString& reason);

private:
    void setState(State next);
    // While the page shows, the home screen's offers are not made (it covers them).
    void coverWhileShown();
    void onTransferState(TransferFlow::State state);
    void onLost();
    void leaveWith(State outcome);
    void end();
    // After an eject that failed: what the user can do.
    static QString stuckText();

    Presence& presence;
    TransferFlow& transfer;
    Lister lister;
    QList<BackupList::Item> items;
    State current = State::Idle;
    State pendingOutcome = State::Idle;
    QString folder;
    QString folderName;
    QString firmware;
    QStringList changedList;
    QStringList missing;
    int onlyOnInstrument = 0;
    qint64 bytesToWrite = 0;
    qint64 bytesWritten = 0;
    int filesWritten = 0;
    bool declined = false;
    bool stuckInTransfer = false;
    QString why;
};
