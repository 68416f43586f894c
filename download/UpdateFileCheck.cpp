#include "UpdateFileCheck.h"

#include "Sha256.h"

#include <QCoreApplication>
#include <QFile>

QString UpdateFileCheck::problemWith(qint64 actualSize, const QString& actualSha256) const
{
    if (size >= 0 && actualSize != size) {
        return QCoreApplication::translate("DownloadFailureText", "The update file has the wrong size (%1 bytes instead of %2), "
                              "so it was not used.")
            .arg(actualSize)
            .arg(size);
    }
    if (!sha256.isEmpty() && actualSha256.compare(sha256, Qt::CaseInsensitive) != 0) {
        return QCoreApplication::translate("DownloadFailureText", "The update file does not match its checksum, so it was not "
                              "used.");
    }
    return QString();
}

QString UpdateFileCheck::problemWithFile(const QString& path) const
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return QCoreApplication::translate("DownloadFailureText", "The update file could not be read.");
    const qint64 actualSize = file.size();
    if (size >= 0 && actualSize != size)
        return problemWith(actualSize, QString());
    if (sha256.isEmpty())
        return QString();
    file.close();
    const QString digest = sha256Of(path);
    if (digest.isEmpty())
        return QCoreApplication::translate("DownloadFailureText", "The update file could not be read.");
    return problemWith(actualSize, digest);
}

QString UpdateFileCheck::sha256Of(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    Sha256 hash;
    if (!hash.addData(file))
        return QString();
    return QString::fromLatin1(hash.result().toHex());
}
