#include "ReleaseNotesText.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>

bool ReleaseNotesText::looksLikeMarkdown(const QString& notes)
{
    // Block marks at the start of a line, inline marks anywhere.
    static const QRegularExpression block(
        QStringLiteral(R"(^\s{0,3}(#{1,6}\s|[-*+]\s|\d+[.)]\s|>\s?|```|~~~))"),
        QRegularExpression::MultilineOption);
    static const QRegularExpression inlineMark(
        QStringLiteral(R"(\*\*[^*\n]+\*\*|__[^_\n]+__|`[^`\n]+`|\[[^\]\n]+\]\([^)\s]+\))"));
    return block.match(notes).hasMatch() || inlineMark.match(notes).hasMatch();
}

QString ReleaseNotesText::shown(const QString& notes)
{
    const QString kept = cut(notes);
    return looksLikeMarkdown(kept) ? withoutMarks(kept) : kept;
}

QString ReleaseNotesText::cut(const QString& notes)
{
    if (notes.size() <= kMaxShownLength)
        return notes;
    int end = kMaxShownLength;
    // At the end of a line when one ends in the last KiB before the limit.
    const int lineEnd = notes.lastIndexOf(QLatin1Char('\n'), end - 1);
    if (lineEnd >= end - 1024)
        end = lineEnd;
    else if (notes.at(end - 1).isHighSurrogate())
        --end; // never half a character
    return notes.left(end) + QStringLiteral("\n\n")
           + QCoreApplication::translate("ReleaseNotesText",
                                         "The rest of these notes is left out: they are longer than 64 KiB.");
}

QString ReleaseNotesText::withoutMarks(const QString& notes)
{
    static const QRegularExpression fence(QStringLiteral(R"(^\s{0,3}(```|~~~))"));
    static const QRegularExpression heading(QStringLiteral(R"(^\s{0,3}#{1,6}\s+(.*?)(\s+#+)?\s*$)"));
    static const QRegularExpression bullet(QStringLiteral(R"(^\s{0,3}[-*+]\s+)"));
    static const QRegularExpression quote(QStringLiteral(R"(^\s{0,3}>\s?)"));
    static const QRegularExpression image(QStringLiteral(R"(!\[([^\]\n]*)\]\([^)\n]*\))"));
    static const QRegularExpression link(QStringLiteral(R"(\[([^\]\n]+)\]\([^)\n]*\))"));
    static const QRegularExpression strong(QStringLiteral(R"(\*\*([^*\n]+)\*\*|__([^_\n]+)__)"));
    static const QRegularExpression emphasis(
        QStringLiteral(R"((?<![\w*])\*([^*\n]+)\*(?![\w*])|(?<![\w_])_([^_\n]+)_(?![\w_]))"));
    static const QRegularExpression code(QStringLiteral(R"(`([^`\n]+)`)"));

    QStringList lines;
    for (QString line : notes.split(QLatin1Char('\n'))) {
        if (fence.match(line).hasMatch())
            continue;
        const QRegularExpressionMatch title = heading.match(line);
        if (title.hasMatch())
            line = title.captured(1);
        line.replace(bullet, QStringLiteral("\u2022 "));
        line.replace(quote, QString());
        line.replace(image, QStringLiteral("\\1"));
        line.replace(link, QStringLiteral("\\1"));
        line.replace(strong, QStringLiteral("\\1\\2"));
        line.replace(emphasis, QStringLiteral("\\1\\2"));
        line.replace(code, QStringLiteral("\\1"));
        lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}
