#include "JsonString.h"

#include <QtEndian>
#include <QtAlgorithms>

#include <array>
#include <cstdint>
#include <cstring>

namespace {

// Bytes a string runs on without a closer look: ASCII (control characters included, as the
// document reading takes them) except the quote and the backslash.
constexpr std::array<bool, 256> kPlain = [] {
    std::array<bool, 256> plain{};
    for (int c = 0; c < 0x80; ++c)
        plain[c] = c != '"' && c != '\\';
    return plain;
}();

// The bytes of v (the first in the lowest place) that are a quote, a backslash or beyond
// ASCII, as their high bits; zero when there is none. The zero-byte test (on v with each of
// the two bytes wiped) may flag bytes above a true find, never below one: the lowest flag is
// the first such byte.
inline std::uint64_t specialBytes(std::uint64_t v)
{
    constexpr std::uint64_t ones = 0x0101010101010101ULL;
    constexpr std::uint64_t highs = 0x8080808080808080ULL;
    const std::uint64_t quote = v ^ (ones * '"');
    const std::uint64_t backslash = v ^ (ones * '\\');
    return (((quote - ones) & ~quote) | ((backslash - ones) & ~backslash) | v) & highs;
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

} // namespace

bool JsonString::read(const char*& p, const char* end, QString* text, QLatin1String* keyBytes)
{
    const char* const start = ++p;
    bool ascii = true;
    bool escaped = false;
    for (;;) {
        // Eight bytes at a time up to the next special one; the last few one by one.
        for (;;) {
            if (end - p < 8) {
                while (p < end && kPlain[static_cast<unsigned char>(*p)])
                    ++p;
                break;
            }
            std::uint64_t eight;
            std::memcpy(&eight, p, 8);
            const std::uint64_t special = specialBytes(qFromLittleEndian(eight));
            if (special != 0) {
                p += qCountTrailingZeroBits(special) / 8;
                break;
            }
            p += 8;
        }
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
