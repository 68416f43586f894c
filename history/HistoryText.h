#pragma once

#include "HistoryRecord.h"

#include <QCoreApplication>
#include <QString>

// What the history page and "tavlo history" say of a record, in plain words. Pure (the time
// is shown in the computer's time zone).
class HistoryText
{
    Q_DECLARE_TR_FUNCTIONS(HistoryText)

public:
    // "2026-12-09 14:03"
    static QString date(const HistoryRecord& record);
    // "Update 1.5.2 → 1.6.0: confirmed", "Backup: 412 files, 38 MB",
    // "Restore from 2026-12-09 14-03 firmware 1.5.2: 3 files"
    static QString summary(const HistoryRecord& record);
    // The file and its SHA-256, the folder, the reason: one line each, empty when none.
    static QString detail(const HistoryRecord& record);
    // The result in words ("not applied").
    static QString result(const HistoryRecord& record);
    // A size in bytes, kB, MB or GB (decimal units, as the file managers show them).
    static QString size(qint64 bytes);
    // The page's and the command's line when there is nothing.
    static QString empty();
};
