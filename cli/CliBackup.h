#pragma once

#include "BackupFlow.h"

#include <QObject>
#include <QString>

#include <functional>

class CliOutput;
class FullEditionWiring;

// The full edition's backup flow (the one the window binds to) on the command line: "tavlo
// backup", and the backup "tavlo update" makes before the download. It prints the flow's steps
// and its progress as the flow words them, and emits ended() once per backup it watched:
// ok when the backup is complete (then the instrument is in normal mode again), else the exit
// code and the problem to show.
//
// A stop (Ctrl-C) is the flow's cancel: nothing is kept, and the command ends only once the
// instrument is back in normal mode.
class CliBackup : public QObject
{
    Q_OBJECT

public:
    CliBackup(FullEditionWiring& wiring, CliOutput& output, QObject* parent = nullptr);

    // "tavlo backup": the firmware must offer the transfer mode; the backup goes below the
    // flow's backups folder.
    void backUpNow(const QString& firmware);
    // "tavlo update": the flow's start (startUpdate, startChosenUpdate or installLocal) decides
    // whether the backup comes first (its option and where it is offered); true when it does (its steps are then printed, and ended() says how it
    // went), false when the update was started at once.
    bool watchUpdateStart(const std::function<void()>& startThroughTheFlow);
    bool running() const { return watching; }
    void requestStop();
    bool stopped() const { return stopRequested; }

    // The sentence for a firmware without the transfer mode.
    static QString needsTransferMode(const QString& firmware);

Q_SIGNALS:
    void ended(bool ok, int code, const QString& problem);

private:
    void onState(BackupFlow::State state);
    void onChanged();
    void finish(bool ok, int code, const QString& problem = QString());

    BackupFlow& flow;
    CliOutput& out;
    bool watching = false;
    bool stopRequested = false;
    bool began = false; // the flow left Idle since the start was asked for
    int lastPercent = -1;
    BackupFlow::State lastState = BackupFlow::State::Idle;
};
