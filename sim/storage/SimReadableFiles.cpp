#include "SimReadableFiles.h"

#include <QFile>
#include <QFileInfo>

bool SimReadableFiles::openForReading(QFile& file, QString* reason) const
{
    // The file's mode bits alone: ReadUser says whether this process may read it, which for
    // root is always so.
    const QFileDevice::Permissions anyRead =
        QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    const QFileInfo info(file.fileName());
    if (info.exists() && !(info.permissions() & anyRead)) {
        if (reason)
            *reason = QStringLiteral("Permission denied");
        return false;
    }
    if (file.open(QIODevice::ReadOnly))
        return true;
    if (reason)
        *reason = file.errorString();
    return false;
}
