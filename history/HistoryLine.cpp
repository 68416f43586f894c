#include "HistoryLine.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <cmath>
#include <limits>

namespace {

// Past 2^53 a JSON number no longer holds every whole number.
constexpr double kMaxCount = 9007199254740992.0;

bool isControl(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c < 0xA0) || c == 0x061C || c == 0x200E || c == 0x200F
        || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

// Reads a text field: absent is empty; present must be a string.
bool text(const QJsonObject& object, const char* name, QString* into)
{
    const QJsonValue value = object.value(QLatin1String(name));
    if (value.isUndefined())
        return true;
    if (!value.isString())
        return false;
    *into = HistoryLine::plain(value.toString());
    return true;
}

// Reads a count: absent is zero; present must be a whole number from 0 to max.
bool count(const QJsonObject& object, const char* name, double max, double* into)
{
    const QJsonValue value = object.value(QLatin1String(name));
    if (value.isUndefined())
        return true;
    if (!value.isDouble())
        return false;
    const double number = value.toDouble();
    if (!std::isfinite(number) || number < 0 || number > max || std::floor(number) != number)
        return false;
    *into = number;
    return true;
}

void put(QJsonObject& object, const char* name, const QString& value)
{
    if (!value.isEmpty())
        object.insert(QLatin1String(name), HistoryLine::plain(value));
}

} // namespace

QString HistoryLine::plain(const QString& text)
{
    QString out;
    const QString cut = text.left(kMaxTextChars);
    out.reserve(cut.size());
    for (qsizetype i = 0; i < cut.size(); ++i) {
        const QChar ch = cut.at(i);
        if (ch.isHighSurrogate() && i + 1 < cut.size() && cut.at(i + 1).isLowSurrogate()) {
            out += ch;
            out += cut.at(++i);
        } else if (ch.isSurrogate() || isControl(ch.unicode())) {
            out += QChar(QChar::ReplacementCharacter);
        } else {
            out += ch;
        }
    }
    return out;
}

QJsonObject HistoryLine::toJson(const HistoryRecord& r)
{
    QJsonObject o;
    o.insert(QStringLiteral("kind"), HistoryRecord::kindName(r.kind));
    o.insert(QStringLiteral("time"), r.time.toUTC().toString(Qt::ISODateWithMs));
    put(o, "instrument", r.instrument);
    put(o, "result", r.result);
    if (r.kind == HistoryRecord::Kind::Update) {
        put(o, "from", r.fromVersion);
        put(o, "to", r.toVersion);
        put(o, "file", r.fileName);
        put(o, "sha256", r.sha256);
        put(o, "confirmed", r.confirmedVersion);
        return o;
    }
    put(o, "firmware", r.firmware);
    put(o, "folder", r.folder);
    o.insert(QStringLiteral("files"), r.files);
    if (r.kind == HistoryRecord::Kind::Backup) {
        o.insert(QStringLiteral("bytes"), double(r.bytes));
        o.insert(QStringLiteral("linked_bytes"), double(r.linkedBytes));
        o.insert(QStringLiteral("duration_ms"), double(r.durationMs));
    }
    put(o, "reason", r.reason);
    return o;
}

QByteArray HistoryLine::serialise(const HistoryRecord& record)
{
    return QJsonDocument(toJson(record)).toJson(QJsonDocument::Compact);
}

std::optional<HistoryRecord> HistoryLine::parse(QByteArrayView line)
{
    if (line.size() > kMaxLineBytes)
        return std::nullopt;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(line.toByteArray(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject o = document.object();

    HistoryRecord r;
    const QJsonValue kind = o.value(QLatin1String("kind"));
    if (!kind.isString() || !HistoryRecord::kindNamed(kind.toString(), &r.kind))
        return std::nullopt;
    const QJsonValue time = o.value(QLatin1String("time"));
    if (!time.isString())
        return std::nullopt;
    r.time = QDateTime::fromString(time.toString(), Qt::ISODateWithMs);
    if (!r.time.isValid())
        return std::nullopt;
    r.time = r.time.toUTC();
    // Only the years an ISO 8601 date writes as four digits: a line read is a line written again.
    if (r.time.date().year() < 1 || r.time.date().year() > 9999)
        return std::nullopt;
    if (!text(o, "instrument", &r.instrument) || !text(o, "result", &r.result)
        || !HistoryRecord::results(r.kind).contains(r.result))
        return std::nullopt;

    if (r.kind == HistoryRecord::Kind::Update) {
        if (!text(o, "from", &r.fromVersion) || !text(o, "to", &r.toVersion)
            || !text(o, "file", &r.fileName) || !text(o, "sha256", &r.sha256)
            || !text(o, "confirmed", &r.confirmedVersion))
            return std::nullopt;
        return r;
    }
    double files = 0, bytes = 0, linked = 0, duration = 0;
    if (!text(o, "firmware", &r.firmware) || !text(o, "folder", &r.folder)
        || !text(o, "reason", &r.reason)
        || !count(o, "files", std::numeric_limits<int>::max(), &files))
        return std::nullopt;
    if (r.kind == HistoryRecord::Kind::Backup
        && (!count(o, "bytes", kMaxCount, &bytes) || !count(o, "linked_bytes", kMaxCount, &linked)
            || !count(o, "duration_ms", kMaxCount, &duration)))
        return std::nullopt;
    r.files = int(files);
    r.bytes = qint64(bytes);
    r.linkedBytes = qint64(linked);
    r.durationMs = qint64(duration);
    return r;
}
