#include "PlainReadableFiles.h"

#include <QFile>

bool PlainReadableFiles::openForReading(QFile& file, QString* reason) const
{
    if (file.open(QIODevice::ReadOnly))
        return true;
    if (reason)
        *reason = file.errorString();
    return false;
}
