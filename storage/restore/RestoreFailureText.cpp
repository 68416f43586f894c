#include "RestoreFailureText.h"

#include <QCoreApplication>

namespace RestoreFailureText {

namespace {
constexpr int kNamedFiles = 5;

QString megabytes(qint64 bytes)
{
    return QString::number(double(bytes) / (1024.0 * 1024.0), 'f', 1) + QStringLiteral(" MB");
}
} // namespace

QString fileList(const QStringList& files)
{
    const QString named = files.mid(0, kNamedFiles).join(QStringLiteral(", "));
    if (files.size() <= kNamedFiles)
        return named;
    return QCoreApplication::translate("RestoreFailureText", "%1 and %2 more")
        .arg(named)
        .arg(files.size() - kNamedFiles);
}

QString filesDoNotMatch(const QStringList& files)
{
    return QCoreApplication::translate(
               "RestoreFailureText",
               "The backup's files do not match what was backed up: %1. They were changed or "
               "removed since, so this backup cannot be restored. Choose another backup.")
        .arg(fileList(files));
}

QString manifestMissing()
{
    return QCoreApplication::translate(
        "RestoreFailureText",
        "This backup has no list of its files (manifest.json), so it cannot be restored. "
        "Choose another backup.");
}

QString manifestUnreadable(const QString& detail)
{
    return QCoreApplication::translate(
               "RestoreFailureText",
               "The list of this backup's files (manifest.json) cannot be read (%1), so the "
               "backup cannot be restored. Choose another backup.")
        .arg(detail);
}

QString backupChangedDuringRestore(const QString& file)
{
    return QCoreApplication::translate(
               "RestoreFailureText",
               "The backup's file %1 changed during the restore, so it was not restored. Leave "
               "the backup folder alone while restoring, check the backup again, then restore "
               "again.")
        .arg(file);
}

QString volumeFull(qint64 needed, qint64 free)
{
    return QCoreApplication::translate(
               "RestoreFailureText",
               "Tavlo's volume is full: the restore needs %1, %2 are free. Delete files on Tavlo "
               "you no longer need, then restore again.")
        .arg(megabytes(needed), megabytes(free));
}

QString disconnected(const QStringList& written)
{
    if (written.isEmpty())
        return QCoreApplication::translate(
            "RestoreFailureText",
            "Tavlo was disconnected during the restore. No file was restored; the files "
            "on Tavlo are as they were. Connect Tavlo again, then restore again.");
    return QCoreApplication::translate(
               "RestoreFailureText",
               "Tavlo was disconnected during the restore. Restored: %1. The other files on "
               "Tavlo are as they were. Connect Tavlo again, then restore again to finish.")
        .arg(fileList(written));
}

QString volumeNotFound()
{
    return QCoreApplication::translate(
        "RestoreFailureText",
        "Tavlo's volume did not appear on this computer. Check the cable, then try "
        "again.");
}

QString volumeReadOnly()
{
    return QCoreApplication::translate(
        "RestoreFailureText", "Tavlo's volume is read-only, so nothing could be restored onto it.");
}

QString refusedBySystem(const QString& file, const QString& refusal)
{
    return QCoreApplication::translate("RestoreFailureText",
                                       "%1 was not restored; the file on Tavlo is as it was. %2")
        .arg(file, refusal);
}

QString writeRefused(const QString& file, const QString& systemText)
{
    return QCoreApplication::translate(
               "RestoreFailureText",
               "Tavlo's volume refused to take %1 (%2). The file is as it was; restore again, "
               "and if it fails again, check Tavlo's storage.")
        .arg(file, systemText);
}

QString notAFolder(const QString& file)
{
    return QCoreApplication::translate(
               "RestoreFailureText",
               "%1 could not be restored: a folder on its way on Tavlo's volume is a link or a "
               "file, and nothing is written through it. Move it away on Tavlo, then restore "
               "again.")
        .arg(file);
}

QString readBackMismatch(const QString& file)
{
    return QCoreApplication::translate(
               "RestoreFailureText",
               "The copy of %1 on Tavlo's volume did not read back as written, so it was not "
               "put in place; the file is as it was. Restore again, and if it fails again, check "
               "Tavlo's storage.")
        .arg(file);
}

} // namespace RestoreFailureText
