import QtQuick 2.15

// The backup's screen: what it does now, its progress, and how it ended, over everything
// else while the published BackupFlow shows it. "Cancel" while it copies, "Close" at its end.
FlowPanel {
    id: screen

    // The published BackupFlow, or null.
    property QtObject backup: null

    objectName: "backupScreen"
    part: "backup"
    visible: backup !== null && backup.screenShown
    title: backup ? backup.titleText : ""
    status: backup ? backup.statusText : ""
    progressShown: backup !== null && backup.progressShown
    progress: backup ? backup.progress : 0
    cancelShown: backup !== null && backup.cancelShown
    closeShown: backup !== null && backup.closeShown
    statusColor: backup !== null && backup.failed ? "#ffb0a0" : "white"
    onCancelRequested: if (backup) backup.cancel()
    onCloseRequested: if (backup) backup.close()
}
