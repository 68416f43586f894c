#pragma once

#include <QCoreApplication>
#include <QString>

// Sizes and durations as the backup and restore screens say them, in the window's language.
// Pure.
class SizeText
{
    Q_DECLARE_TR_FUNCTIONS(SizeText)

public:
    // "38.2 MB", "3 MB" (units of 1000, at most one decimal, the locale's decimal sign).
    static QString bytes(qint64 count);
    // "less than a minute", "about 1 minute", "about 3 minutes".
    static QString duration(qint64 milliseconds);
    // "1 file", "12 files" (with the locale's digit grouping).
    static QString files(int count);
};
