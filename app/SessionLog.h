#pragma once

#include <QCoreApplication>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <cstdio>

// The session log: every Qt message of one run (the parts' categories "tavlo.device",
// "tavlo.download", "tavlo.storage", "tavlo.wiring" and Qt's own), one timestamped line
// each, in a file of its own in the log folder, of which the last kKeptSessions are kept.
// Installed as the Qt message handler by each program's entry point; the messages also go
// where they went before (the previous handler) unless the program says otherwise; the
// parts' categories, which by themselves say only warnings, say everything once installed.
//
// The folder is the user's alone (0700) and so are the files (0600), which are not inherited
// by the programs this one starts; a log file named by the user is not opened through a
// symbolic link. No line holds the user name or password of an address (UrlCredentials).
// A folder or file that cannot be written leaves the program working without a log;
// problem() then says why, in one sentence, for the program to tell the user once.
// Lines are written with one call each to the C library's stream, which serialises them,
// so messages from the worker and MIDI threads need no lock of ours.
class SessionLog
{
    Q_DECLARE_TR_FUNCTIONS(SessionLog)

public:
    static constexpr int kKeptSessions = 10;

    // Where the messages go besides the log file.
    enum class Echo {
        Previous, // to the handler installed before (the windowed programs)
        None,     // nowhere else (the command line, which says what matters itself)
        All,      // every message to standard error (the command line's --verbose)
    };

    // The log folder all three programs share (AppFolders::logs: on Linux the state folder's
    // "tavlo/logs"); empty when the user has no home folder.
    static QString defaultFolder();

    // A new session file in the folder (made when missing); the oldest sessions beyond
    // keep are removed, so that the folder holds at most keep of them with this one.
    static SessionLog inFolder(const QString& folder, int keep = kKeptSessions);
    // This session into the file at path (appended; its folder is made when missing; a
    // symbolic link at path is refused).
    static SessionLog toFile(const QString& path);

    SessionLog(SessionLog&& other) noexcept;
    SessionLog& operator=(SessionLog&&) = delete;
    SessionLog(const SessionLog&) = delete;
    ~SessionLog();

    bool isOpen() const { return file != nullptr; }
    QString path() const { return filePath; }
    // Why there is no log, in a sentence; empty when it is open.
    QString problem() const { return why; }

    // Becomes the Qt message handler (until destroyed) with the given echo. The messages
    // held since holdMessages() come first, as if said now.
    void install(Echo echo);
    // Keeps every Qt message from now on until a session log is installed (which takes them
    // as its first lines): for what a program's start says before it knows where its log
    // goes (Qt's own warnings), which would otherwise reach standard error.
    static void holdMessages();

    // The session files of a folder, newest first.
    static QStringList sessionFiles(const QString& folder);
    // The name of a session file begun at this time by this process. Pure.
    static QString sessionFileName(const QDateTime& start, qint64 processId);
    // One line of the log, without its line end. Pure.
    static QString formatLine(const QDateTime& when, QtMsgType type, const char* category,
                              const QString& message);

private:
    SessionLog() = default;
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message);
    static void hold(QtMsgType type, const QMessageLogContext& context, const QString& message);
    void write(QtMsgType type, const char* category, const QString& message);

    std::FILE* file = nullptr;
    QString filePath;
    QString why;
    bool installed = false;
};
