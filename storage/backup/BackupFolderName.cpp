#include "BackupFolderName.h"

namespace {

constexpr qsizetype kLongestFirmware = 40;
const QLatin1String kPartial(".partial");

bool keeps(QChar ch)
{
    return ch.isLetterOrNumber() || ch == QLatin1Char(' ') || ch == QLatin1Char('.') || ch == QLatin1Char('-')
           || ch == QLatin1Char('_') || ch == QLatin1Char('+');
}

QString safeFirmware(const QString& firmware)
{
    QString safe;
    for (const QChar ch : firmware) {
        if (safe.size() >= kLongestFirmware)
            break;
        // Letters beyond ASCII are kept only when whole (no lone surrogate halves).
        safe += keeps(ch) && !ch.isSurrogate() ? ch : QLatin1Char('_');
    }
    // Windows drops blanks and dots at the end of a name; a leading dot hides a folder.
    while (!safe.isEmpty() && (safe.endsWith(QLatin1Char(' ')) || safe.endsWith(QLatin1Char('.'))))
        safe.chop(1);
    while (!safe.isEmpty() && (safe.startsWith(QLatin1Char(' ')) || safe.startsWith(QLatin1Char('.'))))
        safe.remove(0, 1);
    return safe;
}

} // namespace

QString BackupFolderName::forBackup(const QDateTime& time, const QString& firmware)
{
    const QString version = safeFirmware(firmware);
    return time.toString(QStringLiteral("yyyy-MM-dd HH-mm")) + QStringLiteral(" firmware ")
           + (version.isEmpty() ? QStringLiteral("unknown") : version);
}

QString BackupFolderName::withNumber(const QString& base, int n)
{
    return base + QStringLiteral(" (%1)").arg(n);
}

QString BackupFolderName::partialName(const QString& name)
{
    return name + kPartial;
}

bool BackupFolderName::isPartial(const QString& folderName)
{
    return folderName.endsWith(kPartial);
}
