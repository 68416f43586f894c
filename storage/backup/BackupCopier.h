#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class ReadableFiles;

// Copies one file of the instrument's volume into a backup: opened through ReadableFiles,
// read and written in large blocks, hashed on a second thread while it is copied
// (HashAlongside) and given the source's modification time. The copy is synced to the disk
// later with syncCopy(), once every file is written: a sync after each file would keep the
// disk from writing one file while the next is read. readBack() hashes a copy as the disk
// holds it.
class BackupCopier
{
public:
    enum class Outcome {
        Copied,
        SourceUnreadable, // the volume's file could not be opened or read: systemText says why
        TargetFailed,     // the copy could not be written or synced: systemText, targetFull
        Stopped,          // the block check asked to stop: the copy is removed
    };
    struct Result
    {
        Outcome outcome = Outcome::Copied;
        QByteArray sha256Hex; // of the bytes copied (Copied only)
        qint64 bytes = 0;     // copied
        QString systemText;
        bool targetFull = false;
    };

    static constexpr qint64 kBlockSize = 4 * 1024 * 1024;

    // After each block, with its size: false stops the copy.
    using BlockCheck = std::function<bool(qint64 blockBytes)>;

    BackupCopier(const ReadableFiles& files, BlockCheck afterBlock);

    // Copies source to target (which must not exist yet) and sets the copy's modification time
    // to modifiedMs. A copy that fails or is stopped is removed.
    Result copy(const QString& source, const QString& target, qint64 modifiedMs);
    // Pushes a copy's bytes to the disk; false when the system does not confirm it.
    static bool syncCopy(const QString& target);
    // The SHA-256 (hex) of the copy read back from the disk, not the system's cache; empty
    // when it cannot be read.
    static QByteArray readBack(const QString& target);

private:
    const ReadableFiles& files;
    BlockCheck afterBlock;
};
