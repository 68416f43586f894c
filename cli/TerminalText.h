#pragma once

#include <QString>

// Text on its way to a terminal or a pipe, made harmless: what the program prints carries
// outside data (versions from the catalogue and the instrument, failure reasons, port
// names), and a control character in it must not reach the terminal, where it could move the
// cursor, retitle the window, clear lines or reorder what is shown.
class TerminalText
{
public:
    // The character that stands in for each one taken out.
    static constexpr char16_t kReplacement = u'\uFFFD';

    // Whether c is taken out of printed text: C0 controls (but newline and tab), DEL, C1
    // controls and the bidirectional controls (U+061C, U+200E, U+200F, U+202A to U+202E,
    // U+2066 to U+2069). Pure.
    static bool isUnsafe(char16_t c);
    // text with every unsafe character replaced by kReplacement, one for one. Pure.
    static QString plain(const QString& text);
    // A compact JSON document (one line) with every unsafe character it holds written as a
    // \uXXXX escape: the same JSON value, nothing raw. Unsafe characters can stand only inside
    // its strings, where the escape means the character itself. Pure.
    static QString escapedJson(const QString& json);
};
