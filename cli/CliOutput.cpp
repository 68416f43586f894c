#include "CliOutput.h"

#include <QJsonDocument>

CliOutput::CliOutput(bool json, bool terminal, std::FILE* out, std::FILE* err)
    : json(json), terminal(terminal), out(out), err(err)
{
}

void CliOutput::endBar()
{
    if (barOpen) {
        std::fputs("\n", out);
        barOpen = false;
    }
}

void CliOutput::print(const QJsonObject& fields, const QString& text)
{
    endBar();
    if (json)
        std::fprintf(out, "%s\n", QJsonDocument(fields).toJson(QJsonDocument::Compact).constData());
    else if (!text.isEmpty())
        std::fprintf(out, "%s\n", text.toLocal8Bit().constData());
    std::fflush(out);
}

QString CliOutput::bar(const QString& caption, int percent, int width)
{
    const int p = qBound(0, percent, 100);
    const int filled = p * width / 100;
    return QStringLiteral("%1 [%2%3] %4%")
        .arg(caption, QString(filled, QLatin1Char('#')), QString(width - filled, QLatin1Char(' ')))
        .arg(p, 3);
}

void CliOutput::progress(const QString& stage, const QString& caption, int percent)
{
    if (stage != barStage) {
        endBar();
        barStage = stage;
        lastShown = -1;
    }
    if (json) {
        if (percent == lastShown)
            return;
        lastShown = percent;
        print({{QStringLiteral("event"), QStringLiteral("progress")},
               {QStringLiteral("stage"), stage},
               {QStringLiteral("percent"), percent}},
              QString());
        return;
    }
    if (terminal) {
        if (percent == lastShown)
            return;
        lastShown = percent;
        std::fprintf(out, "\r%s", bar(caption, percent).toLocal8Bit().constData());
        barOpen = true;
        if (percent >= 100)
            endBar();
        std::fflush(out);
        return;
    }
    // Piped: one line per tenth reached.
    const int tenth = qBound(0, percent, 100) / 10 * 10;
    if (tenth <= lastShown)
        return;
    lastShown = tenth;
    std::fprintf(out, "%s %d%%\n", caption.toLocal8Bit().constData(), tenth);
    std::fflush(out);
}

void CliOutput::problem(const QString& text, int exitCode)
{
    endBar();
    std::fprintf(err, "tavlo: %s\n", text.toLocal8Bit().constData());
    std::fflush(err);
    if (json)
        print({{QStringLiteral("event"), QStringLiteral("error")},
               {QStringLiteral("message"), text},
               {QStringLiteral("exit_code"), exitCode}},
              QString());
}

void CliOutput::note(const QString& text)
{
    endBar();
    std::fprintf(err, "%s\n", text.toLocal8Bit().constData());
    std::fflush(err);
}
