#include "ZshCompletion.h"

#include "CliHelpTable.h"

#include <QStringList>

namespace {

// One option as _arguments specs, each in single quotes.
QStringList specs(const CliHelpTable::Option& option)
{
    const QString summary = ZshCompletion::quoted(QLatin1String(option.summary));
    QString action;
    switch (option.value) {
    case CliHelpTable::Value::None:
        break;
    case CliHelpTable::Value::Path:
        action = QStringLiteral(":%1:_files").arg(QLatin1String(option.valueName));
        break;
    case CliHelpTable::Value::Url:
        action = QStringLiteral(":%1:_urls").arg(QLatin1String(option.valueName));
        break;
    case CliHelpTable::Value::Text:
        action = QStringLiteral(":%1: ").arg(QLatin1String(option.valueName));
        break;
    }
    // Help and the program's version end the command line; a short and a long name of one
    // option exclude each other.
    QString exclusion;
    if (*option.command == 0
        && (qstrcmp(option.longName, "--help") == 0 || qstrcmp(option.longName, "--version") == 0))
        exclusion = QStringLiteral("(- *)");
    else if (*option.shortName)
        exclusion = QStringLiteral("(%1 %2)").arg(QLatin1String(option.shortName), QLatin1String(option.longName));
    // "--name=": the value as the next word or after "=" in the same one.
    const QString equals = action.isEmpty() ? QString() : QStringLiteral("=");
    QStringList out;
    if (*option.shortName)
        out << QStringLiteral("'%1%2%3[%4]%5'").arg(exclusion, QLatin1String(option.shortName), equals, summary, action);
    out << QStringLiteral("'%1%2%3[%4]%5'").arg(exclusion, QLatin1String(option.longName), equals, summary, action);
    return out;
}

// The specs of one command's options and of those of every command it does not name itself.
QStringList optionSpecs(const char* command)
{
    QStringList own;
    QStringList ownNames;
    for (const CliHelpTable::Option& option : CliHelpTable::options())
        if (*command && qstrcmp(option.command, command) == 0) {
            own << specs(option);
            ownNames << QLatin1String(option.longName);
        }
    for (const CliHelpTable::Option& option : CliHelpTable::options())
        if (*option.command == 0 && !ownNames.contains(QLatin1String(option.longName)))
            own << specs(option);
    return own;
}

QString lines(const QStringList& specs, const QString& indent)
{
    return indent + specs.join(QStringLiteral(" \\\n") + indent);
}

} // namespace

QString ZshCompletion::quoted(const QString& text)
{
    QString out;
    for (const QChar c : text) {
        if (c == QLatin1Char('\''))
            out += QStringLiteral("'\\''");
        else if (c == QLatin1Char('[') || c == QLatin1Char(']') || c == QLatin1Char(':') || c == QLatin1Char('\\'))
            out += QLatin1Char('\\') + c;
        else
            out += c;
    }
    return out;
}

QString ZshCompletion::script()
{
    QString commands;
    QString perCommand;
    for (const CliHelpTable::Command& command : CliHelpTable::commands()) {
        commands += QStringLiteral("            '%1:%2'\n")
                        .arg(QLatin1String(command.name), quoted(QLatin1String(command.summary)));
        perCommand += QStringLiteral("        (%1)\n            _arguments -s \\\n%2 && ret=0\n            ;;\n")
                          .arg(QLatin1String(command.name), lines(optionSpecs(command.name), QStringLiteral("                ")));
    }
    return QStringLiteral(
               "#compdef tavlo\n"
               "# zsh completion for tavlo(1); made from the program's option table at build time.\n"
               "\n"
               "_tavlo() {\n"
               "    local curcontext=\"$curcontext\" state state_descr line ret=1\n"
               "    typeset -A opt_args\n"
               "\n"
               "    _arguments -C -s \\\n"
               "%1 \\\n"
               "        '1:command:->command' \\\n"
               "        '*::argument:->argument' && ret=0\n"
               "\n"
               "    case $state in\n"
               "    (command)\n"
               "        local -a commands\n"
               "        commands=(\n"
               "%2"
               "        )\n"
               "        _describe -t commands 'tavlo command' commands && ret=0\n"
               "        ;;\n"
               "    (argument)\n"
               "        case $words[1] in\n"
               "%3"
               "        esac\n"
               "        ;;\n"
               "    esac\n"
               "    return ret\n"
               "}\n"
               "\n"
               "_tavlo \"$@\"\n")
        .arg(lines(optionSpecs(""), QStringLiteral("        ")), commands, perCommand);
}
