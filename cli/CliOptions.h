#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// The command line of the "tavlo" program, read from its words. Pure: no files, no output.
//
//   tavlo [options] list | check | update [--version V | --file PATH] [--yes]
//         [--allow-downgrade] [--backup | --no-backup] | transfer [--done]
//         | backup [--to DIR] | restore [BACKUP] [--from DIR] [--yes] | history | doctor
//
// Options may stand before or after the command; "--name=value" and "--name value" are both
// read. "--version" names the version to install after "update" and asks for the program's
// own version everywhere else.
struct CliOptions
{
    Q_DECLARE_TR_FUNCTIONS(CliOptions)

public:
    enum class Command { None, List, Check, Update, Transfer, Backup, Restore, History, Doctor };
    // update: whether the backup before it was asked for (--backup), refused (--no-backup) or
    // left to the default (on where the instrument has the transfer mode).
    enum class BackupChoice { Default, On, Off };

    Command command = Command::None;
    bool help = false;
    bool showVersion = false;
    bool json = false;
    bool verbose = false;
    bool yes = false;
    bool allowDowngrade = false;
    bool done = false;
    BackupChoice backupFirst = BackupChoice::Default;
    QString version;       // update --version V
    QString file;          // update --file PATH
    QString releaseServer; // --release-server URL
    QString logFile;       // --log-file PATH
    QString port;          // --port NAME
    QString backupsTo;     // backup --to DIR
    QString backupsFrom;   // restore --from DIR
    QString backup;        // restore BACKUP: a backup folder's path or its name
    // Why the words do not make a command line, in a sentence; empty when they do.
    QString error;

    bool ok() const { return error.isEmpty(); }

    // arguments: the words after the program's name.
    static CliOptions parse(const QStringList& arguments);
    static QString commandName(Command command);
};
