#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <atomic>

struct CliOptions;
struct Platform;
struct Timings;

// The "tavlo" program from its words to its exit code: reads the command line, answers
// --help and --version, opens the session log, and carries out the command against the
// platform it is given (the real one from main, the simulated one in the tests).
class CliRun
{
    Q_DECLARE_TR_FUNCTIONS(CliRun)

public:
    // arguments: the words after the program's name. interrupted turns true on Ctrl-C.
    static int run(const QStringList& arguments, const Platform& platform, const QUrl& defaultServer,
                   const Timings& timings, const std::atomic<bool>& interrupted);

    static QString helpText();
    // The input ports of the instruments "tavlo list" asks one after the other: every one
    // found when the command is list, no --port is given and there are several; else none.
    static QStringList portsToListOneByOne(const CliOptions& options, const Platform& platform);
};
