#include "FishCompletion.h"

#include "CliHelpTable.h"

#include <QStringList>

QString FishCompletion::quoted(const QString& text)
{
    QString out = text;
    out.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char('\''), QStringLiteral("\\'"));
    return QLatin1Char('\'') + out + QLatin1Char('\'');
}

QString FishCompletion::script()
{
    QStringList commands;
    QStringList ownOptions; // the long names some command gives a meaning of its own
    for (const CliHelpTable::Command& command : CliHelpTable::commands())
        commands << QLatin1String(command.name);
    for (const CliHelpTable::Option& option : CliHelpTable::options())
        if (*option.command)
            ownOptions << QLatin1String(option.command) + QLatin1Char(' ') + QLatin1String(option.longName);
    const QString anyCommand = commands.join(QLatin1Char(' '));

    QString s = QStringLiteral("# fish completion for tavlo(1); made from the program's option table at build time.\n"
                               "\n"
                               "complete -c tavlo -f\n");
    for (const CliHelpTable::Command& command : CliHelpTable::commands())
        s += QStringLiteral("complete -c tavlo -n 'not __fish_seen_subcommand_from %1' -a %2 -d %3\n")
                 .arg(anyCommand, QLatin1String(command.name), quoted(QLatin1String(command.summary)));
    for (const CliHelpTable::Option& option : CliHelpTable::options()) {
        QString condition;
        if (*option.command) {
            condition = QStringLiteral(" -n '__fish_seen_subcommand_from %1'").arg(QLatin1String(option.command));
        } else {
            // An option of every command that a command gives a meaning of its own is this
            // one everywhere but after that command.
            QStringList others;
            for (const QString& own : ownOptions)
                if (own.endsWith(QLatin1Char(' ') + QLatin1String(option.longName)))
                    others << own.section(QLatin1Char(' '), 0, 0);
            if (!others.isEmpty())
                condition = QStringLiteral(" -n 'not __fish_seen_subcommand_from %1'").arg(others.join(QLatin1Char(' ')));
        }
        QString names;
        if (*option.shortName)
            names += QStringLiteral(" -s ") + QLatin1String(option.shortName + 1);
        names += QStringLiteral(" -l ") + QLatin1String(option.longName + 2);
        QString value;
        if (option.value == CliHelpTable::Value::Path)
            value = QStringLiteral(" -r -F");
        else if (option.value == CliHelpTable::Value::Url)
            value = QStringLiteral(" -x -a https://");
        else if (option.value == CliHelpTable::Value::Text)
            value = QStringLiteral(" -x");
        s += QStringLiteral("complete -c tavlo%1%2%3 -d %4\n")
                 .arg(condition, names, value, quoted(QLatin1String(option.summary)));
    }
    return s;
}
