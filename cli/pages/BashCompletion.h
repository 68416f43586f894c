#pragma once

#include <QString>

// The bash completion of "tavlo" from CliHelpTable: the commands, the options of every
// command and of the command on the line, file names after the options that take a path.
class BashCompletion
{
public:
    static QString script();
};
