#include "StorageFailureText.h"

#include <QCoreApplication>

namespace StorageFailureText {

namespace {
QString megabytes(qint64 bytes)
{
    return QString::number(double(bytes) / (1024.0 * 1024.0), 'f', 1) + QStringLiteral(" MB");
}
} // namespace

QString volumeNotThere()
{
    return QCoreApplication::translate("StorageFailureText",
                                       "Tavlo's volume is not there any more. Was Tavlo unplugged?");
}

QString volumeGoneDuringCopy()
{
    return QCoreApplication::translate("StorageFailureText",
                                       "Tavlo's volume went away during the copy. Was Tavlo "
                                       "unplugged?");
}

QString volumeGoneBeforeEject()
{
    return QCoreApplication::translate("StorageFailureText",
                                       "Tavlo's volume went away before it could be ejected. Was "
                                       "Tavlo unplugged?");
}

QString volumeGoneAfterCopy()
{
    return QCoreApplication::translate("StorageFailureText",
                                       "Tavlo's volume went away right after the copy. Was Tavlo "
                                       "unplugged?");
}

QString volumeNeverAppeared()
{
    return QCoreApplication::translate("StorageFailureText",
                                       "Tavlo's update volume did not appear on this computer.");
}

QString volumeReadOnly()
{
    return QCoreApplication::translate("StorageFailureText",
                                       "Tavlo's volume is read-only, so the update file could not "
                                       "be copied onto it.");
}

QString strangerVolume(const QString& label)
{
    return QCoreApplication::translate("StorageFailureText",
                                       "A drive named %1 that is not Tavlo is connected; it was "
                                       "left alone.")
        .arg(label);
}

QString severalOwnVolumes(const QString& label)
{
    return QCoreApplication::translate("StorageFailureText",
                                       "More than one Tavlo drive named %1 is connected, so none "
                                       "was used. Connect only one Tavlo, then try again.")
        .arg(label);
}

QString volumeFull()
{
    return QCoreApplication::translate("StorageFailureText",
                                       "Tavlo's volume is full, so the update file could not be "
                                       "copied onto it.");
}

QString volumeFullNeeds(qint64 needed, qint64 free)
{
    return QCoreApplication::translate("StorageFailureText",
                                       "Tavlo's volume is full: the update file needs %1, %2 are "
                                       "free.")
        .arg(megabytes(needed), megabytes(free));
}

QString fileLargerThanVolume(qint64 fileSize, qint64 volumeSize)
{
    return QCoreApplication::translate("StorageFailureText",
                                       "The update file (%1) is larger than Tavlo's volume (%2).")
        .arg(megabytes(fileSize), megabytes(volumeSize));
}

QString volumeInUse()
{
    return QCoreApplication::translate("StorageFailureText",
                                       "Tavlo's volume is in use, so it could not be ejected "
                                       "safely. Close any window or program that uses it, then "
                                       "try again.");
}

QString volumeInUseBy(const QStringList& programs)
{
    return QCoreApplication::translate("StorageFailureText",
                                       "Tavlo's volume is in use by %1, so it could not be ejected "
                                       "safely. Close what it has open there, then try again.")
        .arg(programs.join(QStringLiteral(", ")));
}

QString volumeNotReleased()
{
    return QCoreApplication::translate("StorageFailureText",
                                       "Tavlo's volume could not be released.");
}

QString writeFailed(const QString& systemText)
{
    return QCoreApplication::translate("StorageFailureText",
                                       "The update file could not be written to Tavlo's volume "
                                       "(%1).")
        .arg(systemText);
}

QString flushFailed()
{
    return QCoreApplication::translate("StorageFailureText",
                                       "The update file could not be flushed to Tavlo's volume, "
                                       "so it may not have reached the device.");
}

QString sourceUnreadable()
{
    return QCoreApplication::translate("StorageFailureText",
                                       "The downloaded update file could not be read.");
}

QString sourceChanged()
{
    return QCoreApplication::translate("StorageFailureText",
                                       "The downloaded update file changed during the copy.");
}

QString staleNotRemovable()
{
    return QCoreApplication::translate("StorageFailureText",
                                       "An old update file on Tavlo's volume could not be "
                                       "removed.");
}

QString readBackUnreadable()
{
    return QCoreApplication::translate("StorageFailureText",
                                       "The copy on Tavlo's volume could not be read back.");
}

QString readBackMismatch()
{
    return QCoreApplication::translate("StorageFailureText",
                                       "The copy on Tavlo's volume does not match the update file "
                                       "(read-back check failed).");
}

} // namespace StorageFailureText
