#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

// Why a backup could not be put back onto Tavlo's volume, in plain words for the window and
// tavlo, each naming the cause and what to do; translated. Pure. Paths are the backup's
// relative paths, shown as they are (the caller shows the sentence as plain text).
namespace RestoreFailureText {

// The backup's files no longer match its manifest: up to five named, then "and N more".
QString filesDoNotMatch(const QStringList& files);
QString manifestMissing();
// detail: why the manifest could not be used, in plain words (untranslated).
QString manifestUnreadable(const QString& detail);
// A file of the backup changed after it was checked, while it was restored.
QString backupChangedDuringRestore(const QString& file);
// needed: what the files still to be restored take; free: what the volume has.
QString volumeFull(qint64 needed, qint64 free);
// written: the files restored before the volume went away (may be empty).
QString disconnected(const QStringList& written);
QString volumeNotFound();
QString volumeReadOnly();
// Tavlo's volume refused to take a file; systemText: the system's reason.
QString writeRefused(const QString& file, const QString& systemText);
// The system refused the write for a reason of its own (refusal: WriteRefusalText's sentence).
QString refusedBySystem(const QString& file, const QString& refusal);
// A folder on the way to the file is a link (or not a folder): nothing is written through it.
QString notAFolder(const QString& file);
QString readBackMismatch(const QString& file);

// The files named in a sentence: up to five, then "and N more".
QString fileList(const QStringList& files);

} // namespace RestoreFailureText
