#include "CliOutput.h"

#include "TerminalText.h"

#include <QJsonDocument>

CliOutput::CliOutput(bool json, bool terminal, std::FILE* out, std::FILE* err)
    : json(json), terminal(terminal), out(out), err(err)
{
}

void CliOutput::put(std::FILE* stream, const char* lead, const QString& text, const char* end,
                    Form form)
{
    // The one place where text leaves: whatever it carries is made plain first (a JSON line
    // keeps its value, with escapes); the line ends and the bar's return to the line start
    // are the program's own.
    const QByteArray shown = form == Form::Json ? TerminalText::escapedJson(text).toUtf8()
                                                : TerminalText::plain(text).toLocal8Bit();
    std::fprintf(stream, "%s%s%s", lead, shown.constData(), end);
    std::fflush(stream);
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
        put(out, "", QString::fromUtf8(QJsonDocument(fields).toJson(QJsonDocument::Compact)), "\n",
            Form::Json);
    else if (!text.isEmpty())
        put(out, "", text, "\n");
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

void CliOutput::progress(const QString& stage, const QString& caption, int percent,
                         const QJsonObject& jsonFields)
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
        if (!jsonFields.isEmpty()) {
            print(jsonFields, QString());
            return;
        }
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
        put(out, "\r", bar(caption, percent), "");
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
    put(out, "", caption + QStringLiteral(" %1%").arg(tenth), "\n");
}

void CliOutput::problem(const QString& text, int exitCode)
{
    endBar();
    put(err, "tavlo: ", text, "\n");
    if (json)
        print({{QStringLiteral("event"), QStringLiteral("error")},
               {QStringLiteral("message"), text},
               {QStringLiteral("exit_code"), exitCode}},
              QString());
}

void CliOutput::note(const QString& text)
{
    endBar();
    put(err, "", text, "\n");
}

void CliOutput::ask(const QString& question)
{
    endBar();
    put(err, "", question, "");
}

void CliOutput::text(const QString& text)
{
    put(out, "", text, "");
}
