#pragma once

#include "RestoreFlow.h"

#include <QObject>
#include <QString>

class CliOutput;
class FullEditionWiring;

// "tavlo restore" on the full edition's restore flow (the one the window's restore page binds
// to): the backup is checked against its manifest, the instrument's differing files are
// listed and asked about ("--yes" answers yes; with no terminal to ask and no --yes the answer
// is no), and the end is printed once the instrument is back in normal mode. Without a backup
// named it lists the backups. It ends by emitting finished() once, with the exit code and the
// problem to show (empty when none).
//
// A stop (Ctrl-C) cancels at the next point the flow allows: the check or the writing is
// cancelled, the question is answered no; the command ends once the instrument is back in
// normal mode.
class CliRestore : public QObject
{
    Q_OBJECT

public:
    CliRestore(FullEditionWiring& wiring, CliOutput& output, bool yes, QObject* parent = nullptr);

    // The backups below the backups folder, newest first, each with its folder's name.
    void list();
    // backup: a backup folder's path, or its name below the backups folder.
    void start(const QString& firmware, const QString& backup, const QString& backupsRoot);
    void requestStop();

    // The backup folder a BACKUP argument names: the folder of that name below backupsRoot
    // when there is one, else the folder at that path. Empty when there is no such folder.
    static QString folderFor(const QString& backup, const QString& backupsRoot);

Q_SIGNALS:
    void finished(int code, const QString& problem);

private:
    void onState(RestoreFlow::State state);
    void onChanged();
    void ask();
    void end(int code, const QString& problem = QString());

    RestoreFlow& flow;
    CliOutput& out;
    bool yes;
    bool watching = false;
    bool ended = false;
    bool stopRequested = false;
    // The failure came from the backup's own check (before the instrument was touched).
    bool checkFailed = false;
    int lastPercent = -1;
    RestoreFlow::State lastState = RestoreFlow::State::Idle;
};
