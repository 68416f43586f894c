#include "SizeText.h"

#include <QLocale>

QString SizeText::bytes(qint64 count)
{
    const QLocale locale;
    QString text = locale.formattedDataSize(qMax<qint64>(count, 0), 1, QLocale::DataSizeSIFormat);
    // "3.0 MB" says no more than "3 MB".
    return text.replace(locale.decimalPoint() + QStringLiteral("0 "), QStringLiteral(" "));
}

QString SizeText::duration(qint64 milliseconds)
{
    if (milliseconds < 60000)
        return tr("less than a minute");
    const int minutes = int((milliseconds + 30000) / 60000);
    return minutes == 1 ? tr("about 1 minute") : tr("about %1 minutes").arg(minutes);
}

QString SizeText::files(int count)
{
    return count == 1 ? tr("1 file") : tr("%1 files").arg(QLocale().toString(count));
}
