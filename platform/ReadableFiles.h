#pragma once

#include <QString>

class QFile;

// Opens the files of the instrument's volume for reading (a backup reads every one of them).
// The real side is a plain open; the simulated instrument can hold a file it cannot read,
// as a worn card does, also for a program that runs as root.
class ReadableFiles
{
public:
    virtual ~ReadableFiles() = default;

    // Opens file (its name already set) read-only; false with the system's reason in plain
    // words when it cannot be read.
    virtual bool openForReading(QFile& file, QString* reason) const = 0;
};
