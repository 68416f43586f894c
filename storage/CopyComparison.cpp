#include "CopyComparison.h"

#include <QByteArray>
#include <QIODevice>

#include <algorithm>
#include <cstring>

namespace {

// Fills the buffer from the device up to its size or the device's end; -1 on a read error.
qint64 readFull(QIODevice& device, char* buffer, qint64 size)
{
    qint64 filled = 0;
    while (filled < size) {
        const qint64 got = device.read(buffer + filled, size - filled);
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        filled += got;
    }
    return filled;
}

} // namespace

CopyComparison::Result CopyComparison::compare(QIODevice& copy, QIODevice& source, qint64 blockSize)
{
    const qint64 block = std::max<qint64>(blockSize, 1);
    QByteArray copyBlock(block, Qt::Uninitialized);
    QByteArray sourceBlock(block, Qt::Uninitialized);
    for (;;) {
        const qint64 fromCopy = readFull(copy, copyBlock.data(), block);
        if (fromCopy < 0)
            return Result::CopyUnreadable;
        const qint64 fromSource = readFull(source, sourceBlock.data(), block);
        if (fromSource < 0)
            return Result::SourceUnreadable;
        if (fromCopy != fromSource
            || std::memcmp(copyBlock.constData(), sourceBlock.constData(), size_t(fromCopy)) != 0)
            return Result::Different;
        if (fromCopy < block)
            return Result::Same;
    }
}
