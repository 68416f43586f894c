#pragma once

#include <QDateTime>
#include <QString>

// The name of a backup's folder: when it was made (local time, to the minute) and the
// firmware the instrument ran, e.g. "2026-12-09 14-03 firmware 1.5.2". Pure.
class BackupFolderName
{
public:
    // The name for a backup made at time of an instrument running firmware. The firmware
    // text comes from the instrument, so only letters, digits, blanks, '.', '-', '_' and '+'
    // of it are kept (anything else becomes '_'), at most 40 characters, without blanks or
    // dots at either end; an empty or unknown one gives "firmware unknown".
    static QString forBackup(const QDateTime& time, const QString& firmware);
    // base when taken(base) is false, else "base (2)", "base (3)" and on: the first not taken.
    template <typename Taken>
    static QString firstFree(const QString& base, Taken taken)
    {
        if (!taken(base))
            return base;
        for (int n = 2;; ++n) {
            const QString candidate = withNumber(base, n);
            if (!taken(candidate))
                return candidate;
        }
    }
    static QString withNumber(const QString& base, int n);
    // The name a backup has while it is written: "<name>.partial".
    static QString partialName(const QString& name);
    static bool isPartial(const QString& folderName);
};
