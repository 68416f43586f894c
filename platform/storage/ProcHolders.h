#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Which programs hold a volume, from what Linux's /proc tells of each process: its name
// ("comm") and the paths its working folder, program and open files point at. Pure: the
// reading of /proc is LinuxVolumeDismounter's; this is tested on canned rows and fuzzed.
class ProcHolders
{
public:
    struct Process
    {
        QByteArray comm;      // the content of /proc/<pid>/comm
        QList<QByteArray> paths; // the targets of its cwd, exe and fd/* links
    };

    // At most this many names are given; a sentence naming more would not be read.
    static constexpr int kMostNames = 5;

    // The names of the processes with a path on the volume mounted at root, each once, in
    // the order first met, at most kMostNames. A root of "/" or an empty one holds nothing
    // (every process would hold it).
    static QStringList holders(const QList<Process>& processes, const QString& root);
    // Whether a link target lies on the volume mounted at root: root itself or below it.
    // A target of a file deleted while open ends in " (deleted)"; that mark is not part of
    // the path. Anything that is not an absolute path ("socket:[123]", "pipe:[9]") is not.
    static bool isOnVolume(const QByteArray& target, const QString& root);
    // A program name fit for a sentence: the first line of a comm file, without control
    // characters and blanks at its ends; empty when nothing is left.
    static QString programName(const QByteArray& comm);
};
