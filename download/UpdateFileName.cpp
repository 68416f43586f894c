#include "UpdateFileName.h"

#include <QRegularExpression>

#include <algorithm>

bool UpdateFileName::isSafe(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    // A longer name fails only when the file is made, after the request, and would then be
    // taken for the server's fault.
    if (name.toUtf8().size() > kMaxNameBytes)
        return false;
    for (const QChar ch : name) {
        // A separator or a colon (drive prefix, alternate data stream) would place the
        // file somewhere other than the download folder.
        if (ch == QLatin1Char('/') || ch == QLatin1Char('\\') || ch == QLatin1Char(':'))
            return false;
        // The control characters (Other_Control): U+0000 to U+001F and U+007F to U+009F.
        const char16_t u = ch.unicode();
        if (u < 0x20 || (u >= 0x7f && u <= 0x9f))
            return false;
    }
    // Windows opens a device instead of a file for these names, whatever the extension and
    // whatever blanks follow the name (it drops them); the superscript digits count as digits.
    // Every such name starts with one of these letter triples (no other character matches
    // their letters without regard to case), so other names need no match.
    const char16_t first = name.at(0).unicode() | 0x20;
    if (first != u'c' && first != u'p' && first != u'a' && first != u'n' && first != u'l')
        return true;
    const QStringView start = QStringView(name).left(3);
    const auto startsAs = [start](const char* letters) {
        return start.compare(QLatin1String(letters), Qt::CaseInsensitive) == 0;
    };
    if (!startsAs("CON") && !startsAs("PRN") && !startsAs("AUX") && !startsAs("NUL")
        && !startsAs("COM") && !startsAs("LPT"))
        return true;
    static const QRegularExpression deviceName(
        QStringLiteral("^(CON|PRN|AUX|NUL|COM[1-9\u00B9\u00B2\u00B3]|LPT[1-9\u00B9\u00B2\u00B3]) *(\\..*)?$"),
        QRegularExpression::CaseInsensitiveOption);
    return !deviceName.match(name).hasMatch();
}

QString UpdateFileName::encodeForUrl(const QString& name)
{
    // The usual name has nothing to escape: shared as it is, nothing made.
    const auto escaped = [](QChar ch) {
        return ch == QLatin1Char('%') || ch == QLatin1Char('?') || ch == QLatin1Char('#');
    };
    if (std::none_of(name.begin(), name.end(), escaped))
        return name;
    QString encoded;
    encoded.reserve(name.size());
    for (const QChar ch : name) {
        if (ch == QLatin1Char('%'))
            encoded += QLatin1String("%25");
        else if (ch == QLatin1Char('?'))
            encoded += QLatin1String("%3F");
        else if (ch == QLatin1Char('#'))
            encoded += QLatin1String("%23");
        else
            encoded += ch;
    }
    return encoded;
}
