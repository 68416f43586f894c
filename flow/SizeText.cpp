#include "SizeText.h"

#include <QLocale>

QString SizeText::bytes(qint64 count)
{
    return QLocale().formattedDataSize(qMax<qint64>(count, 0), 1, QLocale::DataSizeSIFormat);
}

QString SizeText::duration(qint64 milliseconds)
{
    if (milliseconds < 60000)
        return tr("less than a minute");
    const int minutes = int((milliseconds + 30000) / 60000);
    return tr("about %n minute(s)", nullptr, minutes);
}
