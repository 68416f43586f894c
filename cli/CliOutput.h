#pragma once

#include <QJsonObject>
#include <QString>

#include <cstdio>

// What the "tavlo" program prints: results and events on standard output, as a line of text
// or, with --json, as one JSON object per line; problems on standard error (and, with
// --json, also as an "error" object on standard output). Progress is a bar redrawn in place
// on a terminal and a plain line every ten percent when the output goes elsewhere. Every
// text leaves through put(), which replaces the control characters it carries
// (TerminalText), so that outside data never reaches the terminal raw.
class CliOutput
{
public:
    CliOutput(bool json, bool terminal, std::FILE* out = stdout, std::FILE* err = stderr);

    // fields must hold "event"; text is the line shown without --json (nothing when empty).
    void print(const QJsonObject& fields, const QString& text);
    // An event with no fields but its name.
    void event(const QString& name, const QString& text) { print({{QStringLiteral("event"), name}}, text); }
    // With --json: the "progress" event with the stage and percent, or the fields given.
    void progress(const QString& stage, const QString& caption, int percent,
                  const QJsonObject& jsonFields = QJsonObject());
    void problem(const QString& text, int exitCode);
    // A note for the user on standard error only (never part of the results).
    void note(const QString& text);
    // A question on standard error, the answer to be typed on the same line.
    void ask(const QString& question);
    // Text of the program's own on standard output as it is (the help), line ends included.
    void text(const QString& text);

    // The bar as a terminal shows it, without the carriage return. Pure.
    static QString bar(const QString& caption, int percent, int width = 30);

private:
    void endBar();
    enum class Form { Text, Json };
    void put(std::FILE* stream, const char* lead, const QString& text, const char* end,
             Form form = Form::Text);

    bool json;
    bool terminal;
    std::FILE* out;
    std::FILE* err;
    QString barStage;
    int lastShown = -1;
    bool barOpen = false;
};
