#pragma once

#include "TransferFlow.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

class Presence;
class UpdateFlow;

// A backup of the instrument's storage, as the full window and "tavlo" go through it: on its
// own ("Back up now") or before an update ("Back up Tavlo's projects first", on by default
// where the firmware offers the transfer mode). It enters the transfer mode (TransferFlow),
// has the storage worker copy the volume into a new dated folder (BackupWorker, through
// backUpRequested), and leaves the transfer mode again. Only when the instrument is back in
// normal mode does it say how it went; a backup before an update then starts the update, and
// one that failed or was cancelled starts nothing. Its screen covers the others while it runs
// and while its result shows.
class BackupFlow : public QObject
{
    Q_OBJECT
    Q_PROPERTY(State state READ state NOTIFY changed)
    // "Back up now" on the home screen.
    Q_PROPERTY(bool offered READ offered NOTIFY changed)
    // The option on the update screen, and whether it is on.
    Q_PROPERTY(bool optionOffered READ optionOffered NOTIFY changed)
    Q_PROPERTY(bool beforeUpdate READ beforeUpdate WRITE setBeforeUpdate NOTIFY changed)
    // Under the option: the last backup's size and time, once one was made.
    Q_PROPERTY(QString estimateText READ estimateText NOTIFY changed)
    Q_PROPERTY(bool screenShown READ screenShown NOTIFY changed)
    Q_PROPERTY(QString titleText READ titleText NOTIFY changed)
    Q_PROPERTY(QString statusText READ statusText NOTIFY changed)
    Q_PROPERTY(bool progressShown READ progressShown NOTIFY changed)
    Q_PROPERTY(int progress READ progress NOTIFY changed)
    Q_PROPERTY(bool cancelShown READ cancelShown NOTIFY changed)
    Q_PROPERTY(bool closeShown READ closeShown NOTIFY changed)
    // It ended on a failure (its reason is the status).
    Q_PROPERTY(bool failed READ failed NOTIFY changed)

public:
    enum class State {
        Idle,     // nothing of a backup shows
        Entering, // the transfer-start message went out; the instrument switches
        Copying,  // the worker copies and checks the volume's files
        Leaving,  // the volume is ejected and the transfer end awaited (the result is known)
        Done,     // the backup is complete and checked; the instrument is in normal mode
        Failed,   // why not; the instrument is in normal mode unless the reason says otherwise
        Cancelled // stopped by the user; nothing was kept
    };
    Q_ENUM(State)

    enum class Purpose { Standalone, BeforeUpdate, BeforeChosenUpdate, BeforeLocalFile };

    BackupFlow(Presence& presence, TransferFlow& transfer, UpdateFlow& update,
               QObject* parent = nullptr);

    // Where backups go (the user's documents, or "tavlo backup --to").
    void setBackupsRoot(const QString& folder) { root = folder; }
    QString backupsRoot() const { return root; }
    // The link reports the end of its wait for the instrument's return (the wiring connects
    // it to onLinkSettled): an update after the backup then starts only once that wait is
    // over, so that its update-mode message is not taken for the instrument's loss.
    void setLinkSettles(bool settles) { linkSettles = settles; }
    // The last successful backup's size and duration, for the estimate (0: none known).
    void setLastBackup(qint64 bytes, qint64 durationMs);

    State state() const { return current; }
    bool offered() const;
    bool optionOffered() const;
    bool beforeUpdate() const { return optionOn; }
    void setBeforeUpdate(bool on);
    QString estimateText() const;
    bool screenShown() const { return current != State::Idle; }
    QString titleText() const;
    QString statusText() const;
    bool progressShown() const { return current == State::Copying; }
    int progress() const;
    bool cancelShown() const { return current == State::Entering || current == State::Copying; }
    bool closeShown() const { return ended(); }
    bool failed() const { return current == State::Failed; }
    bool ended() const
    {
        return current == State::Done || current == State::Failed || current == State::Cancelled;
    }

    // The finished backup's folder, file count and bytes (Done); why it failed (Failed).
    QString folder() const { return doneFolder; }
    int files() const { return fileCount; }
    qint64 bytes() const { return totalBytes; }
    QString reason() const { return why; }

    // "Back up now".
    Q_INVOKABLE void backUpNow();
    // "Start Update": with the option on and offered, the backup first; else the update at once.
    Q_INVOKABLE void startUpdate();
    // The version page's pick, the same way.
    Q_INVOKABLE void startChosenUpdate();
    // An update file from the computer, the same way: empty when the backup (or the update)
    // went on, else why not (UpdateFlow::installLocal). A file found unusable only after the
    // backup ends the backup's screen with why.
    Q_INVOKABLE QString installLocal(const QString& urlOrPath, const QString& summary);
    Q_INVOKABLE void cancel();
    // The end screen's "Close": home, or the update screen after a backup before an update.
    Q_INVOKABLE void close();

public Q_SLOTS:
    void onBackupSized(int files, qint64 bytes);
    void onBackupProgress(qint64 doneBytes, qint64 totalBytes);
    void onBackupFinished(bool ok, bool cancelled, const QString& folder, int files, qint64 bytes,
                          qint64 linkedBytes, const QString& why);
    // The link's wait for the instrument's return has ended.
    void onLinkSettled();

Q_SIGNALS:
    void changed();
    void stateChanged(BackupFlow::State state);
    // To the storage worker (queued): back the volume with this label up under backupsRoot.
    void backUpRequested(const QString& volumeLabel, const QString& backupsRoot,
                         const QString& firmware);
    // To the storage worker, directly (the worker's cancel() only sets a flag).
    void cancelRequested();
    // Once per backup, when the instrument is back in normal mode: for the history.
    // result: "done", "failed" or "cancelled".
    void recorded(const QString& firmware, const QString& folder, int files, qint64 bytes,
                  qint64 linkedBytes, qint64 durationMs, const QString& result,
                  const QString& reason);

private:
    void begin(Purpose purpose);
    void setState(State next);
    void onTransferState(TransferFlow::State state);
    void onLost();
    // The worker's result is known: leave the transfer mode, then end.
    void leaveWith(State outcome);
    void end();
    // After a complete backup before an update: the update starts.
    void startTheUpdate();
    // After an eject that failed: what the user can do.
    static QString stuckText();

    Presence& presence;
    TransferFlow& transfer;
    UpdateFlow& update;
    QString root;
    State current = State::Idle;
    State pendingOutcome = State::Idle;
    Purpose purpose = Purpose::Standalone;
    bool optionOn = true;
    // The eject failed while leaving: the transfer screen took the instrument over.
    bool stuckInTransfer = false;
    // The backup is complete, but the update file then proved unusable.
    bool updateRefused = false;
    bool linkSettles = false;
    bool settled = false;     // the link's wait after the transfer end is over
    bool startPending = false; // the update waits for it
    qint64 lastBytes = 0;
    qint64 lastDurationMs = 0;
    QString firmware;
    QString localFile;
    QString localSummary;
    int fileCount = 0;
    qint64 totalBytes = 0;
    qint64 doneBytes = 0;
    qint64 linked = 0;
    QString doneFolder;
    QString why;
    QElapsedTimer clock;
};
