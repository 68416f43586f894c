#include "SimReadableFiles.h"

#include <QFile>
#include <QFileInfo>

bool SimReadableFiles::openForReading(QFile& file, QString* reason) const
{
    const QFileDevice::Permissions anyRead =
        QFileDevice::ReadOwner | QFileDevice::ReadUser | QFileDevice::ReadGroup | QFileDevice::ReadOther;
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
