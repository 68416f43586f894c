// The command-line program against the simulated instrument and a local release server, in
// one process, for the command-line tests. Each argument list (lists separated by "+++") is
// one run of the program, one after another against the same instrument.
//
// Set by the environment:
//   TAVLO_SIM_RELEASES  folder served as the release server's /releases/ (no server without)
//   TAVLO_SIM_SLOW      "1": the update file comes slowly, in pieces
//   TAVLO_SIM_FIRMWARE  the instrument's firmware (default 1.5.2)
//   TAVLO_SIM_NEXT      the version it reports after an update (default 1.6.0)
//   TAVLO_SIM_INSTRUMENTS  0, 1 (default) or 2 instruments on the bus
//   TAVLO_SIM_STATE     file the instrument's state is written to at the end
//   TAVLO_SIM_UPDATE_MODE_FAILS  "1": every send of the update-mode message fails
//   TAVLO_SIM_HISTORY_FOLDER  the state folder the history is kept in (none without)
//   TAVLO_SIM_HELD_BY   "window" or "tavlo": that program holds the instrument's lock for
//                       the runs; "crashed": a program that ended without letting go left it
//   TAVLO_SIM_BACKUPS   the backups folder the program is given (none without)
//   TAVLO_SIM_DOWNLOADS the download folder the program is given (this system's without)
//   TAVLO_SIM_NO_MIDI   "1": this computer has no MIDI system (every MIDI object is refused)
//   TAVLO_SIM_CERTIFICATE  "not-yet-valid": the server presents a certificate valid from 2040
//
// Between the runs the instrument's storage lasts, as a card does. A run that is the word
// "@change" runs no program: it changes the first file of the instrument's storage (as a user
// would on the instrument). A word "@newest:DIR" stands for the newest folder in DIR when its
// run begins (a backup made by an earlier run). The state file says whether the runs set
// the instrument on a way of its own (woken) and the storage's fingerprint (a hash of its
// names and contents).
#include "AppIdentity.h"
#include "SimTransferContent.h"
#include "CliRun.h"
#include "InstrumentLock.h"
#include "MidiBackend.h"
#include "MidiInput.h"
#include "MidiOutput.h"
#include "ReleaseServer.h"
#include "SimInstrument.h"
#include "SysExMessages.h"
#include "TestTimings.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include <QDeadlineTimer>
#include <QElapsedTimer>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <memory>

#include <sys/wait.h>
#include <unistd.h>

namespace {
std::atomic<bool> g_interrupted{false};
extern "C" void onInterrupt(int)
{
    g_interrupted.store(true);
}

void settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

QString env(const char* name, const QString& fallback = QString())
{
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? fallback : value;
}

// A computer without a MIDI system: no object is made, and the backend says why.
class MissingMidi : public MidiBackend
{
public:
    std::unique_ptr<MidiInput> createInput() override { return nullptr; }
    std::unique_ptr<MidiOutput> createOutput() override { return nullptr; }
    MidiProblem lastProblem() const override
    {
        return {MidiProblem::Kind::ServiceMissing, "/dev/snd/seq: No such file or directory"};
    }
};

// "@change": the first file of the storage gets other bytes; false when there is none.
bool changeFirstFile(const QString& storage)
{
    for (const QString& line : SimTransferContent::manifest(storage)) {
        const QString path = line.section(QLatin1Char('\t'), 0, 0);
        if (path.endsWith(QLatin1Char('/')))
            continue;
        QFile file(QDir(storage).filePath(path));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        std::fprintf(stderr, "harness: changed %s\n", qPrintable(path));
        return file.write("changed on the instrument") > 0;
    }
    return false;
}

// "@newest:DIR": the newest folder in DIR (the backups' names begin with their date).
QString newestIn(const QString& folder)
{
    const QStringList names = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    return names.isEmpty() ? folder + QStringLiteral("/none") : QDir(folder).filePath(names.last());
}
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    // The names and version of the program it stands in for.
    const AppIdentity identity = AppIdentity::fullEdition();
    QCoreApplication::setApplicationName(identity.applicationName);
    QCoreApplication::setOrganizationName(identity.organizationName);
    QCoreApplication::setApplicationVersion(identity.applicationVersion);
    std::signal(SIGINT, onInterrupt);

    ReleaseServer server;
    const QString releases = env("TAVLO_SIM_RELEASES");
    if (!releases.isEmpty()) {
        server.serveFolder(releases);
        if (env("TAVLO_SIM_SLOW") == QLatin1String("1")) {
            const QStringList files = QDir(releases).entryList({QStringLiteral("*.tvq")}, QDir::Files);
            for (const QString& name : files) {
                ReleaseServer::Response slow;
                slow.bodyFile = QDir(releases).filePath(name);
                slow.pieces = QList<qint64>(64, 16 * 1024);
                slow.pieceDelayMs = 100;
                server.setResponse("GET", QStringLiteral("/releases/") + name, slow);
            }
        }
        if (!server.start()) {
            std::fprintf(stderr, "harness: %s\n", qPrintable(server.errorText()));
            return 99;
        }
        ReleaseServer::trustInThisProcess();
        if (env("TAVLO_SIM_CERTIFICATE") == QLatin1String("not-yet-valid")
            && !server.presentNotYetValidCertificate()) {
            std::fprintf(stderr, "harness: no certificate that is not yet valid\n");
            return 99;
        }
    }

    SimInstrument instrument;
    instrument.setTimings(TestTimings::fastInstrument());
    instrument.setFirmwareVersion(env("TAVLO_SIM_FIRMWARE", QStringLiteral("1.5.2")));
    instrument.setVersionAfterUpdate(env("TAVLO_SIM_NEXT", QStringLiteral("1.6.0")));
    if (env("TAVLO_SIM_UPDATE_MODE_FAILS") == QLatin1String("1")) {
        const auto& message = SysEx::MIDI_SYSEX_UPDATE_MODE;
        instrument.bus().failSendsOf(QByteArray(reinterpret_cast<const char*>(message.data()),
                                                qsizetype(message.size())));
    }
    const int count = env("TAVLO_SIM_INSTRUMENTS", QStringLiteral("1")).toInt();
    if (count > 0)
        instrument.plugIn();
    if (count > 1) {
        UsbIds ids;
        ids.found = true;
        ids.vendorId = QStringLiteral("1D6B");
        ids.productId = QStringLiteral("0104");
        instrument.bus().attachDevice(QStringLiteral("Tavlo Two"), ids, true, true);
    }
    settle(50);

    // Another program that holds the instrument, or held it and ended without letting go.
    std::unique_ptr<InstrumentLock> heldBy;
    const QString holder = env("TAVLO_SIM_HELD_BY");
    if (holder == QLatin1String("window") || holder == QLatin1String("tavlo")) {
        heldBy = std::make_unique<InstrumentLock>(instrument.platform().lockFolder);
        heldBy->acquire(holder == QLatin1String("window") ? InstrumentLock::Kind::Window
                                                          : InstrumentLock::Kind::CommandLine,
                        QStringLiteral("update"));
    } else if (holder == QLatin1String("crashed")) {
        const QString folder = instrument.platform().lockFolder;
        const pid_t child = fork();
        if (child == 0) {
            auto* lock = new InstrumentLock(folder); // never let go: the process ends at once
            _exit(lock->acquire(InstrumentLock::Kind::CommandLine, QStringLiteral("update")) ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        if (!QFile::exists(QDir(folder).filePath(QStringLiteral("tavlo-instrument.lock")))) {
            std::fprintf(stderr, "harness: the crashed program left no lock\n");
            return 99;
        }
    }

    // Whether the runs set the instrument on a way of its own (anything beyond answering).
    bool instrumentWoken = false;
    QElapsedTimer sinceLastEvent;
    sinceLastEvent.start();
    QObject::connect(&instrument, &SimInstrument::event, &app, [&](const QString& line) {
        sinceLastEvent.restart();
        if (!line.startsWith(QLatin1String("instrument received ")))
            instrumentWoken = true;
    });

    QList<QStringList> runs{{}};
    for (const QString& word : app.arguments().mid(1)) {
        if (word == QLatin1String("+++"))
            runs.append(QStringList());
        else
            runs.last().append(word);
    }
    // The server is at hand only when one is served; else an address where nothing listens.
    const QUrl defaultServer = releases.isEmpty() ? QUrl(QStringLiteral("https://127.0.0.1:9"))
                                                  : server.baseUrl();
    Platform platform = instrument.platform();
    platform.appFolders.backups = env("TAVLO_SIM_BACKUPS");
    platform.appFolders.state = env("TAVLO_SIM_HISTORY_FOLDER");
    platform.appFolders.downloads = env("TAVLO_SIM_DOWNLOADS");
    if (env("TAVLO_SIM_NO_MIDI") == QLatin1String("1"))
        platform.midi = std::make_shared<MissingMidi>();
    int code = 0;
    for (QStringList run : runs) {
        if (run == QStringList{QStringLiteral("@change")}) {
            if (!changeFirstFile(instrument.storageFolder()))
                return 99;
            continue;
        }
        for (QString& word : run) {
            if (word.startsWith(QLatin1String("@newest:")))
                word = newestIn(word.mid(8));
        }
        code = CliRun::run(run, platform, defaultServer, TestTimings::fast(), g_interrupted);
        std::fflush(stdout);
    }
    // Until the instrument has finished what it was doing (it takes the update and comes back
    // with it, or returns from a mode): no step of it is longer than its longest delay, so a
    // quiet spell longer than that means it is done. A run that never woke it ends at once.
    const SimInstrument::Timings t = TestTimings::fastInstrument();
    const int longestStep = std::max({t.mountAfterLeavingMs, t.rejoinAfterEjectMs, t.applyAfterFinishMs,
                                      t.rebootMs, t.transferRoundTripMs});
    QDeadlineTimer deadline(t.rejoinAfterEjectMs + t.applyAfterFinishMs + t.rebootMs + 500);
    while (instrumentWoken && sinceLastEvent.elapsed() <= longestStep + 100 && !deadline.hasExpired())
        settle(20);

    QFile state(env("TAVLO_SIM_STATE"));
    if (!state.fileName().isEmpty() && state.open(QIODevice::WriteOnly)) {
        QStringList lines;
        lines << QStringLiteral("firmware=") + instrument.firmwareVersion();
        lines << QStringLiteral("on_bus=") + QString::number(instrument.midi().isOnBus());
        for (const char* label : {SimInstrument::kUpdateVolumeLabel, SimInstrument::kTransferVolumeLabel}) {
            const QString name = QString::fromLatin1(label);
            lines << QStringLiteral("mounted_%1=%2").arg(name).arg(instrument.storage().isMounted(name));
            const QString root = instrument.storage().rootPath(name);
            if (!root.isEmpty() && instrument.storage().isMounted(name))
                lines << QStringLiteral("files_%1=%2").arg(name, QDir(root).entryList(QDir::Files).join(QLatin1Char(',')));
        }
        lines << QStringLiteral("woken=%1").arg(instrumentWoken);
        const QByteArray contents = SimTransferContent::manifest(instrument.storageFolder()).join(QLatin1Char('\n')).toUtf8();
        lines << QStringLiteral("storage=") + QString::fromLatin1(QCryptographicHash::hash(contents, QCryptographicHash::Sha256).toHex());
        for (const SimInstrument::AppliedUpdate& update : instrument.appliedUpdates())
            lines << QStringLiteral("applied=%1 %2").arg(update.toVersion, QString::fromLatin1(update.sha256));
        state.write(lines.join(QLatin1Char('\n')).toUtf8() + '\n');
    }
    return code;
}
