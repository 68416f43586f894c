#include "PartialFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "LocalCopyRecord.h"

namespace PartialFile {

QString pathFor(const QString& localPath)
{
    return localPath + QStringLiteral(".part");
}

QString recordPathFor(const QString& localPath)
{
    return localPath + QStringLiteral(".resume");
}

QString headersPathFor(const QString& localPath)
{
    return localPath + QStringLiteral(".headers");
}

ResumeDecision::Partial readFor(const QString& localPath)
{
    ResumeDecision::Partial partial;
    if (localPath.isEmpty())
        return partial;
    const QFileInfo file(pathFor(localPath));
    // A link or anything but a plain file is never continued.
    if (!file.isFile() || file.isSymLink())
        return partial;
    partial.size = file.size();
    QFile side(recordPathFor(localPath));
    const LocalCopyRecord kept = side.open(QIODevice::ReadOnly) ? LocalCopyRecord::parse(side.read(4096))
                                                                 : LocalCopyRecord();
    partial.validator = kept.etag.isEmpty() ? kept.lastModified : kept.etag;
    partial.url = kept.url;
    return partial;
}

bool record(const QString& localPath, const QString& validator, const QString& url)
{
    LocalCopyRecord kept;
    kept.etag = validator;
    kept.url = url;
    QSaveFile side(recordPathFor(localPath));
    if (!side.open(QIODevice::WriteOnly))
        return false;
    side.write(kept.serialize());
    return side.commit();
}

void remove(const QString& localPath)
{
    if (localPath.isEmpty())
        return;
    forget(localPath);
    QFile::remove(pathFor(localPath));
}

void forget(const QString& localPath)
{
    if (!localPath.isEmpty())
        QFile::remove(recordPathFor(localPath));
}

} // namespace PartialFile
