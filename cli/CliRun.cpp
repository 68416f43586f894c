#include "CliRun.h"

#include "CliDoctor.h"
#include "CliExitCode.h"
#include "CliHistory.h"
#include "CliHelpText.h"
#include "CliOptions.h"
#include "CliOutput.h"
#include "CliSession.h"
#include "CliInstruments.h"
#include "HistoryLog.h"
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
    return CliHelpText::text();
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

    // The history needs no instrument, so it takes no lock.
    if (options.command == CliOptions::Command::History)
        return CliHistory::print(HistoryLog::inFolder(platform.appFolders.state), out,
                                 options.json);

    // The computer check takes the lock itself, and runs without it while another holds it.
    if (options.command == CliOptions::Command::Doctor) {
        const QUrl server = options.releaseServer.isEmpty() ? defaultServer : QUrl(options.releaseServer);
        const int code = CliDoctor::run(options, platform, server, timings, out, interrupted);
        if (code == CliExitCode::kDone && !log.isOpen() && !options.logFile.isEmpty())
            return CliExitCode::kLogNotWritten;
        return code;
    }

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
