#include "ChunkCopier.h"

#include <QIODevice>

int ChunkCopier::percentage(qint64 copied, qint64 total)
{
    if (total <= 0)
        return 0;
    const qint64 value = copied * 100 / total;
    if (value < 0)
        return 0;
    return value > 100 ? 100 : static_cast<int>(value);
}

bool ChunkCopier::copy(QIODevice& source, QIODevice& destination, qint64 total,
                       const std::function<void(int)>& progress)
{
    return copyCounting(source, destination, [&progress, total](qint64 copied) {
        if (progress)
            progress(percentage(copied, total));
    });
}

bool ChunkCopier::copyCounting(QIODevice& source, QIODevice& destination,
                               const std::function<void(qint64)>& copiedSoFar)
{
    char buffer[kChunkSize];
    qint64 copied = 0;
    for (;;) {
        if (source.atEnd())
            return true;
        const qint64 bytesRead = source.read(buffer, kChunkSize);
        if (bytesRead < 0)
            return false;
        if (bytesRead == 0) {
            // Not at the end, yet nothing came: a device that stalls would loop forever.
            return source.atEnd();
        }
        const qint64 bytesWritten = destination.write(buffer, bytesRead);
        if (bytesWritten != bytesRead)
            return false;
        copied += bytesWritten;
        if (copiedSoFar)
            copiedSoFar(copied);
    }
}
