#pragma once

#include <QString>
#include <QtGlobal>

// The update-only edition's copy progress as text: copied * 100 / total in 64-bit integer
// division, not clamped, followed by "%" (40 gives "40%").
class ProgressText
{
public:
    // "0%" when the total is not positive: a file that was empty when its size was taken
    // but grew since would otherwise divide by 0.
    static QString of(qint64 copied, qint64 total);
};
