#include "CatalogueScanner.h"

#include "JsonString.h"

#include <QLatin1String>
#include <QString>

#include <cstring>

// Every reader below starts at the first byte of what it reads, leaves p just past it and
// returns false when it declines; p is then of no further use. Whitespace is what the JSON
// document reading skips: blank, tab, line feed, carriage return.

namespace {

inline void skipSpace(const char*& p, const char* end)
{
    while (p < end && (*p == ' ' || *p == '\n' || *p == '\r' || *p == '\t'))
        ++p;
}

// The ':' after a key and the blanks around it; false when the input ends or has no colon
// there. Leaves p at the value.
bool skipColon(const char*& p, const char* end)
{
    skipSpace(p, end);
    if (p >= end || *p != ':')
        return false;
    ++p;
    skipSpace(p, end);
    return p < end;
}

inline bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A number in the strict JSON form. Declined also when it may lie beyond the double's range
// either way (more than 40 characters before the exponent, or an exponent beyond 250): the
// document reading refuses those that do, and decides them itself.
bool skipNumber(const char*& p, const char* end)
{
    const char* const start = p;
    if (p < end && *p == '-')
        ++p;
    if (p >= end)
        return false;
    if (*p == '0') {
        ++p;
    } else if (*p >= '1' && *p <= '9') {
        while (p < end && isDigit(*p))
            ++p;
    } else {
        return false;
    }
    if (p < end && *p == '.') {
        ++p;
        if (p >= end || !isDigit(*p))
            return false;
        while (p < end && isDigit(*p))
            ++p;
    }
    if (p - start > 40)
        return false;
    if (p < end && (*p == 'e' || *p == 'E')) {
        ++p;
        if (p < end && (*p == '+' || *p == '-'))
            ++p;
        int exponent = 0;
        int digits = 0;
        while (p < end && isDigit(*p)) {
            if (++digits > 3)
                return false;
            exponent = exponent * 10 + (*p - '0');
            ++p;
        }
        if (digits == 0 || exponent > 250)
            return false;
    }
    // The document reading refuses a number that ends the bytes.
    return p < end;
}

// true, false or null; the document reading wants a byte after the word.
bool skipWord(const char*& p, const char* end, const char* word, qsizetype length)
{
    if (end - p <= length || std::memcmp(p, word, size_t(length)) != 0)
        return false;
    p += length;
    return true;
}

bool skipValue(const char*& p, const char* end, int depth);

// An object or array of an unknown field (or an element that is not an entry); p at its
// opening bracket.
bool skipContainer(const char*& p, const char* end, int depth)
{
    if (depth > CatalogueScanner::kMaxDepth)
        return false;
    const bool object = *p == '{';
    const char close = object ? '}' : ']';
    ++p;
    skipSpace(p, end);
    if (p < end && *p == close) {
        ++p;
        return true;
    }
    for (;;) {
        if (p >= end)
            return false;
        if (object) {
            if (*p != '"' || !JsonString::read(p, end, nullptr) || !skipColon(p, end))
                return false;
        }
        if (!skipValue(p, end, depth))
            return false;
        skipSpace(p, end);
        if (p >= end)
            return false;
        if (*p == close) {
            ++p;
            return true;
        }
        if (*p != ',')
            return false;
        ++p;
        skipSpace(p, end);
    }
}

// Any value, p at its first byte (p < end).
bool skipValue(const char*& p, const char* end, int depth)
{
    switch (*p) {
    case '"':
        return JsonString::read(p, end, nullptr);
    case '{':
    case '[':
        return skipContainer(p, end, depth + 1);
    case 't':
        return skipWord(p, end, "true", 4);
    case 'f':
        return skipWord(p, end, "false", 5);
    case 'n':
        return skipWord(p, end, "null", 4);
    default:
        return skipNumber(p, end);
    }
}

// The entry's field a key names; null for a key the catalogue ignores.
QString* fieldNamed(ReleaseEntry& entry, QLatin1String key)
{
    switch (key.size()) {
    case 4:
        return key == QLatin1String("uuid") ? &entry.uuid : nullptr;
    case 6:
        return key == QLatin1String("sha256") ? &entry.sha256 : nullptr;
    case 7:
        return key == QLatin1String("version") ? &entry.version : nullptr;
    case 9:
        if (key == QLatin1String("file_name"))
            return &entry.fileName;
        return key == QLatin1String("code_name") ? &entry.codeName : nullptr;
    case 12:
        return key == QLatin1String("release_date") ? &entry.releaseDate : nullptr;
    case 13:
        return key == QLatin1String("release_notes") ? &entry.releaseNotes : nullptr;
    case 15:
        return key == QLatin1String("total_file_size") ? &entry.totalFileSize : nullptr;
    default:
        return nullptr;
    }
}

// A key with escapes, decoded: only an ASCII one can name a field.
QString* fieldNamed(ReleaseEntry& entry, const QString& key)
{
    for (const QChar c : key) {
        if (c.unicode() >= 0x80)
            return nullptr;
    }
    const QByteArray latin1 = key.toLatin1();
    return fieldNamed(entry, QLatin1String(latin1.constData(), latin1.size()));
}

// One element of the catalogue that is an object, p at its '{' (depth 2).
bool readEntry(const char*& p, const char* end, ReleaseEntry& entry)
{
    ++p;
    skipSpace(p, end);
    if (p < end && *p == '}') {
        ++p;
        return true;
    }
    for (;;) {
        if (p >= end || *p != '"')
            return false;
        QLatin1String keyBytes;
        QString escapedKey;
        if (!JsonString::read(p, end, &escapedKey, &keyBytes))
            return false;
        QString* field = keyBytes.data() ? fieldNamed(entry, keyBytes) : fieldNamed(entry, escapedKey);
        if (!skipColon(p, end))
            return false;
        if (field && *p == '"') {
            if (!JsonString::read(p, end, field))
                return false;
        } else {
            // A field given as anything but a string is empty, whatever came before it.
            if (field)
                field->clear();
            if (!skipValue(p, end, 2))
                return false;
        }
        skipSpace(p, end);
        if (p >= end)
            return false;
        if (*p == '}') {
            ++p;
            entry.sha256 = ReleaseEntry::digestFrom(entry.sha256);
            return true;
        }
        if (*p != ',')
            return false;
        ++p;
        skipSpace(p, end);
    }
}

} // namespace

bool CatalogueScanner::scan(const QByteArray& bytes, QList<ReleaseEntry>& entries)
{
    entries.clear();
    const char* p = bytes.constData();
    const char* const end = p + bytes.size();
    // A byte order mark, skipped as the document reading does (only before more bytes).
    if (end - p > 3 && std::memcmp(p, "\xef\xbb\xbf", 3) == 0)
        p += 3;
    skipSpace(p, end);
    if (p >= end || *p != '[')
        return false;
    ++p;
    skipSpace(p, end);
    // An empty catalogue is the document reading's to report.
    if (p >= end || *p == ']')
        return false;
    QList<ReleaseEntry> read;
    for (;;) {
        ReleaseEntry entry;
        const bool ok = *p == '{' ? readEntry(p, end, entry) : skipValue(p, end, 1);
        if (!ok)
            return false;
        read.append(std::move(entry));
        skipSpace(p, end);
        if (p >= end)
            return false;
        if (*p == ']')
            break;
        if (*p != ',')
            return false;
        ++p;
        skipSpace(p, end);
        if (p >= end)
            return false;
    }
    ++p;
    skipSpace(p, end);
    if (p != end)
        return false;
    entries = std::move(read);
    return true;
}
