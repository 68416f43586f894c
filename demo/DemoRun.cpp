#include "DemoRun.h"

#include "DemoAutoplay.h"
#include "DemoChoiceSteps.h"
#include "DemoEdition.h"
#include "DemoEventLog.h"
#include "DemoReleases.h"
#include "DemoServer.h"
#include "DemoServerTrust.h"
#include "DemoSteps.h"
#include "ProcessEnd.h"
#include "ReleaseServer.h"
#include "RunningUnderWine.h"
#include "SimInstrument.h"
#include "Startup.h"
#include "Timings.h"
#include "Wiring.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QQmlApplicationEngine>
#include <QTimer>
#include <QTranslator>

#include <cstdio>

namespace {

struct Flow
{
    DemoEventLog& log;
    SimInstrument& instrument;
    QUrl server;
    QDir shots;
    QString localFile;  // the update file of the "local" run
    QString backups;    // where the full edition keeps its backups in the demo
    bool failed = false;
};

// What a musician does between two sessions: a project on the instrument changes after the
// backup, so that the restore has something to put back.
void changeAProject(Flow& run)
{
    const QString name = QStringLiteral("projects/Grüße an Zoë.tvp");
    QFile project(run.instrument.storageFolder() + QLatin1Char('/') + name);
    if (project.open(QIODevice::Append))
        project.write("\nA verse added after the backup.\n");
    run.log.write(QStringLiteral("demo"), QStringLiteral("the musician changed ") + name);
}

// One run of the program: the wiring, the window, the event loop. Returns the loop's code.
int runProgram(QGuiApplication& app, const DemoEdition& edition, Flow& run, const QString& flow)
{
    // The demo shows the program as it ships: production timings.
    Platform platform = run.instrument.platform();
    platform.appFolders.backups = run.backups;
    const std::unique_ptr<Wiring> wiring =
        edition.makeWiring(platform, run.server, Timings::production());
    QQmlApplicationEngine engine;
    wiring->publish(engine);
    run.log.watchProgram(*wiring);

    DemoAutoplay play(engine, run.shots);
    if (!flow.isEmpty()) {
        if (flow == QLatin1String("update"))
            play.setSteps(DemoSteps::update(play, run.instrument,
                                            QString::fromLatin1(DemoReleases::kExampleVersion), edition));
        else if (flow == QLatin1String("local"))
            play.setSteps(DemoChoiceSteps::localFile(play, run.instrument, run.localFile));
        else if (flow == QLatin1String("downgrade"))
            play.setSteps(DemoChoiceSteps::downgrade(play, run.instrument,
                                                     QString::fromLatin1(DemoReleases::kOlderVersion)));
        else if (flow == QLatin1String("restore"))
            play.setSteps(DemoSteps::restore(play));
        else
            play.setSteps(DemoSteps::transfer(play));
        DemoEventLog& log = run.log;
        QObject::connect(&play, &DemoAutoplay::stepReached, &log, [&log](const QString& step) {
            log.write(QStringLiteral("demo"), QStringLiteral("step: ") + step);
        });
        QObject::connect(&play, &DemoAutoplay::screenshotTaken, &log, [&log](const QString& path) {
            log.write(QStringLiteral("demo"), QStringLiteral("screenshot ") + path);
        });
        bool* failed = &run.failed;
        QObject::connect(&play, &DemoAutoplay::finished, &app,
                         [&log, failed](bool ok, const QString& message) {
                             log.write(QStringLiteral("demo"),
                                       QStringLiteral("flow %1: %2")
                                           .arg(ok ? QStringLiteral("done") : QStringLiteral("FAILED"), message));
                             *failed = !ok;
                             std::fprintf(stderr, "demo: flow %s: %s\n", ok ? "done" : "FAILED",
                                          qPrintable(message));
                             QCoreApplication::exit(ok ? 0 : 1);
                         });
        QTimer::singleShot(0, &play, &DemoAutoplay::start);
    }
    return Startup::loadAndRun(app, engine, edition.windowDocument);
}

// The other edition is the other demo program, built beside this one.
int runOtherEdition(int argc, char* argv[], const DemoEdition& edition, const QStringList& args)
{
    QCoreApplication core(argc, argv);
    QProcess other;
    other.setProcessChannelMode(QProcess::ForwardedChannels);
    other.setInputChannelMode(QProcess::ForwardedInputChannel);
    other.start(QCoreApplication::applicationDirPath() + QLatin1Char('/') + edition.otherProgram,
                args.mid(1));
    if (!other.waitForStarted()) {
        std::fprintf(stderr, "demo: cannot start %s: %s\n", qPrintable(edition.otherProgram),
                     qPrintable(other.errorString()));
        return 1;
    }
    other.waitForFinished(-1);
    return other.exitStatus() == QProcess::NormalExit ? other.exitCode() : 1;
}

// The flow to play, or an empty text with a message printed when this edition cannot play it.
bool chooseFlow(const DemoEdition& edition, QString* flow)
{
    if (flow->isEmpty())
        return true;
    // The update screen's choices: both editions have them.
    if (*flow == QLatin1String("local") || *flow == QLatin1String("downgrade")
        || *flow == QLatin1String("choices"))
        return true;
    if (!edition.hasTransferMode) {
        if (*flow == QLatin1String("both")) {
            std::fprintf(stderr, "demo: the update-only edition has no transfer mode; playing the update flow\n");
            *flow = QStringLiteral("update");
        }
        if (*flow != QLatin1String("update")) {
            std::fprintf(stderr, "demo: the update-only edition plays the update flow only (--autoplay update)\n");
            return false;
        }
        return true;
    }
    if (*flow != QLatin1String("update") && *flow != QLatin1String("transfer")
        && *flow != QLatin1String("both")) {
        std::fprintf(stderr, "demo: --autoplay takes update, transfer, both, local, downgrade or choices\n");
        return false;
    }
    return true;
}

} // namespace

namespace DemoRun {

int main(int argc, char* argv[], const DemoEdition& edition)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Runs the Tavlo program against a simulated instrument and a local release server."));
    parser.addHelpOption();
    QCommandLineOption autoplay(QStringLiteral("autoplay"),
                                QStringLiteral("Play a flow by itself: update, transfer, or both (the update with its "
                                               "backup first, the transfer, and a restore of a "
                                               "project changed since); "
                                               "local (install from file), downgrade, or choices "
                                               "(those two)."),
                                QStringLiteral("flow"));
    QCommandLineOption releases(QStringLiteral("releases"),
                                QStringLiteral("Serve releases.json and the update files from this folder "
                                               "(default: a built-in example)."),
                                QStringLiteral("folder"));
    QCommandLineOption out(QStringLiteral("out"),
                           QStringLiteral("Folder for the screenshots and the event log."),
                           QStringLiteral("folder"), QStringLiteral("demo-output"));
    QCommandLineOption firmware(QStringLiteral("firmware"),
                                QStringLiteral("Firmware version the instrument starts with."),
                                QStringLiteral("version"), QStringLiteral("1.5.2"));
    QCommandLineOption editionOption(
        QStringLiteral("edition"),
        QStringLiteral("The program to run: full (the default of tavlo_demo) or updater (the "
                       "update-only edition)."),
        QStringLiteral("edition"), edition.name);
    QCommandLineOption softwareRender(
        QStringLiteral("software-render"),
        QStringLiteral("Draw with Qt Quick's software renderer (for Wine, whose Direct3D draws nothing)."));
    QCommandLineOption serverOption(
        QStringLiteral("server"),
        QStringLiteral("Use the release server at this https address instead of starting one."),
        QStringLiteral("url"));
    QCommandLineOption serverCa(
        QStringLiteral("server-ca"),
        QStringLiteral("The certificate authority (PEM) that signed the --server's certificate."),
        QStringLiteral("file"));
    parser.addOptions({autoplay, releases, out, firmware, editionOption, softwareRender, serverOption,
                       serverCa});

    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    parser.parse(args);
    const QString wantedEdition = parser.value(editionOption);
    if (wantedEdition != QLatin1String("full") && wantedEdition != QLatin1String("updater")) {
        std::fprintf(stderr, "demo: --edition takes full or updater\n");
        return 2;
    }
    if (wantedEdition != edition.name)
        return runOtherEdition(argc, argv, edition, args);

    // Downloads of the demo land in a folder of its own, so every run starts fresh.
    const QDir outDir(QDir::current().absoluteFilePath(parser.value(out)));
    QDir().mkpath(outDir.filePath(QStringLiteral("downloads")));
    qputenv("TMPDIR", QFile::encodeName(outDir.filePath(QStringLiteral("downloads"))));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(outDir.filePath(QStringLiteral("downloads"))));

    Startup::prepareBeforeApplication(argc, argv);
    QGuiApplication app(argc, argv);
    const QIcon icon = Startup::applyIdentity(app, edition.identity);
    Startup::registerFonts();
    QTranslator translator;
    Startup::installTranslation(translator);
    parser.process(app);

    QString flow = parser.value(autoplay);
    if (!chooseFlow(edition, &flow))
        return 2;

    const QDir shots(outDir.filePath(QStringLiteral("screenshots")));
    QDir().mkpath(shots.path());

    // The release server: started here, or given with --server and --server-ca (started on
    // the Linux side by tavlo_demo_server for a demo under Wine, which cannot make its
    // certificates).
    ReleaseServer server;
    DemoServerTrust serverTrust;
    QUrl serverUrl = QUrl(parser.value(serverOption));
    QString served = QStringLiteral("(served by another program)");
    if (serverUrl.isEmpty()) {
        QString error;
        served = DemoServer::prepareFolder(parser.value(releases), outDir, &error);
        if (served.isEmpty() || !DemoServer::start(server, served, parser.value(releases).isEmpty(), &error)) {
            std::fprintf(stderr, "demo: %s\n", qPrintable(error));
            return 1;
        }
        ReleaseServer::trustInThisProcess();
        serverUrl = server.baseUrl();
    } else if (!serverUrl.isValid() || serverUrl.scheme() != QLatin1String("https")
               || !parser.isSet(serverCa)) {
        std::fprintf(stderr, "demo: --server takes an https address, and --server-ca a readable "
                             "PEM file of the certificate authority it is signed by\n");
        return 2;
    } else {
        QString error;
        if (!serverTrust.trust(parser.value(serverCa), &error)) {
            std::fprintf(stderr, "demo: the server's certificate authority cannot be trusted: %s\n",
                         qPrintable(error));
            return 2;
        }
        if (serverTrust.addedToUserStore() > 0)
            std::fprintf(stderr, "demo: %s is in the current user's root certificate store until "
                                 "the demo ends\n", qPrintable(parser.value(serverCa)));
    }

    DemoEventLog log(outDir.filePath(QStringLiteral("events.log")));
    if (!log.isOpen()) {
        std::fprintf(stderr, "demo: cannot write %s\n", qPrintable(log.path()));
        return 1;
    }
    log.write(QStringLiteral("demo"), QStringLiteral("release server at %1 serving %2")
                                          .arg(serverUrl.toString(), served));

    SimInstrument instrument;
    instrument.setFirmwareVersion(parser.value(firmware));
    instrument.setVersionAfterUpdate(QString::fromLatin1(DemoReleases::kExampleVersion));
    // Its storage holds what a used instrument's does (made at its first transfer session).
    instrument.setStorageContent(SimTransferContent::Scale::Realistic);
    log.watchInstrument(instrument);
    QTimer::singleShot(1000, &instrument, &SimInstrument::plugIn);

    std::fprintf(stderr, "demo: screenshots go to %s, the event log to %s\n",
                 qPrintable(shots.path()), qPrintable(log.path()));

    Flow run{log, instrument, serverUrl, shots};
    run.backups = outDir.filePath(QStringLiteral("Tavlo Backups"));
    if (flow == QLatin1String("local") || flow == QLatin1String("choices")) {
        QString error;
        QDir().mkpath(outDir.filePath(QStringLiteral("local")));
        run.localFile = DemoReleases::writeLocalFile(QDir(outDir.filePath(QStringLiteral("local"))), &error);
        if (run.localFile.isEmpty()) {
            std::fprintf(stderr, "demo: %s\n", qPrintable(error));
            return 1;
        }
    }
    int code = 0;
    if (flow == QLatin1String("choices")) {
        code = runProgram(app, edition, run, QStringLiteral("local"));
        if (code == 0 && !run.failed)
            code = runProgram(app, edition, run, QStringLiteral("downgrade"));
    } else if (flow == QLatin1String("both")) {
        code = runProgram(app, edition, run, QStringLiteral("update"));
        if (code == 0 && !run.failed)
            code = runProgram(app, edition, run, QStringLiteral("transfer"));
        // The update backed the projects up first: one changes, and is put back.
        if (code == 0 && !run.failed) {
            changeAProject(run);
            code = runProgram(app, edition, run, QStringLiteral("restore"));
        }
    } else {
        code = runProgram(app, edition, run, flow);
    }
    std::fprintf(stderr, "demo: %s\n", run.failed ? "a flow did not complete" : "finished");
    std::fprintf(stderr, "demo: screenshots in %s, event log %s\n", qPrintable(shots.path()),
                 qPrintable(log.path()));
    const int result = run.failed ? 1 : code;
    QString error;
    if (!serverTrust.release(&error))
        std::fprintf(stderr, "demo: %s\n", qPrintable(error));
    // Under Wine the ordinary exit can hang once the flows are done (the process never
    // ends): the event log is flushed line by line, so the process ends here directly.
    if (runningUnderWine())
        ProcessEnd::now(result);
    return result;
}

} // namespace DemoRun
