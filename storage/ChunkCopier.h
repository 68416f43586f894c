#pragma once

#include <QtGlobal>

#include <functional>

class QIODevice;

// Copies one open device into another through a fixed 4096-byte buffer, so memory use does
// not grow with the size of the data. After every chunk it reports the share copied so far
// as a whole percentage of the expected total (64-bit arithmetic, clamped to 0..100; 0 while
// the total is not positive). A chunk that the destination does not take completely is a
// failure: a short write must never pass a truncated file on as a good one.
class ChunkCopier
{
public:
    static constexpr qint64 kChunkSize = 4096;

    static int percentage(qint64 copied, qint64 total);

    // True when the source was read to its end and every byte read was written.
    static bool copy(QIODevice& source, QIODevice& destination, qint64 total,
                     const std::function<void(int)>& progress);
    // The same loop, reporting after every chunk the number of bytes copied so far.
    static bool copyCounting(QIODevice& source, QIODevice& destination,
                             const std::function<void(qint64)>& copiedSoFar);
};
