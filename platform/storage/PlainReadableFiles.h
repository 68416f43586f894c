#pragma once

#include "ReadableFiles.h"

// The real side: the system's own open.
class PlainReadableFiles : public ReadableFiles
{
public:
    bool openForReading(QFile& file, QString* reason) const override;
};
