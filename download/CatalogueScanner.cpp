#include "CatalogueScanner.h"

#include <QLatin1String>
#include <QString>

#include <array>
#include <cstring>

// Every reader below starts at the first byte of what it reads, leaves p just past it and
// returns false when it declines; p is then of no further use. Whitespace is what the JSON
// document reading skips: blank, tab, line feed, carriage return.

namespace {

// Bytes a string runs on without a closer look: ASCII (control characters included, as the
// document reading takes them) except the quote and the backslash.
constexpr std::array<bool, 256> kPlain = [] {
    std::array<bool, 256> plain{};
    for (int c = 0; c < 0x80; ++c)
        plain[c] = c != '"' && c != '\\';
    return plain;
}();

inline void skipSpace(const char*& p, const char* end)
{
    while (p < end && (*p == ' ' || *p == '\n' || *p == '\r' || *p == '\t'))
        ++p;
}

inline bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

inline int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The four hex digits of a \u escape as one UTF-16 unit; -1 when one is not a hex digit.
inline int hex4(const char* p)
{
    int value = 0;
    for (int i = 0; i < 4; ++i) {
        const int digit = hexValue(p[i]);
        if (digit < 0)
            return -1;
        value = value << 4 | digit;
    }
    return value;
}

// The code point of the well-formed UTF-8 sequence at p (its first byte 0x80 or above) and
// its length; length 0 when it is malformed: a stray continuation byte, an overlong form, a
// surrogate, beyond U+10FFFF, or cut off.
inline int utf8Sequence(const char* p, const char* end, char32_t& code)
{
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    const unsigned char b = u[0];
    int length;
    char32_t least;
    if (b >= 0xc2 && b <= 0xdf) {
        length = 2;
        code = b & 0x1f;
        least = 0x80;
    } else if (b >= 0xe0 && b <= 0xef) {
        length = 3;
        code = b & 0x0f;
        least = 0x800;
    } else if (b >= 0xf0 && b <= 0xf4) {
        length = 4;
        code = b & 0x07;
        least = 0x10000;
    } else {
        return 0;
    }
    if (end - p < length)
        return 0;
    for (int i = 1; i < length; ++i) {
        if ((u[i] & 0xc0) != 0x80)
            return 0;
        code = code << 6 | (u[i] & 0x3f);
    }
    if (code < least || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff))
        return 0;
    return length;
}

// The text of a string whose bytes (between the quotes) hold escapes; the bytes were checked.
QString unescaped(const char* p, const char* stop)
{
    // Never more UTF-16 units than bytes: an escape or a sequence of two or more bytes
    // makes one unit, a four-byte sequence two.
    QString text(stop - p, Qt::Uninitialized);
    QChar* out = text.data();
    while (p < stop) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c == '\\') {
            const char e = p[1];
            p += 2;
            switch (e) {
            case 'b': *out++ = QChar(0x08); break;
            case 'f': *out++ = QChar(0x0c); break;
            case 'n': *out++ = QChar(0x0a); break;
            case 'r': *out++ = QChar(0x0d); break;
            case 't': *out++ = QChar(0x09); break;
            case 'u':
                // One UTF-16 unit each, a lone surrogate kept as it is; a pair is two escapes.
                *out++ = QChar(char16_t(hex4(p)));
                p += 4;
                break;
            default:
                // '"', '\\', '/' and any other ASCII character stand for themselves.
                *out++ = QLatin1Char(e);
                break;
            }
        } else if (c < 0x80) {
            *out++ = QLatin1Char(char(c));
            ++p;
        } else {
            char32_t code = 0;
            p += utf8Sequence(p, stop, code);
            if (code > 0xffff) {
                *out++ = QChar(QChar::highSurrogate(code));
                *out++ = QChar(QChar::lowSurrogate(code));
            } else {
                *out++ = QChar(char16_t(code));
            }
        }
    }
    text.truncate(out - text.constData());
    return text;
}

// A string, p at its opening quote; its text to *text unless text is null. With keyBytes
// (a key), a string without escapes gives its raw bytes there instead, for a comparison with
// the fields' names without making a QString; one with escapes still gives its text.
bool readString(const char*& p, const char* end, QString* text,
                QLatin1String* keyBytes = nullptr)
{
    const char* const start = ++p;
    bool ascii = true;
    bool escaped = false;
    for (;;) {
        while (p < end && kPlain[static_cast<unsigned char>(*p)])
            ++p;
        if (p >= end)
            return false;
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c == '"')
            break;
        if (c == '\\') {
            escaped = true;
            if (end - p < 2)
                return false;
            const unsigned char e = static_cast<unsigned char>(p[1]);
            if (e == 'u') {
                if (end - p < 6 || hex4(p + 2) < 0)
                    return false;
                p += 6;
            } else if (e >= 0x80) {
                // The document reading takes the byte alone as a character: left to it.
                return false;
            } else {
                p += 2;
            }
            continue;
        }
        char32_t code = 0;
        const int length = utf8Sequence(p, end, code);
        if (length == 0)
            return false;
        ascii = false;
        p += length;
    }
    const char* const stop = p++;
    const qsizetype size = stop - start;
    if (keyBytes && !escaped) {
        *keyBytes = QLatin1String(start, size);
        return true;
    }
    if (text) {
        if (escaped)
            *text = unescaped(start, stop);
        else if (ascii)
            *text = QString::fromLatin1(start, size);
        else
            *text = QString::fromUtf8(start, size);
    }
    return true;
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
            if (*p != '"' || !readString(p, end, nullptr))
                return false;
            skipSpace(p, end);
            if (p >= end || *p != ':')
                return false;
            ++p;
            skipSpace(p, end);
            if (p >= end)
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
        return readString(p, end, nullptr);
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
        if (!readString(p, end, &escapedKey, &keyBytes))
            return false;
        QString* field = keyBytes.data() ? fieldNamed(entry, keyBytes) : fieldNamed(entry, escapedKey);
        skipSpace(p, end);
        if (p >= end || *p != ':')
            return false;
        ++p;
        skipSpace(p, end);
        if (p >= end)
            return false;
        if (field && *p == '"') {
            if (!readString(p, end, field))
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
