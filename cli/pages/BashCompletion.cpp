#include "BashCompletion.h"

#include "CliHelpTable.h"

#include <QStringList>

namespace {

QStringList names(const CliHelpTable::Option& option)
{
    QStringList out;
    if (*option.shortName)
        out << QLatin1String(option.shortName);
    out << QLatin1String(option.longName);
    return out;
}

// The options of one command ("" for those of every command), all their names.
QString optionWords(const char* command)
{
    QStringList words;
    for (const CliHelpTable::Option& option : CliHelpTable::options())
        if (qstrcmp(option.command, command) == 0)
            words << names(option);
    words.removeDuplicates();
    return words.join(QLatin1Char(' '));
}

} // namespace

QString BashCompletion::script()
{
    QStringList commands;
    QString commandOptions;
    QString commandValues;
    for (const CliHelpTable::Command& command : CliHelpTable::commands()) {
        commands << QLatin1String(command.name);
        const QString words = optionWords(command.name);
        if (!words.isEmpty()) {
            // The command's own and those of every command, each name once (update's
            // --version is the version to install, not the program's).
            QStringList all = words.split(QLatin1Char(' ')) + optionWords("").split(QLatin1Char(' '));
            all.removeDuplicates();
            commandOptions += QStringLiteral("        %1) options=\"%2\" ;;\n")
                                  .arg(QLatin1String(command.name), all.join(QLatin1Char(' ')));
        }
        QStringList valued;
        for (const CliHelpTable::Option& option : CliHelpTable::options())
            if (qstrcmp(option.command, command.name) == 0 && option.value != CliHelpTable::Value::None)
                valued << names(option);
        if (!valued.isEmpty())
            commandValues += QStringLiteral("        %1) [[ \" %2 \" == *\" $1 \"* ]] && return 0 ;;\n")
                                 .arg(QLatin1String(command.name), valued.join(QLatin1Char(' ')));
    }
    QStringList valued;
    for (const CliHelpTable::Option& option : CliHelpTable::options())
        if (*option.command == 0 && option.value != CliHelpTable::Value::None)
            valued << names(option);

    QStringList paths;
    QStringList urls;
    for (const CliHelpTable::Option& option : CliHelpTable::options()) {
        if (option.value == CliHelpTable::Value::Path)
            paths << names(option);
        else if (option.value == CliHelpTable::Value::Url)
            urls << names(option);
    }
    paths.removeDuplicates();
    urls.removeDuplicates();

    QString s;
    s += QStringLiteral(
        "# bash completion for tavlo(1); made from the program's option table at build time.\n"
        "\n"
        "# Whether option $1 takes a value when command $2 (maybe empty) is on the line.\n"
        "_tavlo_takes_value()\n"
        "{\n"
        "    [[ \" %1 \" == *\" $1 \"* ]] && return 0\n"
        "    case \"$2\" in\n"
        "%2"
        "    esac\n"
        "    return 1\n"
        "}\n"
        "\n")
             .arg(valued.join(QLatin1Char(' ')), commandValues);
    s += QStringLiteral(
        "_tavlo()\n"
        "{\n"
        "    local cur=\"${COMP_WORDS[COMP_CWORD]}\" prev=\"\" command=\"\" word i\n"
        "    (( COMP_CWORD > 0 )) && prev=\"${COMP_WORDS[COMP_CWORD-1]}\"\n"
        "    # \"--name=value\": bash splits the \"=\" off as a word of its own.\n"
        "    if [[ $cur == \"=\" ]]; then\n"
        "        cur=\"\"\n"
        "    elif [[ $prev == \"=\" ]] && (( COMP_CWORD > 1 )); then\n"
        "        prev=\"${COMP_WORDS[COMP_CWORD-2]}\"\n"
        "    fi\n"
        "\n"
        "    # The command on the line: the first word that is neither an option nor a value.\n"
        "    for (( i = 1; i < COMP_CWORD; i++ )); do\n"
        "        word=\"${COMP_WORDS[i]}\"\n"
        "        if [[ $word == -* ]]; then\n"
        "            if [[ ${COMP_WORDS[i+1]} == \"=\" ]]; then\n"
        "                (( i += 2 ))\n"
        "            elif _tavlo_takes_value \"$word\" \"$command\" && [[ ${COMP_WORDS[i+1]} != --* ]]; then\n"
        "                (( i++ ))\n"
        "            fi\n"
        "        elif [[ -z $command ]]; then\n"
        "            command=\"$word\"\n"
        "        fi\n"
        "    done\n"
        "\n"
        "    if [[ $prev == -* ]] && _tavlo_takes_value \"$prev\" \"$command\"; then\n"
        "        case \"$prev\" in\n");
    if (!paths.isEmpty())
        s += QStringLiteral("            %1)\n"
                            "                compopt -o filenames 2>/dev/null\n"
                            "                mapfile -t COMPREPLY < <(compgen -f -- \"$cur\") ;;\n")
                 .arg(paths.join(QLatin1Char('|')));
    if (!urls.isEmpty())
        s += QStringLiteral("            %1)\n"
                            "                compopt -o nospace 2>/dev/null\n"
                            "                mapfile -t COMPREPLY < <(compgen -W \"https://\" -- \"$cur\") ;;\n")
                 .arg(urls.join(QLatin1Char('|')));
    s += QStringLiteral(
        "            *) COMPREPLY=() ;;\n"
        "        esac\n"
        "        return 0\n"
        "    fi\n"
        "\n"
        "    if [[ $cur == -* ]]; then\n"
        "        local options=\"%1\"\n"
        "        case \"$command\" in\n"
        "%2"
        "        esac\n"
        "        mapfile -t COMPREPLY < <(compgen -W \"$options\" -- \"$cur\")\n"
        "    elif [[ -z $command ]]; then\n"
        "        mapfile -t COMPREPLY < <(compgen -W \"%3\" -- \"$cur\")\n"
        "    else\n"
        "        COMPREPLY=()\n"
        "    fi\n"
        "    return 0\n"
        "}\n"
        "\n"
        "complete -F _tavlo tavlo\n")
             .arg(optionWords(""), commandOptions, commands.join(QLatin1Char(' ')));
    return s;
}
