#include "WriteRefusalText.h"

#include <QCoreApplication>

namespace {

QString windowsTavloDrive(const QString& systemText, const QString& program)
{
    return QCoreApplication::translate(
               "WriteRefusalText",
               "Windows did not let this program write to Tavlo's drive (%1), although the drive "
               "is not write-protected. Controlled folder access or an antivirus program may be "
               "blocking it: allow \"%2\" in Windows Security (Virus & threat protection, "
               "Ransomware protection, Allow an app through Controlled folder access) or in your "
               "antivirus program, then try again.")
        .arg(systemText, program);
}

QString windowsBackupFolder(const QString& systemText, const QString& program,
                            const QString& folder)
{
    return QCoreApplication::translate(
               "WriteRefusalText",
               "Windows did not let this program write to \"%1\" (%2). Controlled folder access "
               "or an antivirus program may be blocking it: allow \"%3\" in Windows Security "
               "(Virus & threat protection, Ransomware protection, Allow an app through "
               "Controlled folder access) or in your antivirus program, or choose another "
               "folder.")
        .arg(folder, systemText, program);
}

QString elsewhereTavloDrive(const QString& systemText)
{
    return QCoreApplication::translate(
               "WriteRefusalText",
               "This computer did not let your user write to Tavlo's drive (%1), although the "
               "drive is not write-protected. Check the drive's permissions, or connect Tavlo "
               "again so that the system mounts its drive for you, then try again.")
        .arg(systemText);
}

// A path as Windows shows it, whatever system this runs on.
QString windowsPath(QString path)
{
    return path.replace(QLatin1Char('/'), QLatin1Char('\\'));
}

} // namespace

QString WriteRefusalText::sentence(const WriteRefusal& refusal, Place place, bool windows,
                                   const QString& program, const QString& folder)
{
    if (refusal.kind != WriteRefusal::Kind::AccessDenied)
        return {};
    const QString words = refusal.systemText.simplified();
    if (windows) {
        const QString shownProgram = windowsPath(program);
        return place == Place::TavloDrive
            ? windowsTavloDrive(words, shownProgram)
            : windowsBackupFolder(words, shownProgram, windowsPath(folder));
    }
    // A backup folder the user may not write to is said well enough by the backup's own text.
    return place == Place::TavloDrive ? elsewhereTavloDrive(words) : QString();
}

QString WriteRefusalText::sentenceHere(const WriteRefusal& refusal, Place place,
                                       const QString& folder)
{
    return sentence(refusal, place, WriteRefusal::kWindows,
                    QCoreApplication::applicationFilePath(), folder);
}
