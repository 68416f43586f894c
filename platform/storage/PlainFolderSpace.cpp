#include "PlainFolderSpace.h"

#include <QDir>
#include <QStorageInfo>
#include <QTemporaryFile>

QString PlainFolderSpace::tryWrite(const QString& folder)
{
    QTemporaryFile file(QDir(folder).filePath(QStringLiteral(".tavlo-check-XXXXXX")));
    if (!file.open())
        return file.errorString();
    const QByteArray bytes(4096, 'x');
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString why = file.errorString();
        file.remove();
        return why;
    }
    file.close();
    if (!file.remove())
        return file.errorString();
    return QString();
}

qint64 PlainFolderSpace::freeBytes(const QString& folder)
{
    const QStorageInfo info(folder);
    if (!info.isValid() || !info.isReady())
        return -1;
    return info.bytesAvailable();
}
