#pragma once

#include <SimReadableFiles.h>

#include <QFile>

#include <sys/stat.h>

// SimReadableFiles, with a file of mode 0 refused also when the test runs as root: the
// simulation's own check reads Qt's user permissions, which for root always include reading.
class WornFiles : public SimReadableFiles
{
public:
    bool openForReading(QFile& file, QString* reason) const override
    {
        struct stat info {};
        if (::stat(QFile::encodeName(file.fileName()).constData(), &info) == 0 && (info.st_mode & 0777) == 0) {
            if (reason)
                *reason = QStringLiteral("Permission denied");
            return false;
        }
        return SimReadableFiles::openForReading(file, reason);
    }
};
