#pragma once

#include <QString>

// Why a backup of Tavlo's storage could not be made, in plain words for the window and tavlo,
// translated: each sentence names the cause and what to do. Folder and file names are shown
// as they are (the caller shows them as plain text). Pure.
namespace BackupFailureText {

// The backup folder's disk is full.
QString targetFull(const QString& folder);
// The backup folder's disk is read-only.
QString targetReadOnly(const QString& folder);
// The backup could not be written there for another reason, in the system's words.
QString targetNotWritable(const QString& folder, const QString& systemText);
// A file on Tavlo (its path relative to the volume) could not be read.
QString sourceUnreadable(const QString& path, const QString& systemText);
// A folder on Tavlo could not be listed (empty: its top folder).
QString folderUnreadable(const QString& path);
QString volumeGone();
QString volumeNeverAppeared();
// The check after copying read a copy back and found other bytes than were copied.
QString verifyMismatch(const QString& path);
// The check after copying could not read a copy back.
QString verifyUnreadable(const QString& path);

} // namespace BackupFailureText
