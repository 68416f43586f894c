#pragma once

#include "UpdateConfirmation.h"
#include "UpdateFlow.h"

#include <QObject>
#include <QString>

#include <atomic>

class CliBackup;
class CliOutput;
class FullEditionWiring;
struct CliOptions;

// "tavlo update" from the moment the version is known: the question, then the full edition's
// update flow (the one the window binds to), whose transitions, progress and confirmation it
// prints. It ends by emitting finished() once, with the exit code and the problem to show
// (empty when none).
//
// A stop (Ctrl-C) before the update-mode message ends at once with the instrument unchanged;
// once the update file is being handed to the instrument, the hand-over and the finish message
// are carried out first, because an instrument left in update mode could not be used until
// switched off and on; while the instrument applies the update, the command ends and the
// instrument goes on by itself.
class CliUpdate : public QObject
{
    Q_OBJECT

public:
    // backup: prints the backup the backup flow makes before the update (on by default where
    // the instrument has the transfer mode; --backup, --no-backup).
    CliUpdate(FullEditionWiring& wiring, const CliOptions& options, CliOutput& output,
              const std::atomic<bool>& interrupted, CliBackup& backup, QObject* parent = nullptr);

    // firmware: the instrument's; version: the catalogue's choice (unused for a file at hand).
    void start(const QString& firmware, const QString& version);
    void requestStop();

Q_SIGNALS:
    void finished(int code, const QString& problem);

private:
    // The backup before the update as asked for; false when the update is not to start.
    bool chooseBackup();
    void onBackupEnded(bool ok, int code, const QString& problem);
    void onFlowState(UpdateFlow::State state);
    void onFlowChanged();
    void onFailed();
    void onReenumerated(bool success);
    void onConfirmation(UpdateConfirmation::State state);
    void end(int code, const QString& problem = QString());

    FullEditionWiring& wiring;
    const CliOptions& options;
    CliOutput& out;
    const std::atomic<bool>& interrupted;
    UpdateFlow& flow;
    CliBackup& backup;
    QString firmware;
    QString version;
    bool begun = false; // the flow was opened
    bool ended = false;
    bool stopRequested = false;
    bool verificationFailed = false;
    bool modeSwitched = false; // the update-mode message went out
    // The update is handed over: the command waits for the instrument's return.
    bool applying = false;
    bool waitNoted = false;
    QString lastNote;
    QString handOverProblem;
};
