#pragma once

#include <QCoreApplication>
#include <QString>

// "tavlo --help": the usage, the commands, each command's options, the options of every
// command and the exit codes, all from CliHelpTable, in the user's language.
class CliHelpText
{
    Q_DECLARE_TR_FUNCTIONS(CliHelpText)

public:
    static QString text();
    // How an option is named in the help's left column: "-y, --yes", "--file PATH".
    static QString optionName(const char* shortName, const char* longName, const char* valueName);
};
