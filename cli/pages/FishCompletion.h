#pragma once

#include <QString>

// The fish completion of "tavlo" from CliHelpTable: the commands before one is given, the
// options of every command and of the command on the line, file names after the options that
// take a path.
class FishCompletion
{
public:
    static QString script();
    // Text as one fish word in single quotes.
    static QString quoted(const QString& text);
};
