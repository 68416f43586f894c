#pragma once

#include <QCoreApplication>
#include <QUrl>

#include <atomic>

class CliOutput;
struct CliOptions;
struct Platform;
struct Timings;

// "tavlo doctor": the computer check the window's "Check this computer" runs (ComputerCheck),
// printed one line per check, or with --json one "check_result" event per check. The
// instrument is asked through the full edition's link, as "tavlo list" asks it; while
// another program holds the instrument it is not asked, and the other checks run all the same.
class CliDoctor
{
    Q_DECLARE_TR_FUNCTIONS(CliDoctor)

public:
    // The exit code: done when every check is OK or a note, kCheckFound when one found a
    // problem, kInterrupted on Ctrl-C.
    static int run(const CliOptions& options, const Platform& platform, const QUrl& server,
                   const Timings& timings, CliOutput& out, const std::atomic<bool>& interrupted);
};
