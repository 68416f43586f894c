#include "VolumeUpdateWriter.h"

#include <FileSync.h>

#include <Sha256.h>

#include <ChunkCopier.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

namespace {

constexpr qint64 kChunk = 4096;
constexpr qint64 kLargestChunk = 1024 * 1024;

QString volumeGone()
{
    return QStringLiteral("Tavlo's volume went away during the copy. Was Tavlo unplugged?");
}

// Why a write or open on the volume failed, from the file's error and what is left of it.
QString writeProblem(const QString& root, const QFile& file)
{
    if (!QFileInfo::exists(root))
        return volumeGone();
    const QStorageInfo volume(root);
    if (volume.isReadOnly())
        return QStringLiteral("Tavlo's volume is read-only, so the update file could not be "
                              "copied onto it.");
    if (file.error() == QFileDevice::ResourceError || volume.bytesAvailable() < kChunk)
        return QStringLiteral("Tavlo's volume is full, so the update file could not be copied "
                              "onto it.");
    return QStringLiteral("The update file could not be written to Tavlo's volume (%1).")
        .arg(file.errorString());
}

QString megabytes(qint64 bytes)
{
    return QString::number(double(bytes) / (1024.0 * 1024.0), 'f', 1) + QStringLiteral(" MB");
}

} // namespace

qint64 VolumeUpdateWriter::chunkSizeFor(qint64 total)
{
    const qint64 onePercent = total / 100 / kChunk * kChunk;
    return qBound(kChunk, onePercent, kLargestChunk);
}

QString VolumeUpdateWriter::temporaryNameFor(const QString& sourceName, const QString& finalName)
{
    return sourceName == finalName ? finalName + QStringLiteral(".part") : sourceName;
}

QString VolumeUpdateWriter::place(const QString& root, const QString& sourcePath,
                                  const QString& finalName, const Progress& progress)
{
    if (root.isEmpty())
        return QStringLiteral("Tavlo's volume is not there any more. Was Tavlo unplugged?");
    QFile source(sourcePath);
    if (sourcePath.isEmpty() || !source.open(QIODevice::ReadOnly))
        return QStringLiteral("The downloaded update file could not be read.");
    const qint64 total = source.size();

    const QDir dir(root);
    const QString finalPath = dir.filePath(finalName);
    const QString tempPath =
        dir.filePath(temporaryNameFor(QFileInfo(sourcePath).fileName(), finalName));

    const QStorageInfo volume(root);
    if (volume.isValid() && volume.isReady()) {
        if (volume.isReadOnly())
            return QStringLiteral("Tavlo's volume is read-only, so the update file could not "
                                  "be copied onto it.");
        if (volume.bytesTotal() > 0 && total > volume.bytesTotal())
            return QStringLiteral("The update file (%1) is larger than Tavlo's volume (%2).")
                .arg(megabytes(total), megabytes(volume.bytesTotal()));
    }

    // An old hand-over file must not survive a failure of this run: it goes first.
    const QFileInfo stale(finalPath);
    if ((stale.exists() || stale.isSymLink()) && (stale.isDir() || !QFile::remove(finalPath)))
        return QStringLiteral("An old update file on Tavlo's volume could not be removed.");
    QFile::remove(tempPath);

    // The free space counts once the old files are gone.
    const QStorageInfo freed(root);
    if (freed.isValid() && freed.bytesAvailable() >= 0 && freed.bytesAvailable() < total)
        return QStringLiteral("Tavlo's volume is full: the update file needs %1, %2 are free.")
            .arg(megabytes(total), megabytes(freed.bytesAvailable()));

    QFile destination(tempPath);
    const auto failWith = [&](const QString& reason) {
        destination.close();
        QFile::remove(tempPath);
        QFile::remove(finalPath);
        return reason;
    };
    if (!destination.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return failWith(writeProblem(root, destination));

    Sha256 sourceHash;
    const qint64 chunk = chunkSizeFor(total);
    QByteArray block(chunk, Qt::Uninitialized);
    char* buffer = block.data();
    qint64 copied = 0;
    int reported = -1;
    while (!source.atEnd()) {
        const qint64 got = source.read(buffer, chunk);
        if (got < 0)
            return failWith(QStringLiteral("The downloaded update file could not be read."));
        if (got == 0)
            break;
        sourceHash.addData(QByteArrayView(buffer, got));
        if (destination.write(buffer, got) != got)
            return failWith(writeProblem(root, destination));
        copied += got;
        const int percent = ChunkCopier::percentage(copied, total);
        if (progress && percent != reported)
            progress(copied, total);
        reported = percent;
    }
    if (copied != total)
        return failWith(QStringLiteral("The downloaded update file changed during the copy."));
    if (!FileSync::syncDescriptor(destination.handle()))
        return failWith(writeProblem(root, destination));
    FileSync::dropCachedPages(destination.handle());
    destination.close();

    // The read-back: what the volume holds must be exactly the source.
    QFile written(tempPath);
    Sha256 readHash;
    if (!written.open(QIODevice::ReadOnly | QIODevice::Unbuffered) || !readHash.addData(written))
        return failWith(QFileInfo::exists(root) ? QStringLiteral("The copy on Tavlo's volume "
                                                                 "could not be read back.")
                                                : volumeGone());
    written.close();
    if (readHash.result() != sourceHash.result())
        return failWith(QStringLiteral("The copy on Tavlo's volume does not match the update "
                                       "file (read-back check failed)."));

    if (tempPath != finalPath && !QFile::rename(tempPath, finalPath))
        return failWith(writeProblem(root, destination));
    if (!FileSync::syncDirectory(QFile::encodeName(root).constData()))
        return failWith(writeProblem(root, destination));
    return QString();
}
