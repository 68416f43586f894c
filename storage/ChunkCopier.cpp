#include "ChunkCopier.h"

int ChunkCopier::percentage(qint64 copied, qint64 total)
{
    if (total <= 0)
        return 0;
    const qint64 value = copied * 100 / total;
    if (value < 0)
        return 0;
    return value > 100 ? 100 : static_cast<int>(value);
}
