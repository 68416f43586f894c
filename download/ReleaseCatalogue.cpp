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

QString digestField(const QJsonObject& entry)
{
    return ReleaseEntry::digestFrom(entry.value(QLatin1String("sha256")).toString());
}

// A "sha256" that is given but holds no digest.
bool digestUnreadable(const QJsonObject& entry, const QString& digest)
{
    const QJsonValue given = entry.value(QLatin1String("sha256"));
    if (given.isUndefined() || given.isNull())
        return false;
    return !given.isString() ? true : digest.isEmpty() && !given.toString().trimmed().isEmpty();
}

}  // namespace

QString ReleaseEntry::digestFrom(const QString& given)
{
    const QString text = given.trimmed().toLower();
    if (text.size() != 64)
        return QString();
    for (const QChar c : text) {
        if (!((c >= QLatin1Char('0') && c <= QLatin1Char('9'))
              || (c >= QLatin1Char('a') && c <= QLatin1Char('f'))))
            return QString();
    }
    return text;
}

qint64 ReleaseEntry::expectedSize() const
{
    // Digits only: no sign, no blanks, no exponent; a value that overflows is unknown.
    // At most 18 digits: the value stays below 10^18, well inside 64 bits.
    if (totalFileSize.isEmpty() || totalFileSize.size() > 18)
        return -1;
    qint64 value = 0;
    for (const QChar c : totalFileSize) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        value = value * 10 + (c.unicode() - '0');
    }
    return value > 0 ? value : -1;
}

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
        entry.sha256 = digestField(object);
        entry.checksumUnreadable = digestUnreadable(object, entry.sha256);
        entry.releaseNotes = textField(object, "release_notes");
        catalogue.list.append(entry);
    }
    return catalogue;
}
