#include "PartialFile.h"

#include <QFile>
#include <QFileInfo>

#include "LocalCopyRecord.h"

namespace PartialFile {

QString pathFor(const QString& localPath)
{
    return localPath + QStringLiteral(".part");
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
    const LocalCopyRecord kept = LocalCopyRecord::readFor(pathFor(localPath));
    partial.validator = kept.etag.isEmpty() ? kept.lastModified : kept.etag;
    partial.url = kept.url;
    return partial;
}

bool record(const QString& localPath, const QString& validator, const QString& url)
{
    LocalCopyRecord kept;
    kept.etag = validator;
    kept.url = url;
    return kept.writeFor(pathFor(localPath));
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
        QFile::remove(LocalCopyRecord::pathFor(pathFor(localPath)));
}

} // namespace PartialFile
