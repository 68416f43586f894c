#include "ReleaseCatalogue.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>

namespace {

QString textField(const QJsonObject& entry, const char* key)
{
    // toString() gives an empty text for anything that is not a JSON string.
    return entry.value(QLatin1String(key)).toString();
}

}  // namespace

ReleaseCatalogue ReleaseCatalogue::parse(const QByteArray& bytes)
{
    ReleaseCatalogue catalogue;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError) {
        catalogue.reason = QStringLiteral("not JSON: %1 at offset %2")
                               .arg(error.errorString())
                               .arg(error.offset);
        return catalogue;
    }
    if (!document.isArray()) {
        catalogue.reason = QStringLiteral("not an array");
        return catalogue;
    }
    const QJsonArray array = document.array();
    if (array.isEmpty()) {
        catalogue.reason = QStringLiteral("empty");
        return catalogue;
    }
    catalogue.list.reserve(array.size());
    for (const QJsonValue& value : array) {
        const QJsonObject object = value.toObject();
        ReleaseEntry entry;
        entry.fileName = textField(object, "file_name");
        entry.version = textField(object, "version");
        entry.totalFileSize = textField(object, "total_file_size");
        entry.releaseDate = textField(object, "release_date");
        entry.codeName = textField(object, "code_name");
        entry.uuid = textField(object, "uuid");
        catalogue.list.append(entry);
    }
    return catalogue;
}
