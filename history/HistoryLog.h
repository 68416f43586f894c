#pragma once

#include "HistoryRecord.h"

#include <QList>
#include <QString>

// The history file: one record per line (HistoryLine), appended, kept for the user alone.
//
// An empty path keeps nothing (the tests' platform has no folders): append() does nothing
// and read() finds nothing. A write that fails is logged ("tavlo.history") and reported by
// append()'s result; it never stops what is being recorded. The file is kept bounded: once an
// append takes it over the limit it is written anew with the newest records that fit in half
// the limit, through a temporary file and a rename, so that a cut-off rewrite leaves the old
// file whole.
class HistoryLog
{
public:
    static constexpr qint64 kDefaultLimit = 1024 * 1024;

    explicit HistoryLog(const QString& path, qint64 limitBytes = kDefaultLimit);

    // The history file in a folder (the state folder); an empty folder keeps nothing.
    static HistoryLog inFolder(const QString& folder);

    QString path() const { return file; }

    // Creates the folder, appends the record's line and flushes it. False (logged) when it
    // could not be written.
    bool append(const HistoryRecord& record) const;
    // The records, newest first; lines that are no record are skipped. Reads at most the last
    // limit's worth of the file.
    QList<HistoryRecord> read() const;

private:
    void trim() const;

    QString file;
    qint64 limit;
};
