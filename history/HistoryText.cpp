#include "HistoryText.h"

#include <QLocale>
#include <QStringList>

namespace {

// The last part of a folder's path (the backup's name), with either system's separator.
QString folderName(const QString& folder)
{
    QString path = folder;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    return name.isEmpty() ? folder : name;
}

} // namespace

QString HistoryText::date(const HistoryRecord& record)
{
    return record.time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

QString HistoryText::empty()
{
    return tr("Nothing has been done to Tavlo yet.");
}

QString HistoryText::result(const HistoryRecord& record)
{
    const QString& r = record.result;
    if (r == QLatin1String("confirmed"))
        return tr("confirmed");
    if (r == QLatin1String("not-applied"))
        return tr("not applied");
    if (r == QLatin1String("not-confirmed"))
        return tr("not confirmed");
    if (r == QLatin1String("cancelled"))
        return tr("cancelled");
    if (r == QLatin1String("done"))
        return tr("done");
    return tr("failed");
}

QString HistoryText::size(qint64 bytes)
{
    if (bytes < 1000)
        return bytes == 1 ? tr("1 byte") : tr("%1 bytes").arg(bytes);
    const char* units[] = {QT_TR_NOOP("%1 kB"), QT_TR_NOOP("%1 MB"), QT_TR_NOOP("%1 GB"),
                           QT_TR_NOOP("%1 TB")};
    double value = double(bytes) / 1000.0;
    int unit = 0;
    while (value >= 999.5 && unit < 3) {
        value /= 1000.0;
        ++unit;
    }
    // Three figures at most: "412 kB", "38 MB", "1.5 GB".
    const int decimals = value < 9.95 ? 1 : 0;
    return tr(units[unit]).arg(QLocale().toString(value, 'f', decimals));
}

QString HistoryText::summary(const HistoryRecord& r)
{
    switch (r.kind) {
    case HistoryRecord::Kind::Update:
        if (r.fromVersion.isEmpty() && r.toVersion.isEmpty())
            return tr("Update: %1").arg(result(r));
        if (r.fromVersion.isEmpty())
            return tr("Update to %1: %2").arg(r.toVersion, result(r));
        if (r.toVersion.isEmpty())
            return tr("Update from %1: %2").arg(r.fromVersion, result(r));
        return tr("Update %1 → %2: %3").arg(r.fromVersion, r.toVersion, result(r));
    case HistoryRecord::Kind::Backup:
        if (r.result != QLatin1String("done"))
            return tr("Backup: %1").arg(result(r));
        return r.files == 1 ? tr("Backup: 1 file, %1").arg(size(r.bytes))
                            : tr("Backup: %1 files, %2").arg(QString::number(r.files), size(r.bytes));
    case HistoryRecord::Kind::Restore: {
        const QString from = r.firmware.isEmpty()
            ? tr("Restore from %1").arg(folderName(r.folder))
            : tr("Restore from %1 firmware %2").arg(folderName(r.folder), r.firmware);
        if (r.result != QLatin1String("done"))
            return tr("%1: %2").arg(from, result(r));
        return r.files == 1 ? tr("%1: 1 file").arg(from) : tr("%1: %2 files").arg(from, QString::number(r.files));
    }
    }
    return QString();
}

QString HistoryText::detail(const HistoryRecord& r)
{
    QStringList lines;
    if (r.kind == HistoryRecord::Kind::Update) {
        if (!r.fileName.isEmpty())
            lines << tr("File %1").arg(r.fileName);
        if (!r.sha256.isEmpty())
            lines << tr("SHA-256 %1").arg(r.sha256);
        if (!r.confirmedVersion.isEmpty())
            lines << tr("The instrument reported firmware %1 afterwards.").arg(r.confirmedVersion);
    } else {
        if (!r.folder.isEmpty())
            lines << tr("Folder %1").arg(r.folder);
        if (r.kind == HistoryRecord::Kind::Backup && r.linkedBytes > 0)
            lines << tr("%1 taken over from the backup before").arg(size(r.linkedBytes));
    }
    if (!r.reason.isEmpty())
        lines << r.reason;
    return lines.join(QLatin1Char('\n'));
}
