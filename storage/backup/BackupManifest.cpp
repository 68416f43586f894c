#include "BackupManifest.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QSet>
#include <QStringList>

#include <cmath>
#include <limits>

namespace {

// Integers above 2^53 are no longer exact in a JSON number.
constexpr double kLargestExact = 9007199254740992.0;
// A path longer than any file system takes is not from a volume.
constexpr qsizetype kLongestPath = 4096;

bool isControl(char16_t unit)
{
    return unit < 0x20 || (unit >= 0x7F && unit < 0xA0);
}

bool isHexDigest(const QString& text)
{
    if (text.size() != 64)
        return false;
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (!((u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F')))
            return false;
    }
    return true;
}

// The value as a whole number in the exact range of a JSON number, or nothing.
std::optional<qint64> wholeNumber(const QJsonValue& value)
{
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (!std::isfinite(number) || std::floor(number) != number || std::fabs(number) > kLargestExact)
        return std::nullopt;
    return static_cast<qint64>(number);
}

std::optional<BackupManifest> refuse(QString* why, const QString& reason)
{
    if (why)
        *why = reason;
    return std::nullopt;
}

} // namespace

bool BackupManifest::Entry::operator==(const Entry& other) const
{
    return path == other.path && size == other.size && modifiedMs == other.modifiedMs
           && sha256 == other.sha256;
}

qint64 BackupManifest::totalBytes() const
{
    qint64 total = 0;
    for (const Entry& entry : entries)
        total += entry.size;
    return total;
}

const BackupManifest::Entry* BackupManifest::find(const QString& path) const
{
    for (const Entry& entry : entries)
        if (entry.path == path)
            return &entry;
    return nullptr;
}

bool BackupManifest::isSafeRelativePath(const QString& path)
{
    if (path.isEmpty() || path.size() > kLongestPath)
        return false;
    for (const QChar ch : path) {
        const char16_t u = ch.unicode();
        // A backslash separates on Windows, a colon names a drive or a stream there.
        if (isControl(u) || u == '\\' || u == ':')
            return false;
    }
    // A lone surrogate has no file name on any system.
    if (!path.isValidUtf16())
        return false;
    // A leading "/" leaves an empty first part, so absolute paths fall out here as well.
    const QStringList parts = path.split(QLatin1Char('/'));
    for (const QString& part : parts)
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String(".."))
            return false;
    return true;
}

QByteArray BackupManifest::toJson() const
{
    QJsonArray files;
    for (const Entry& entry : entries) {
        QJsonObject file;
        file.insert(QStringLiteral("path"), entry.path);
        file.insert(QStringLiteral("size"), static_cast<double>(entry.size));
        file.insert(QStringLiteral("modified_ms"), static_cast<double>(entry.modifiedMs));
        file.insert(QStringLiteral("sha256"), QString::fromLatin1(entry.sha256));
        files.append(file);
    }
    QJsonObject root;
    root.insert(QStringLiteral("format"), kFormat);
    root.insert(QStringLiteral("firmware"), firmware);
    root.insert(QStringLiteral("created"), created.toUTC().toString(Qt::ISODateWithMs));
    root.insert(QStringLiteral("files"), files);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::optional<BackupManifest> BackupManifest::parse(const QByteArray& json, QString* why)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        return refuse(why, QStringLiteral("not JSON (%1 at byte %2)").arg(error.errorString()).arg(error.offset));
    if (!document.isObject())
        return refuse(why, QStringLiteral("not a JSON object"));
    const QJsonObject root = document.object();

    const std::optional<qint64> format = wholeNumber(root.value(QStringLiteral("format")));
    if (!format)
        return refuse(why, QStringLiteral("no format number"));
    if (*format != kFormat)
        return refuse(why, QStringLiteral("format %1, this program reads format %2").arg(*format).arg(kFormat));

    BackupManifest manifest;
    const QJsonValue firmware = root.value(QStringLiteral("firmware"));
    if (!firmware.isString())
        return refuse(why, QStringLiteral("no firmware version"));
    manifest.firmware = firmware.toString();
    for (const QChar ch : manifest.firmware)
        if (isControl(ch.unicode()))
            return refuse(why, QStringLiteral("a control character in the firmware version"));

    const QJsonValue created = root.value(QStringLiteral("created"));
    if (!created.isString())
        return refuse(why, QStringLiteral("no creation time"));
    manifest.created = QDateTime::fromString(created.toString(), Qt::ISODateWithMs);
    if (!manifest.created.isValid())
        return refuse(why, QStringLiteral("the creation time does not read"));
    manifest.created = manifest.created.toUTC();

    const QJsonValue files = root.value(QStringLiteral("files"));
    if (!files.isArray())
        return refuse(why, QStringLiteral("no list of files"));
    QSet<QString> seen;
    qint64 total = 0;
    const QJsonArray list = files.toArray();
    manifest.entries.reserve(list.size());
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QString where = QStringLiteral("file %1: ").arg(i + 1);
        if (!list.at(i).isObject())
            return refuse(why, where + QStringLiteral("not a JSON object"));
        const QJsonObject file = list.at(i).toObject();
        Entry entry;
        const QJsonValue path = file.value(QStringLiteral("path"));
        if (!path.isString())
            return refuse(why, where + QStringLiteral("no path"));
        entry.path = path.toString();
        if (!isSafeRelativePath(entry.path))
            return refuse(why, where + QStringLiteral("the path could reach outside the backup"));
        // The instrument's volume does not tell letter case apart: two paths that differ only
        // in it would be one file there.
        const QString key = entry.path.toCaseFolded();
        if (seen.contains(key))
            return refuse(why, where + QStringLiteral("the path is named twice"));
        seen.insert(key);

        const std::optional<qint64> size = wholeNumber(file.value(QStringLiteral("size")));
        if (!size || *size < 0)
            return refuse(why, where + QStringLiteral("no size, or a size below zero or too large"));
        entry.size = *size;
        if (total > std::numeric_limits<qint64>::max() - entry.size)
            return refuse(why, where + QStringLiteral("the sizes add up to more than any volume holds"));
        total += entry.size;

        const std::optional<qint64> modified = wholeNumber(file.value(QStringLiteral("modified_ms")));
        if (!modified)
            return refuse(why, where + QStringLiteral("no modification time"));
        entry.modifiedMs = *modified;

        const QJsonValue sha256 = file.value(QStringLiteral("sha256"));
        if (!sha256.isString() || !isHexDigest(sha256.toString()))
            return refuse(why, where + QStringLiteral("the SHA-256 is not 64 hex digits"));
        entry.sha256 = sha256.toString().toLower().toLatin1();
        manifest.entries.append(entry);
    }
    return manifest;
}
