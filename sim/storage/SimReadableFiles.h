#pragma once

#include <ReadableFiles.h>

// The simulated side: a plain open, except that a file with no read permission at all cannot
// be read, also when the program under test runs as root (whom the system would let read it).
// A simulated volume marks a worn file so.
class SimReadableFiles : public ReadableFiles
{
public:
    bool openForReading(QFile& file, QString* reason) const override;
};
