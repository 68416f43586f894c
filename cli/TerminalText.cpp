#include "TerminalText.h"

bool TerminalText::isUnsafe(char16_t c)
{
    if (c < 0x20)
        return c != u'\n' && c != u'\t';
    if (c >= 0x7F && c <= 0x9F)
        return true;
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E)
           || (c >= 0x2066 && c <= 0x2069);
}

QString TerminalText::plain(const QString& text)
{
    QString out = text;
    for (QChar& c : out) {
        if (isUnsafe(c.unicode()))
            c = QChar(kReplacement);
    }
    return out;
}

QString TerminalText::escapedJson(const QString& json)
{
    QString out;
    out.reserve(json.size());
    for (const QChar c : json) {
        if (isUnsafe(c.unicode()))
            out += QStringLiteral("\\u%1").arg(int(c.unicode()), 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}
