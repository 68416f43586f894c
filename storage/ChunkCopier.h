#pragma once

#include <QtGlobal>

// The share of the copy onto the volume done so far as a whole percentage of the expected
// total, as VolumeUpdateWriter and the full edition's FileManager report it.
class ChunkCopier
{
public:
    // copied * 100 / total in 64-bit arithmetic, clamped to 0..100; 0 while the total is not
    // positive.
    static int percentage(qint64 copied, qint64 total);
};
