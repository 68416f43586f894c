#include "ReleaseNotesText.h"

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
