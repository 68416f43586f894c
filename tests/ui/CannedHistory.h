#pragma once

#include "HistoryLog.h"

#include <QDateTime>
#include <QList>

// A few records of each kind, as the History page's tests and pictures show them: an update
// confirmed (with its file and SHA-256), a backup, a restore that failed with its reason and
// an update that was not applied. Newest last, as they would have been written.
namespace CannedHistory {

inline QList<HistoryRecord> records()
{
    const QDateTime start(QDate(2026, 12, 9), QTime(14, 3), Qt::UTC);
    HistoryRecord update;
    update.time = start;
    update.instrument = HistoryRecord::instrumentKey();
    update.fromVersion = QStringLiteral("1.5.2");
    update.toVersion = QStringLiteral("1.6.0");
    update.fileName = QStringLiteral("tavlo-1.6.0.tvq");
    update.sha256 = QStringLiteral("9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08");
    update.confirmedVersion = QStringLiteral("1.6.0");
    update.result = QStringLiteral("confirmed");

    HistoryRecord backup;
    backup.kind = HistoryRecord::Kind::Backup;
    backup.time = start.addSecs(600);
    backup.firmware = QStringLiteral("1.6.0");
    backup.folder = QStringLiteral("/home/someone/Documents/Tavlo Backups/2026-12-09 14-13");
    backup.files = 412;
    backup.bytes = 38'000'000;
    backup.result = QStringLiteral("done");

    HistoryRecord restore;
    restore.kind = HistoryRecord::Kind::Restore;
    restore.time = start.addDays(1);
    restore.firmware = QStringLiteral("1.6.0");
    restore.folder = backup.folder;
    restore.result = QStringLiteral("failed");
    restore.reason = QStringLiteral("<b>The volume is full.</b>");

    HistoryRecord notApplied = update;
    notApplied.time = start.addDays(2);
    notApplied.fromVersion = QStringLiteral("1.6.0");
    notApplied.toVersion = QStringLiteral("1.7.0");
    notApplied.confirmedVersion = QStringLiteral("1.6.0");
    notApplied.result = QStringLiteral("not-applied");
    return {update, backup, restore, notApplied};
}

// Writes them into the history file in folder.
inline bool writeInto(const QString& folder)
{
    const HistoryLog log = HistoryLog::inFolder(folder);
    for (const HistoryRecord& record : records()) {
        if (!log.append(record))
            return false;
    }
    return true;
}

} // namespace CannedHistory
