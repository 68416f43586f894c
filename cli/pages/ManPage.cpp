#include "ManPage.h"

#include "CliHelpTable.h"

#include <QStringList>

namespace {

const QLatin1String kParts[] = {QLatin1String(".\\\" made: synopsis"), QLatin1String(".\\\" made: commands"),
                                QLatin1String(".\\\" made: options"), QLatin1String(".\\\" made: exit-status")};

QString bold(const QString& word)
{
    return QStringLiteral("\\fB") + ManPage::escaped(word) + QStringLiteral("\\fR");
}

QString italic(const QString& word)
{
    return QStringLiteral("\\fI") + ManPage::escaped(word) + QStringLiteral("\\fR");
}

} // namespace

QString ManPage::escaped(const QString& text)
{
    QStringList words = QString(text).replace(QLatin1Char('\\'), QStringLiteral("\\e")).split(QLatin1Char(' '));
    for (QString& word : words) {
        // An option name, also in brackets or quotes: each of its hyphens is a minus sign.
        int start = 0;
        while (start < word.size() && QStringLiteral("([\"'").contains(word.at(start)))
            ++start;
        if (word.mid(start).startsWith(QLatin1Char('-')))
            word = word.left(start) + word.mid(start).replace(QLatin1Char('-'), QStringLiteral("\\-"));
    }
    QString out = words.join(QLatin1Char(' '));
    if (out.startsWith(QLatin1Char('.')) || out.startsWith(QLatin1Char('\'')))
        out.prepend(QStringLiteral("\\&"));
    return out;
}

QString ManPage::fromTemplate(const QString& page, QString* missing)
{
    QStringList lines = page.split(QLatin1Char('\n'));
    for (const QLatin1String& part : kParts) {
        const int at = lines.indexOf(part);
        if (at < 0) {
            if (missing)
                *missing = part;
            return QString();
        }
        QString made;
        if (part == kParts[0])
            made = synopsis();
        else if (part == kParts[1])
            made = commands();
        else if (part == kParts[2])
            made = options();
        else
            made = exitStatus();
        if (made.endsWith(QLatin1Char('\n')))
            made.chop(1);
        lines[at] = made;
    }
    return lines.join(QLatin1Char('\n'));
}

// A command's arguments as the usage gives them: option names bold, value names italic.
QString ManPage::arguments(const QString& usage)
{
    QStringList out;
    for (const QString& word : usage.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        int start = 0;
        int end = word.size();
        while (start < end && word.at(start) == QLatin1Char('['))
            ++start;
        while (end > start && word.at(end - 1) == QLatin1Char(']'))
            --end;
        const QString core = word.mid(start, end - start);
        QString shown = core;
        if (core.startsWith(QLatin1Char('-')))
            shown = bold(core);
        else if (!core.isEmpty() && core != QLatin1String("|") && core == core.toUpper())
            shown = italic(core);
        out << word.left(start) + shown + word.mid(end);
    }
    return out.join(QLatin1Char(' '));
}

QString ManPage::optionHeading(const char* shortName, const char* longName, const char* valueName)
{
    QString heading = bold(QLatin1String(longName));
    if (*shortName)
        heading = bold(QLatin1String(shortName)) + QStringLiteral(", ") + heading;
    if (*valueName)
        heading += QLatin1Char(' ') + italic(QLatin1String(valueName));
    return heading;
}

QString ManPage::optionParagraph(const CliHelpTable::Option& option)
{
    return QStringLiteral(".TP\n") + optionHeading(option.shortName, option.longName, option.valueName)
        + QLatin1Char('\n') + escaped(QLatin1String(option.details)) + QLatin1Char('\n');
}

QString ManPage::synopsis()
{
    QString out;
    for (const CliHelpTable::Command& command : CliHelpTable::commands()) {
        if (!out.isEmpty())
            out += QStringLiteral(".br\n");
        out += QStringLiteral(".B tavlo\n[\\fIoptions\\fR] ") + bold(QLatin1String(command.name));
        if (*command.arguments)
            out += QLatin1Char(' ') + arguments(QLatin1String(command.arguments));
        out += QLatin1Char('\n');
    }
    out += QStringLiteral(".br\n.B tavlo\n\\fB\\-\\-help\\fR | \\fB\\-\\-version\\fR\n");
    return out;
}

QString ManPage::commands()
{
    QString out;
    for (const CliHelpTable::Command& command : CliHelpTable::commands()) {
        out += QStringLiteral(".SS ") + QLatin1String(command.name) + QLatin1Char('\n')
            + escaped(QLatin1String(command.details)) + QLatin1Char('\n');
        for (const CliHelpTable::Option& option : CliHelpTable::options()) {
            if (qstrcmp(option.command, command.name) != 0)
                continue;
            out += optionParagraph(option);
        }
    }
    return out;
}

QString ManPage::options()
{
    QString out;
    for (const CliHelpTable::Option& option : CliHelpTable::options()) {
        if (*option.command)
            continue;
        out += optionParagraph(option);
    }
    return out;
}

QString ManPage::exitStatus()
{
    QString out;
    for (const CliHelpTable::ExitCode& exit : CliHelpTable::exitCodes())
        out += QStringLiteral(".TP\n.B ") + QString::number(exit.code) + QLatin1Char('\n')
            + escaped(QLatin1String(exit.details)) + QLatin1Char('\n');
    return out;
}
