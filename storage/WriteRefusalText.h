#pragma once

#include <WriteRefusal.h>

#include <QString>

// What to tell the user when the system refused a write somewhere that is not write-protected:
// on Windows, that Controlled Folder Access or an antivirus program may be blocking this
// program, and how to allow it; elsewhere, the system's reason and what to check. Empty for
// every other kind of refusal: the caller's own sentence (read-only, full, the system's words)
// fits those. Pure.
namespace WriteRefusalText {

enum class Place {
    TavloDrive,   // the instrument's volume (the update file, a restore)
    BackupFolder, // the folder on this computer that holds the backups
};

// program: this program's file as the user finds it in the system's settings; folder: the
// backup folder (BackupFolder only).
QString sentence(const WriteRefusal& refusal, Place place, bool windows, const QString& program,
                 const QString& folder = QString());

// The same for this program on this system.
QString sentenceHere(const WriteRefusal& refusal, Place place, const QString& folder = QString());

} // namespace WriteRefusalText
