#include "VolumeFiles.h"

#include "ChunkCopier.h"

#include <FileSync.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

bool VolumeFiles::copyInto(const QString& root, const QString& sourcePath, const Progress& progress)
{
    if (root.isEmpty())
        return false;
    QFile source(sourcePath);
    if (sourcePath.isEmpty() || !source.open(QIODevice::ReadOnly))
        return false;

    QFile destination(QDir(root).filePath(QFileInfo(sourcePath).fileName()));
    // Buffered: QFile hands the 4096-byte chunks to the system in 16 KiB writes, a quarter of
    // the system calls. A write the system refuses makes the chunk that filled the buffer
    // fail; whatever is left in the buffer is checked by the flush after the loop.
    if (!destination.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;

    const qint64 total = source.size();
    const bool copied = ChunkCopier::copyCounting(source, destination, [&progress, total](qint64 done) {
        if (progress)
            progress(done, total);
    });
    if (!copied)
        return false;

    // The data must be on the volume before it is renamed and the volume is ejected.
    if (!destination.flush())
        return false;
    if (!FileSync::syncDescriptor(destination.handle()))
        return false;
    destination.close();
    return destination.error() == QFileDevice::NoError;
}

bool VolumeFiles::removeStale(const QString& root, const QString& name)
{
    if (root.isEmpty())
        return false;
    const QString stale = QDir(root).filePath(name);
    const QFileInfo info(stale);
    if (!info.exists() && !info.isSymLink())
        return true;
    if (info.isDir())
        return false;
    return QFile::remove(stale);
}

bool VolumeFiles::rename(const QString& root, const QString& fromName, const QString& toName)
{
    if (root.isEmpty())
        return false;
    const QDir dir(root);
    return QFile::rename(dir.filePath(fromName), dir.filePath(toName));
}
