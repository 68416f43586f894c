#pragma once

#include "BackupFlow.h"
#include "FlowScript.h"
#include "RestoreFlow.h"

// The full edition's flows with the backup and the restore over them, and the storage
// worker's reports as script steps besides FlowScript's:
//
//   backupNow | startUpdate | installLocal <file> | option off | cancel | close   presses
//   sized <files> <bytes> | progress <done> <total>            the backup worker's reports
//   backedUp | backupFailed <why> | backupCancelled
//   linkSettles | settled                                       the link's wait, heard / over
//   restoreOpen | choose <row> | confirm | decline              the restore page's presses
//   checked ok|bad <why> | planned <changed> <missing> <only>   the restore worker's reports
//   wrote <files> | restoreFailed <why>
//
// The requests to the worker are added to the script's calls: "backUp", "cancelBackup",
// "check", "plan", "restore", "cancelRestore"; each record for the history to records.
class BackupScript
{
public:
    BackupScript();

    bool play(const QStringList& steps);
    QString error() const { return script.error(); }
    // "backup restore transfer update | title | status (first 40) | buttons".
    QString shown() const;

    FlowScript script{UpdateFlowPolicy::fullEdition()};
    BackupFlow backup{script.presence, script.transfer, script.update};
    RestoreFlow restore{script.presence, script.transfer};
    QStringList records;
    int backups = 2;

private:
    bool step(const QString& verb, const QString& rest);
};
