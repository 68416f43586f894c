#pragma once

#include "CliHelpTable.h"

#include <QString>

// The manual page tavlo(1) in roff: the hand-written parts come from a template, the
// synopsis, the commands with their options, the options of every command and the exit codes
// from CliHelpTable. The template marks the place of each made part with a comment line of
// its own: .\" made: synopsis, commands, options, exit-status.
class ManPage
{
public:
    // The page, or an empty string when the template lacks one of the parts (missing names
    // the part).
    static QString fromTemplate(const QString& page, QString* missing);
    // Text as roff: backslashes escaped, the hyphens of option names as minus signs, a line
    // that would begin with a control character made plain.
    static QString escaped(const QString& text);

private:
    static QString synopsis();
    static QString commands();
    static QString options();
    static QString exitStatus();
    static QString arguments(const QString& usage);
    static QString optionHeading(const char* shortName, const char* longName, const char* valueName);
    static QString optionParagraph(const CliHelpTable::Option& option);
};
