#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

// Puts the update file onto the instrument's volume so that nothing unverified ever carries
// the hand-over name: checks the free space first, copies under a fixed temporary name
// (temporaryNameFor: never the hand-over name nor the source's, in any case) while hashing the
// source on a thread beside it, pushes the file to the device, drops its
// cached pages, reads it back from the device and compares it byte for byte with the source,
// and only then renames it to the hand-over name and pushes the directory entry. On any failure it removes the temporary file and any hand-over file
// this run made; a stale hand-over file from an earlier attempt is removed before the copy,
// but when that file is the source itself (picked from the volume) it is copied first and
// replaced only by its checked copy. A source elsewhere on the volume is left as it is.
//
// The copy goes in chunks of chunkSizeFor(total): one percent of the file, between 4 KiB and
// 1 MiB, so each chunk moves the progress by about a percent; progress is reported when the
// whole percentage changes. The file is pushed to the device once, after the last chunk.
class VolumeUpdateWriter
{
public:
    using Progress = std::function<void(qint64 copied, qint64 total)>;

    // Why a copy under way is to end, asked after every kCheckEveryBytes copied and before
    // the rename: Continue, Cancelled (the instrument was unplugged: the copy ends without a
    // reason) or Vanished (the volume went away).
    enum class Verdict { Continue, Cancelled, Vanished };
    struct Hooks
    {
        std::function<Verdict()> check;           // none: always Continue
        std::function<bool(int fd)> syncFile;     // none: FileSync::syncDescriptor
        // Told the SHA-256 (hex) of the copy as read back once it matched the source.
        std::function<void(const QByteArray& sha256)> readBackPassed;
    };
    static constexpr qint64 kCheckEveryBytes = 256 * 1024;

    // Empty when the file is in place under finalName in root; else why not, in words. A
    // cancelled copy gives cancelledReason(). Either way nothing of this run is left behind.
    static QString place(const QString& root, const QString& sourcePath, const QString& finalName,
                         const Progress& progress, const Hooks& hooks = {});
    // The size of each chunk of the copy for a file of total bytes.
    static qint64 chunkSizeFor(qint64 total);
    // The result of a copy that was cancelled.
    static QString cancelledReason();
    // The name the copy is written under before it is checked: "tvxxfer.tmp", or another
    // fixed name when that is the source's or the hand-over name without regard to case
    // (FAT volumes ignore it).
    static QString temporaryNameFor(const QString& sourceName, const QString& finalName);
    // Whether two paths name one existing file: their canonical paths compared without regard
    // to case (on a volume that keeps case, two names differing only in case count as one:
    // the safe side, a copy before any removal).
    static bool sameFile(const QString& a, const QString& b);
};
