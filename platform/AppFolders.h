#pragma once

#include <QHash>
#include <QString>

// Where the programs keep their files for the user: the session logs, the downloaded update
// files, Qt's compiled-document cache and the configuration. The names are fixed ("tavlo" on
// Linux, "Tavlo" on Windows and macOS): no version, no blank and no application name from
// QCoreApplication, so that neither a release nor a renamed program moves them. All three
// programs share them: the download folder so that "tavlo" finishes what a window
// downloaded, the log folder so that the support file holds every program's last runs.
//
// Also names where the earlier releases kept theirs (OldFolders tidies them up).
// compute() is pure: the system, the home folder and the environment are handed in.
struct AppFolders
{
    enum class System { Linux, Windows, MacOs };

    QString logs;      // the session logs
    QString downloads; // the update files
    QString cache;     // the cache folder the downloads are in (Qt's document cache below it)
    QString config;    // the configuration, when there ever is one (nothing is kept there yet)
    QString state;     // what the program keeps between runs (the history of what it did)
    // The instrument's backups: a folder among the user's documents ("Tavlo Backups"), for
    // the user to see and copy.
    QString backups;
    // The folders the earlier releases' folders were made in (QStandardPaths' app-data and
    // cache locations under the organisation name "Tavlo-Instruments"); the same on Windows.
    QString oldDataRoot;
    QString oldCacheRoot;

    bool isEmpty() const { return logs.isEmpty(); }

    // The folders for this system, home folder (absolute; empty: no folders at all) and
    // environment (XDG_STATE_HOME, XDG_CACHE_HOME, XDG_CONFIG_HOME, XDG_DATA_HOME on Linux,
    // LOCALAPPDATA and APPDATA on Windows; XDG_DOCUMENTS_DIR on every system names the user's
    // documents folder, which forThisSystem() takes from the system's own setting). A relative
    // or empty value is ignored, as the XDG base directory rules ask.
    static AppFolders compute(System system, const QString& home,
                              const QHash<QString, QString>& environment);
    // The same for the running program, from its own environment.
    static AppFolders forThisSystem();
};
