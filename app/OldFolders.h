#pragma once

#include <QString>
#include <QStringList>

struct AppFolders;

// Tidies up the folders the earlier releases made: they were named after the program and its
// version ("<data>/Tavlo-Instruments/Tavlo Updater v1.3.1/logs",
// "<cache>/Tavlo-Instruments/Tavlo Updater v1.3.1/updates"), so every release left its
// predecessor's behind. Their session logs are moved into today's log folder (a name taken
// there gets a new one, nothing is overwritten), their downloads and Qt's caches are removed,
// and the folders left empty are removed.
//
// It acts only on "Tavlo Updater" and "Tavlo Updater v..." folders inside the two old roots
// (AppFolders::oldDataRoot and oldCacheRoot); anything else there is left as it is. A
// symbolic link (or junction) found there is removed as a link, never followed; an old root
// that is itself a link is left alone. Nothing it meets stops the program: each failure is
// logged (category "tavlo.wiring") and returned, and the next start tries again.
class OldFolders
{
public:
    struct Result
    {
        int logsMoved = 0;    // session logs now in the log folder
        int entriesRemoved = 0; // files, links and folders removed
        QStringList problems; // what could not be done, one line each
        bool didNothing() const { return logsMoved == 0 && entriesRemoved == 0 && problems.isEmpty(); }
    };

    static Result tidy(const AppFolders& folders);

    // Whether a folder of an old root is one an earlier release of these programs made. Pure.
    static bool isOldProgramFolder(const QString& name);
    // The name a moved session log takes in a folder where its own is taken: "-moved-<n>"
    // before the ".log". Pure.
    static QString movedName(const QString& name, int n);
};
