#include "UrlCredentials.h"

namespace {

bool endsAuthority(QChar c)
{
    switch (c.unicode()) {
    case '/':
    case '?':
    case '#':
    case '"':
    case '\'':
    case '<':
    case '>':
    case '\\':
        return true;
    default:
        return c.isSpace();
    }
}

} // namespace

namespace UrlCredentials {

QString removedFrom(const QString& text)
{
    const QLatin1String marker("://");
    int from = text.indexOf(marker);
    if (from < 0)
        return text;
    QString out;
    out.reserve(text.size());
    int copied = 0;
    while (from >= 0) {
        const int authority = from + marker.size();
        int end = authority;
        int lastAt = -1;
        while (end < text.size() && !endsAuthority(text.at(end))) {
            if (text.at(end) == QLatin1Char('@'))
                lastAt = end;
            ++end;
        }
        if (lastAt >= 0) {
            out += QStringView(text).mid(copied, authority - copied);
            copied = lastAt + 1;
        }
        // The next address may begin in the last character of this authority ("a:b://").
        from = text.indexOf(marker, authority);
    }
    out += QStringView(text).mid(copied);
    return out;
}

} // namespace UrlCredentials
