#pragma once

#include <BackupManifest.h>

#include <QString>
#include <QtGlobal>

#include <functional>

// Puts one file of a backup onto the instrument's volume so that its path names either the
// old file or the backup's, never anything half-written: the missing folders are made (never
// through a link, which is refused), the backup's bytes are copied to a temporary name beside
// the file ("<dot>tavlo-restore-N.tmp", created anew: nothing of the volume's is overwritten
// or followed) while they are hashed, and refused when they are not what the manifest says
// (the backup changed since it was checked). The copy gets the manifest's modification time,
// is pushed to the device, read back from the device (not the cache) and checked against the
// manifest, and only then renamed over the old file. On any failure the temporary file and
// the folders this copy made are removed.
class RestoreFileCopy
{
  public:
    // Why a copy under way is to end, asked every kCheckEveryBytes and before the rename.
    enum class Verdict
    {
        Continue,
        Cancelled,
        Vanished
    };

    enum class Outcome
    {
        Done,
        Cancelled,
        Vanished,         // the volume went away
        Full,             // no space left
        WriteFailed,      // the volume refused a write, a folder, the rename: systemText
        Refused,          // the system refuses writes there: systemText says what and how to allow
        NotAFolder,       // a folder on the way is a link or a file
        BackupChanged,    // the backup's file is no longer what the manifest says
        ReadBackMismatch, // the copy read back from the device differs
    };

    struct Hooks
    {
        std::function<Verdict()> check;           // none: always Continue
        std::function<bool(int fd)> syncFile;     // none: FileSync::syncDescriptor
        std::function<void(qint64 bytes)> copied; // bytes just written
    };

    struct Result
    {
        Outcome outcome = Outcome::Done;
        QString systemText; // WriteFailed: the system's reason; Refused: the whole sentence
    };

    static constexpr qint64 kBlock = 256 * 1024;
    static constexpr qint64 kCheckEveryBytes = 4 * kBlock;

    static Result copy(const QString& volumeRoot, const QString& backupFolder,
                       const BackupManifest::Entry& entry, const Hooks& hooks = {});

    // The entry's path joined under the root, or empty when the relative path is not safe
    // (BackupManifest::isSafeRelativePath) or the joined path would leave the root.
    static QString targetPath(const QString& volumeRoot, const QString& relativePath);
};
