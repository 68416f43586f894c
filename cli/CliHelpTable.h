#pragma once

#include <vector>

// The one table of the "tavlo" command line: its commands, options and exit codes, each with
// the line "tavlo --help" shows and the paragraph the manual page gives it. The help text,
// the manual page and the shell completions are all made from it, so that none of them can
// leave out what another names. The short texts are translated where they are shown
// (context "CliHelpTable"); the manual page is English.
class CliHelpTable
{
public:
    // What an option's value is, for the completions.
    enum class Value { None, Path, Url, Text };

    struct Command
    {
        const char* name;
        const char* arguments; // after the name in the usage, empty when it takes none
        const char* summary;   // the help line
        const char* details;   // the manual page's paragraph
    };

    struct Option
    {
        const char* shortName; // "-y", or empty
        const char* longName;  // "--yes"
        const char* valueName; // "PATH", or empty when the option takes no value
        Value value;
        const char* command;   // the command it belongs to; empty: every command
        const char* summary;
        const char* details;
    };

    struct ExitCode
    {
        int code;
        const char* summary;
        const char* details;
    };

    static const std::vector<Command>& commands();
    // The options in the order the help shows them: the commands' own first, each command's
    // in the order of commands(), then the ones of every command.
    static const std::vector<Option>& options();
    static const std::vector<ExitCode>& exitCodes();
};
