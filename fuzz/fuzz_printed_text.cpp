// Text on its way out: the terminal filter of tavlo's output and the removal of user names and
// passwords from addresses in log lines. The first byte chooses how the rest is read (UTF-8,
// or raw UTF-16 code units, so that every control and bidi character is reached).
//
// The filter keeps the length, replaces exactly the unsafe characters, leaves none, and is
// repeatable; a JSON line escaped for the terminal holds no unsafe character and reads back
// as the same value. The removal only deletes, leaves no '@' in the authority of any address
// of its result, changes nothing in text without "://", and is repeatable.
#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "TerminalText.h"
#include "UrlCredentials.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cstddef>
#include <cstdint>

namespace {

bool endsAuthority(QChar c)
{
    return QStringLiteral("/?#\"'<>\\").contains(c) || c.isSpace();
}

bool isSubsequence(const QString& part, const QString& whole)
{
    qsizetype at = 0;
    for (const QChar c : part) {
        while (at < whole.size() && whole.at(at) != c)
            ++at;
        if (at == whole.size())
            return false;
        ++at;
    }
    return true;
}

void checkFilter(const QString& text)
{
    const QString shown = TerminalText::plain(text);
    FUZZ_CHECK(shown.size() == text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool unsafe = TerminalText::isUnsafe(text.at(i).unicode());
        FUZZ_CHECK(shown.at(i) == (unsafe ? QChar(TerminalText::kReplacement) : text.at(i)));
        FUZZ_CHECK(!TerminalText::isUnsafe(shown.at(i).unicode()));
    }
    FUZZ_CHECK(TerminalText::plain(shown) == shown);

    // Qt's JSON reader drops a byte order mark at the start of a text written without escapes
    // and keeps it in one with escapes: the comparison below leaves that mark out.
    const QJsonObject object{{QStringLiteral("value"), QString(text).remove(QChar(0xFEFF))}};
    const QString line = TerminalText::escapedJson(
        QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)));
    for (const QChar c : line)
        FUZZ_CHECK(!TerminalText::isUnsafe(c.unicode()));
    QJsonParseError error;
    const QJsonDocument back = QJsonDocument::fromJson(line.toUtf8(), &error);
    FUZZ_CHECK(error.error == QJsonParseError::NoError);
    // Lone surrogates do not survive UTF-8 either way; the value is compared as JSON holds it.
    FUZZ_CHECK(back.object() == QJsonDocument::fromJson(QJsonDocument(object).toJson()).object());
}

void checkCredentials(const QString& text)
{
    const QString logged = UrlCredentials::removedFrom(text);
    FUZZ_CHECK(logged.size() <= text.size());
    FUZZ_CHECK(isSubsequence(logged, text));
    FUZZ_CHECK(UrlCredentials::removedFrom(logged) == logged);
    if (!text.contains(QLatin1String("://")))
        FUZZ_CHECK(logged == text);
    for (qsizetype from = logged.indexOf(QLatin1String("://")); from >= 0;
         from = logged.indexOf(QLatin1String("://"), from + 1)) {
        for (qsizetype at = from + 3; at < logged.size() && !endsAuthority(logged.at(at)); ++at)
            FUZZ_CHECK(logged.at(at) != QLatin1Char('@'));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const bool utf16 = input.byte() & 1;
    const std::string rest = input.rest();
    const QString text = utf16 ? QString(reinterpret_cast<const QChar*>(rest.data()), qsizetype(rest.size() / 2))
                               : QString::fromUtf8(rest.data(), qsizetype(rest.size()));
    checkFilter(text);
    checkCredentials(text);
    return 0;
}
