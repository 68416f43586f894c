#include "ProgressText.h"

QString ProgressText::of(qint64 copied, qint64 total)
{
    if (total <= 0)
        return QStringLiteral("0%");
    return QString::number(copied * 100 / total) + QLatin1Char('%');
}
