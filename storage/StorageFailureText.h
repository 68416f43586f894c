#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

// Why the update file could not be put onto Tavlo's volume or the volume could not be
// released, in plain words for the window and translated. Pure.
namespace StorageFailureText {

QString volumeNotThere();
QString volumeGoneDuringCopy();
QString volumeGoneBeforeEject();
QString volumeGoneAfterCopy();
QString volumeNeverAppeared();
QString volumeReadOnly();
// A drive with the label looked for that is not the instrument's: it was left alone.
QString strangerVolume(const QString& label);
// More than one of the instrument's drives carry the label: none was used.
QString severalOwnVolumes(const QString& label);
QString volumeFull();
QString volumeFullNeeds(qint64 needed, qint64 free);
QString fileLargerThanVolume(qint64 fileSize, qint64 volumeSize);
QString volumeInUse();
// The same, naming the programs that hold the volume.
QString volumeInUseBy(const QStringList& programs);
QString volumeNotReleased();
QString writeFailed(const QString& systemText);
QString flushFailed();
QString sourceUnreadable();
QString sourceChanged();
QString staleNotRemovable();
QString readBackUnreadable();
QString readBackMismatch();

} // namespace StorageFailureText
