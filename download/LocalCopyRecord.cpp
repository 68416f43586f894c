#include "LocalCopyRecord.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

QString LocalCopyRecord::pathFor(const QString& updateFilePath)
{
    return updateFilePath + QStringLiteral(".source");
}

LocalCopyRecord LocalCopyRecord::parse(const QByteArray& bytes)
{
    LocalCopyRecord record;
    const QJsonObject object = QJsonDocument::fromJson(bytes).object();
    const QJsonValue size = object.value(QLatin1String("size"));
    // A JSON number holds whole numbers exactly up to 2^53, far beyond any update file.
    if (size.isDouble() && size.toDouble() >= 0 && size.toDouble() == qint64(size.toDouble()))
        record.size = qint64(size.toDouble());
    record.etag = object.value(QLatin1String("etag")).toString();
    record.lastModified = object.value(QLatin1String("last_modified")).toString();
    record.url = object.value(QLatin1String("url")).toString();
    return record;
}

QByteArray LocalCopyRecord::serialize() const
{
    QJsonObject object;
    object.insert(QLatin1String("size"), double(size));
    object.insert(QLatin1String("etag"), etag);
    object.insert(QLatin1String("last_modified"), lastModified);
    if (!url.isEmpty())
        object.insert(QLatin1String("url"), url);
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

bool LocalCopyRecord::matches(qint64 fileSize, const QString& serverEtag,
                              const QString& serverLastModified) const
{
    if (size < 0 || fileSize != size)
        return false;
    // A weak ETag ("W/...") still names this version of the file.
    if (!etag.isEmpty() && etag == serverEtag)
        return true;
    return !lastModified.isEmpty() && lastModified == serverLastModified;
}

LocalCopyRecord LocalCopyRecord::readFor(const QString& updateFilePath)
{
    QFile file(pathFor(updateFilePath));
    if (!file.open(QIODevice::ReadOnly))
        return LocalCopyRecord();
    return parse(file.read(4096));
}

bool LocalCopyRecord::writeFor(const QString& updateFilePath) const
{
    QSaveFile file(pathFor(updateFilePath));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(serialize());
    return file.commit();
}
