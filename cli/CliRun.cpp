#include "CliRun.h"

#include "CliExitCode.h"
#include "CliOptions.h"
#include "CliOutput.h"
#include "CliSession.h"
#include "CliInstruments.h"
#include "InstrumentLock.h"
#include "OldFolders.h"
#include "SessionLog.h"
#include "UrlCredentials.h"

#include <QJsonObject>

#include <cstdio>

#ifdef Q_OS_WIN
#include <io.h>
#define TAVLO_ISATTY _isatty
#define TAVLO_FILENO _fileno
#else
#include <unistd.h>
#define TAVLO_ISATTY isatty
#define TAVLO_FILENO fileno
#endif

QString CliRun::helpText()
{
    return tr(
        "Usage: tavlo [options] <command>\n"
        "\n"
        "Commands:\n"
        "  list                    the instruments found: ports, USB identity, firmware, mode\n"
        "  check                   the installed firmware and the latest on offer\n"
        "  update [--file PATH] [--version V] [--yes] [--allow-downgrade]\n"
        "                          install the latest firmware, or the update file PATH\n"
        "  transfer [--done]       show the instrument's storage as a drive; --done ends it\n"
        "\n"
        "Options:\n"
        "  --json                  one JSON object per result or event on standard output\n"
        "  --release-server URL    read the releases from this server (a mirror)\n"
        "  --log-file PATH         write the session log to PATH\n"
        "  --port NAME             act on the instrument on this MIDI port\n"
        "  -y, --yes               install without asking\n"
        "  --allow-downgrade       allow installing an older firmware\n"
        "  -v, --verbose           show the session log on standard error as well\n"
        "  -h, --help              show this text\n"
        "  --version               show the program's version\n"
        "\n"
        "Exit codes:\n"
        "  0    done (check: the instrument is up to date)\n"
        "  1    another failure (the instrument did not answer)\n"
        "  2    the command line is wrong\n"
        "  3    no instrument, or several without --port\n"
        "  4    the release server could not be read, or the download failed\n"
        "  5    the update file failed its check\n"
        "  6    the instrument's volume could not be found or written\n"
        "  7    refused: the answer was no, or a downgrade without --allow-downgrade\n"
        "  8    done, but the --log-file could not be written\n"
        "  9    update: the instrument came back with another firmware (not applied)\n"
        "  10   update: the instrument did not come back to confirm the update\n"
        "  11   another program is using the instrument (the window, another tavlo)\n"
        "  100  check: an update is available\n"
        "  130  stopped by Ctrl-C\n");
}

QStringList CliRun::portsToListOneByOne(const CliOptions& options, const Platform& platform)
{
    if (options.command != CliOptions::Command::List || !options.port.isEmpty())
        return {};
    const CliInstruments instruments(platform, QString());
    if (instruments.all().size() < 2)
        return {};
    QStringList ports;
    for (const InstrumentScan::Instrument& instrument : instruments.all())
        ports << instrument.input;
    return ports;
}

int CliRun::run(const QStringList& arguments, const Platform& platform, const QUrl& defaultServer,
                const Timings& timings, const std::atomic<bool>& interrupted)
{
    const CliOptions options = CliOptions::parse(arguments);
    const bool terminal = TAVLO_ISATTY(TAVLO_FILENO(stdout)) != 0;
    CliOutput out(options.json, terminal);
    if (!options.ok()) {
        out.problem(options.error + QLatin1Char(' ') + tr("See \"tavlo --help\"."), CliExitCode::kUsage);
        return CliExitCode::kUsage;
    }
    if (options.help) {
        out.text(helpText());
        return CliExitCode::kDone;
    }
    if (options.showVersion) {
        const QString version = QCoreApplication::applicationVersion();
        out.print({{QStringLiteral("event"), QStringLiteral("version")},
                   {QStringLiteral("version"), version}},
                  QStringLiteral("tavlo %1").arg(version));
        return CliExitCode::kDone;
    }

    SessionLog log = options.logFile.isEmpty() ? SessionLog::inFolder(SessionLog::defaultFolder())
                                               : SessionLog::toFile(options.logFile);
    log.install(options.verbose ? SessionLog::Echo::All : SessionLog::Echo::None);
    if (!log.isOpen())
        out.note(QStringLiteral("tavlo: ") + log.problem());
    // The words as given, each without a user name or password of an address in it.
    QStringList words;
    for (const QString& word : arguments)
        words << UrlCredentials::removedFrom(word);
    qInfo("tavlo %s, Qt %s, %s", qPrintable(QCoreApplication::applicationVersion()), qVersion(),
          qPrintable(words.join(QLatin1Char(' '))));

    // One program drives the instrument at a time: the window, or one "tavlo" command.
    InstrumentLock lock(platform.lockFolder);
    if (!lock.acquire(InstrumentLock::Kind::CommandLine, CliOptions::commandName(options.command))) {
        out.problem(InstrumentLock::inUseSentence(lock.holder()), CliExitCode::kInUse);
        return CliExitCode::kInUse;
    }
    if (!lock.problem().isEmpty())
        qWarning("The instrument is not locked against other programs: %s",
                 qPrintable(lock.problem()));
    OldFolders::tidy(platform.appFolders);

    const QUrl server = options.releaseServer.isEmpty() ? defaultServer : QUrl(options.releaseServer);
    int code = CliExitCode::kDone;
    const QStringList ports = portsToListOneByOne(options, platform);
    if (ports.isEmpty()) {
        CliSession session(options, platform, server, timings, out, interrupted);
        code = session.run();
    }
    // Several instruments are listed one after the other, each asked for its firmware on its
    // own ports; the first problem is the exit code.
    for (const QString& port : ports) {
        CliOptions one = options;
        one.port = port;
        CliSession session(one, platform, server, timings, out, interrupted);
        const int result = session.run();
        if (code == CliExitCode::kDone)
            code = result;
        if (interrupted)
            break;
    }
    if (code == CliExitCode::kDone && !log.isOpen() && !options.logFile.isEmpty())
        return CliExitCode::kLogNotWritten;
    return code;
}
