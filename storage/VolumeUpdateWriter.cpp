#include "VolumeUpdateWriter.h"

#include "StorageFailureText.h"
#include "WriteRefusalText.h"

#include <FileSync.h>

#include <HashAlongside.h>

#include "CopyComparison.h"
#include "ReadBackFile.h"

#include <ChunkCopier.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

namespace {

constexpr qint64 kChunk = 4096;
constexpr qint64 kLargestChunk = 1024 * 1024;

// What is wrong with the volume itself after a write or open failed; empty when nothing is.
QString volumeProblem(const QString& root, const QFile& file)
{
    if (!QFileInfo::exists(root))
        return StorageFailureText::volumeGoneDuringCopy();
    const QStorageInfo volume(root);
    if (volume.isReadOnly())
        return StorageFailureText::volumeReadOnly();
    if (file.error() == QFileDevice::ResourceError || volume.bytesAvailable() < kChunk)
        return StorageFailureText::volumeFull();
    // Nothing the volume shows explains it: ask the system whether it refuses writes here.
    const WriteRefusal refusal = WriteRefusal::probe(root);
    switch (refusal.kind) {
    case WriteRefusal::Kind::ReadOnly: return StorageFailureText::volumeReadOnly();
    case WriteRefusal::Kind::Full: return StorageFailureText::volumeFull();
    default: break;
    }
    return WriteRefusalText::sentenceHere(refusal, WriteRefusalText::Place::TavloDrive);
}

// Why a write or open on the volume failed, from the file's error and what is left of it.
QString writeProblem(const QString& root, const QFile& file)
{
    const QString problem = volumeProblem(root, file);
    return problem.isEmpty() ? StorageFailureText::writeFailed(file.errorString()) : problem;
}

} // namespace

qint64 VolumeUpdateWriter::chunkSizeFor(qint64 total)
{
    const qint64 onePercent = total / 100 / kChunk * kChunk;
    return qBound(kChunk, onePercent, kLargestChunk);
}

QString VolumeUpdateWriter::temporaryNameFor(const QString& sourceName, const QString& finalName)
{
    // Three names, so that one differs from both, whatever case the volume ignores.
    for (const char* name : {"tvxxfer.tmp", "tvxxfer1.tmp", "tvxxfer2.tmp"}) {
        const QString candidate = QString::fromLatin1(name);
        if (candidate.compare(sourceName, Qt::CaseInsensitive) != 0
            && candidate.compare(finalName, Qt::CaseInsensitive) != 0)
            return candidate;
    }
    return QString(); // not reached
}

bool VolumeUpdateWriter::sameFile(const QString& a, const QString& b)
{
    const QString first = QFileInfo(a).canonicalFilePath();
    return !first.isEmpty() && first.compare(QFileInfo(b).canonicalFilePath(), Qt::CaseInsensitive) == 0;
}

QString VolumeUpdateWriter::cancelledReason()
{
    return QStringLiteral("cancelled");
}

QString VolumeUpdateWriter::place(const QString& root, const QString& sourcePath,
                                  const QString& finalName, const Progress& progress,
                                  const Hooks& hooks)
{
    if (root.isEmpty())
        return StorageFailureText::volumeNotThere();
    QFile source(sourcePath);
    if (sourcePath.isEmpty() || !source.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return StorageFailureText::sourceUnreadable();
    const qint64 total = source.size();

    const QDir dir(root);
    const QString finalPath = dir.filePath(finalName);
    const QString sourceName = QFileInfo(QFileInfo(sourcePath).canonicalFilePath()).fileName();
    const QString tempPath = dir.filePath(temporaryNameFor(sourceName, finalName));
    // A source picked from the volume under the hand-over name is that old file: it is
    // copied first and replaced only once its copy has passed.
    const bool finalIsSource = sameFile(sourcePath, finalPath);

    const QStorageInfo volume(root);
    if (volume.isValid() && volume.isReady()) {
        if (volume.isReadOnly())
            return StorageFailureText::volumeReadOnly();
        if (volume.bytesTotal() > 0 && total > volume.bytesTotal())
            return StorageFailureText::fileLargerThanVolume(total, volume.bytesTotal());
    }

    // An old hand-over file must not survive a failure of this run: it goes first.
    const auto removeStale = [&] {
        const QFileInfo stale(finalPath);
        return !(stale.exists() || stale.isSymLink()) || (!stale.isDir() && QFile::remove(finalPath));
    };
    if (!finalIsSource && !removeStale())
        return StorageFailureText::staleNotRemovable();
    QFile::remove(tempPath);

    // The free space counts once the old files are gone.
    const QStorageInfo freed(root);
    if (freed.isValid() && freed.bytesAvailable() >= 0 && freed.bytesAvailable() < total)
        return StorageFailureText::volumeFullNeeds(total, freed.bytesAvailable());

    QFile destination(tempPath);
    const auto failWith = [&](const QString& reason) {
        destination.close();
        QFile::remove(tempPath);
        if (!finalIsSource)
            QFile::remove(finalPath);
        return reason;
    };
    if (!destination.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return failWith(writeProblem(root, destination));

    // The unplugged instrument or the vanished volume ends the copy at the next check.
    const auto interrupted = [&]() -> QString {
        const Verdict verdict = hooks.check ? hooks.check() : Verdict::Continue;
        if (verdict == Verdict::Cancelled)
            return cancelledReason();
        if (verdict == Verdict::Vanished)
            return StorageFailureText::volumeGoneDuringCopy();
        return QString();
    };
    const auto sync = [&](int fd) {
        return hooks.syncFile ? hooks.syncFile(fd) : FileSync::syncDescriptor(fd);
    };

    // Two buffers in turn: the one just read is hashed on the side while it is written, and
    // the next is read into the other.
    // The buffers outlive the hash, which may still be reading one when the copy fails.
    const qint64 chunk = chunkSizeFor(total);
    QByteArray blocks[2] = {QByteArray(chunk, Qt::Uninitialized), QByteArray(chunk, Qt::Uninitialized)};
    HashAlongside sourceHash;
    int turn = 0;
    qint64 copied = 0;
    qint64 nextCheck = kCheckEveryBytes;
    int reported = -1;
    while (!source.atEnd()) {
        if (copied >= nextCheck) {
            nextCheck = copied + kCheckEveryBytes;
            const QString stop = interrupted();
            if (!stop.isEmpty())
                return failWith(stop);
        }
        char* buffer = blocks[turn].data();
        turn ^= 1;
        const qint64 got = source.read(buffer, chunk);
        if (got < 0)
            return failWith(StorageFailureText::sourceUnreadable());
        if (got == 0)
            break;
        sourceHash.add(QByteArrayView(buffer, got));
        if (destination.write(buffer, got) != got)
            return failWith(writeProblem(root, destination));
        copied += got;
        const int percent = ChunkCopier::percentage(copied, total);
        if (progress && percent != reported)
            progress(copied, total);
        reported = percent;
    }
    if (copied != total)
        return failWith(StorageFailureText::sourceChanged());
    if (!sync(destination.handle())) {
        const QString problem = volumeProblem(root, destination);
        return failWith(problem.isEmpty() ? StorageFailureText::flushFailed() : problem);
    }
    FileSync::dropCachedPages(destination.handle());
    destination.close();

    // The read-back: what the volume holds must be exactly the source, byte for byte, read
    // from the device, not from the system's cache (ReadBackFile).
    ReadBackFile written(tempPath);
    if (!written.openForReadBack())
        return failWith(QFileInfo::exists(root) ? StorageFailureText::readBackUnreadable()
                                                : StorageFailureText::volumeGoneDuringCopy());
    if (!source.seek(0))
        return failWith(StorageFailureText::sourceUnreadable());
    const CopyComparison::Result readBack = CopyComparison::compare(written, source, chunk);
    written.close();
    switch (readBack) {
    case CopyComparison::Result::Same:
        break;
    case CopyComparison::Result::Different:
        return failWith(StorageFailureText::readBackMismatch());
    case CopyComparison::Result::SourceUnreadable:
        return failWith(StorageFailureText::sourceUnreadable());
    case CopyComparison::Result::CopyUnreadable:
        return failWith(QFileInfo::exists(root) ? StorageFailureText::readBackUnreadable()
                                                : StorageFailureText::volumeGoneDuringCopy());
    }
    // The copy is the source's bytes, so it has the SHA-256 the source had as it was copied.
    if (hooks.readBackPassed)
        hooks.readBackPassed(sourceHash.result().toHex());

    const QString stop = interrupted();
    if (!stop.isEmpty())
        return failWith(stop);
    source.close();
    if (finalIsSource && !removeStale())
        return failWith(StorageFailureText::staleNotRemovable());
    if (!QFile::rename(tempPath, finalPath))
        return failWith(writeProblem(root, destination));
    if (!FileSync::syncDirectory(QFile::encodeName(root).constData()))
        return failWith(writeProblem(root, destination));
    return QString();
}
