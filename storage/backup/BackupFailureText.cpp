#include "BackupFailureText.h"

#include <QCoreApplication>
#include <QDir>

namespace BackupFailureText {

namespace {
QString shown(const QString& folder)
{
    return QDir::toNativeSeparators(folder);
}
} // namespace

QString targetFull(const QString& folder)
{
    return QCoreApplication::translate("BackupFailureText",
                                       "The backup could not be written: \"%1\" is full. Free some "
                                       "space there or choose another folder.")
        .arg(shown(folder));
}

QString targetReadOnly(const QString& folder)
{
    return QCoreApplication::translate("BackupFailureText",
                                       "The backup could not be written: \"%1\" is on a read-only "
                                       "disk. Choose another folder.")
        .arg(shown(folder));
}

QString targetNotWritable(const QString& folder, const QString& systemText)
{
    return QCoreApplication::translate("BackupFailureText",
                                       "The backup could not be written to \"%1\" (%2). Check that "
                                       "you may write there, or choose another folder.")
        .arg(shown(folder), systemText);
}

QString sourceUnreadable(const QString& path, const QString& systemText)
{
    return QCoreApplication::translate("BackupFailureText",
                                       "Tavlo's file \"%1\" could not be read (%2). Nothing was "
                                       "backed up. Restart Tavlo and try again; if it happens "
                                       "again, copy the other files by hand.")
        .arg(path, systemText);
}

QString folderUnreadable(const QString& path)
{
    if (path.isEmpty())
        return QCoreApplication::translate("BackupFailureText",
                                           "Tavlo's storage could not be read. Nothing was backed "
                                           "up. Restart Tavlo and try again.");
    return QCoreApplication::translate("BackupFailureText",
                                       "Tavlo's folder \"%1\" could not be read. Nothing was backed "
                                       "up. Restart Tavlo and try again.")
        .arg(path);
}

QString volumeGone()
{
    return QCoreApplication::translate("BackupFailureText",
                                       "Tavlo's storage went away during the backup, so nothing "
                                       "was kept. Check the USB cable and try again.");
}

QString volumeNeverAppeared()
{
    return QCoreApplication::translate("BackupFailureText",
                                       "Tavlo's storage did not appear on this computer, so "
                                       "nothing was backed up. Check the USB cable, or switch "
                                       "Tavlo off and on, and try again.");
}

QString verifyMismatch(const QString& path)
{
    return QCoreApplication::translate("BackupFailureText",
                                       "The check after copying found that the copy of \"%1\" "
                                       "differs from Tavlo's file, so the backup was not kept. "
                                       "The backup disk may be failing: try again, or choose "
                                       "another folder.")
        .arg(path);
}

QString verifyUnreadable(const QString& path)
{
    return QCoreApplication::translate("BackupFailureText",
                                       "The check after copying could not read the copy of "
                                       "\"%1\" back, so the backup was not kept. The backup disk "
                                       "may be failing: try again, or choose another folder.")
        .arg(path);
}

} // namespace BackupFailureText
