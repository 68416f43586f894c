#pragma once

#include <QString>

// The zsh completion of "tavlo" (the function _tavlo) from CliHelpTable: the commands with
// their summaries, the options of every command and of the command on the line, with file
// names after the options that take a path.
class ZshCompletion
{
public:
    static QString script();
    // Text for inside the single quotes of an _arguments or _describe entry.
    static QString quoted(const QString& text);
};
