#pragma once

#include <QString>

// What the command line decides about versions and update files: the windows' own checks
// (ReleaseChoices, FirmwareVersion, LocalUpdateFile), in the command line's terms.
class CliUpdateChecks
{
public:
    enum class Relation { Newer, Same, Older, Unknown };

    // How the offered version stands to the installed one.
    static Relation relation(const QString& installed, const QString& offered);
    // Whether the instrument's firmware has the transfer mode (1.5.0 or later).
    static bool offersTransfer(const QString& installed);
    // Empty when the file can be handed to the instrument; else why not, in a sentence.
    static QString fileProblem(const QString& path);
};
