#include "MarkdownMarkers.h"

#include <QRegularExpression>

namespace {

struct Marker
{
    const char* kind;
    QRegularExpression pattern;
};

const QList<Marker>& markers()
{
    static const QRegularExpression::PatternOptions lines = QRegularExpression::MultilineOption;
    static const QList<Marker> all{
        {"heading", QRegularExpression(QStringLiteral(R"(^[ \t]{0,3}#{1,6}[ \t]|#{2,6}[ \t])"), lines)},
        {"strong", QRegularExpression(QStringLiteral(R"(\*\*|__)"))},
        {"emphasis", QRegularExpression(QStringLiteral(
                         R"((?<![\w*])\*[^\s*](?:[^*\n]*[^\s*])?\*(?![\w*]))"
                         R"(|(?<![\w_])_[^\s_](?:[^_\n]*[^\s_])?_(?![\w_]))"))},
        {"code", QRegularExpression(QStringLiteral(R"(`|^[ \t]{0,3}~~~)"), lines)},
        {"image", QRegularExpression(QStringLiteral(R"(!\[)"))},
        {"link", QRegularExpression(QStringLiteral(R"(\]\()"))},
        {"quote", QRegularExpression(QStringLiteral(R"(^[ \t]{0,3}>[ \t])"), lines)},
        {"bullet", QRegularExpression(QStringLiteral(R"(^[ \t]{0,3}[*+][ \t])"), lines)},
    };
    return all;
}

// A few characters either side of the match, on one line, so that the report shows where.
QString excerpt(const QString& text, qsizetype start, qsizetype length)
{
    const qsizetype from = qMax<qsizetype>(0, start - 8);
    const qsizetype to = qMin<qsizetype>(text.size(), start + length + 8);
    return text.mid(from, to - from).replace(QLatin1Char('\n'), QStringLiteral("\\n"));
}

} // namespace

QStringList MarkdownMarkers::in(const QString& displayed)
{
    QStringList found;
    for (const Marker& marker : markers()) {
        const QRegularExpressionMatch match = marker.pattern.match(displayed);
        if (match.hasMatch()) {
            found.append(QStringLiteral("%1 \"%2\"").arg(QLatin1String(marker.kind),
                                                          excerpt(displayed, match.capturedStart(),
                                                                  match.capturedLength())));
        }
    }
    return found;
}
