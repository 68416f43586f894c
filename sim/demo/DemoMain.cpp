// The demo: the real full edition against the simulated instrument and a local HTTPS release
// server, so that both flows can be tried without the hardware. With --autoplay it plays the
// flows by itself and writes a screenshot of every screen; every run writes an event log.
// With --edition updater it runs the update-only edition instead: the same sources built with
// TAVLO_UPDATE_ONLY as tavlo_demo_updater, which the full edition's demo starts for it.

#include "AppIdentity.h"
#include "AppWiring.h"
#include "DemoAutoplay.h"
#include "DemoEventLog.h"
#include "ReleaseServer.h"
#include "SimInstrument.h"
#include "Startup.h"

#include <QCommandLineParser>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QQmlApplicationEngine>
#include <QRandomGenerator>
#include <QTimer>

#include <cstdio>

namespace {

#ifdef TAVLO_UPDATE_ONLY
const char* const kEdition = "updater";
const char* const kOtherEditionProgram = "tavlo_demo";
const char* const kWindowDocument = "qrc:/Tavlo Updater/main.qml";
#else
const char* const kEdition = "full";
const char* const kOtherEditionProgram = "tavlo_demo_updater";
const char* const kWindowDocument = "qrc:/Tavlo_App/main.qml";
#endif

const char* const kExampleFileName = "tavlo-firmware-1.6.0.tvq";
constexpr qint64 kExampleFileSize = 6 * 1024 * 1024;
constexpr qint64 kExamplePieceSize = 256 * 1024;

// Writes the built-in example release folder: a catalogue with one entry and its update file.
bool writeExampleReleases(const QDir& folder, QString* error)
{
    QByteArray firmware;
    firmware.reserve(kExampleFileSize);
    firmware.append("TAVLO FIRMWARE 1.6.0 (demo image)\n");
    QRandomGenerator generator(1600);
    while (firmware.size() < kExampleFileSize) {
        const quint32 word = generator.generate();
        firmware.append(reinterpret_cast<const char*>(&word), sizeof word);
    }
    firmware.truncate(kExampleFileSize);

    QFile file(folder.filePath(QString::fromLatin1(kExampleFileName)));
    if (!file.open(QIODevice::WriteOnly) || file.write(firmware) != firmware.size()) {
        *error = QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString());
        return false;
    }
    file.close();

    QJsonObject entry{{"file_name", QString::fromLatin1(kExampleFileName)},
                      {"version", "1.6.0"},
                      {"total_file_size", QString::number(kExampleFileSize)},
                      {"release_date", "2026-11-30"},
                      {"code_name", "Demo"},
                      {"uuid", "00000000-0000-4000-8000-000000001600"}};
    QFile catalogue(folder.filePath(QStringLiteral("releases.json")));
    const QByteArray json = QJsonDocument(QJsonArray{entry}).toJson();
    if (!catalogue.open(QIODevice::WriteOnly) || catalogue.write(json) != json.size()) {
        *error = QStringLiteral("cannot write %1").arg(catalogue.fileName());
        return false;
    }
    return true;
}

std::vector<DemoAutoplay::Step> updateSteps(DemoAutoplay& play, SimInstrument& instrument,
                                            const QString& newVersion)
{
    using Step = DemoAutoplay::Step;
    auto versionLine = [&play] { return play.text(QStringLiteral("versionText")); };
    return {
        Step{QStringLiteral("searching for the instrument"), nullptr, QStringLiteral("01-searching"),
             nullptr, 1000},
        Step{QStringLiteral("the instrument is connected and has told its version"),
             [&play, &instrument] {
                 return play.isShown(QStringLiteral("updateButton"))
                        && !instrument.midi().receivedMessages().isEmpty();
             },
             QStringLiteral("02-home"),
             [&play] { play.press(QStringLiteral("updateButton")); }},
        Step{QStringLiteral("the update on offer"),
             [&play, versionLine] {
                 return play.isShown(QStringLiteral("startUpdateButton"))
                        && versionLine().startsWith(QLatin1String("The latest available version"));
             },
             QStringLiteral("03-update-screen"),
             [&play] { play.press(QStringLiteral("startUpdateButton")); }},
#ifdef TAVLO_UPDATE_ONLY
        // This edition's window has no progress bar: the version line counts.
        Step{QStringLiteral("downloading"),
             [versionLine] { return versionLine().startsWith(QLatin1String("Downloading... ")); },
             QStringLiteral("04-downloading"), nullptr},
#else
        Step{QStringLiteral("downloading"),
             [&play] { return play.isShown(QStringLiteral("genericProgressBar")); },
             QStringLiteral("04-downloading"), nullptr},
#endif
        Step{QStringLiteral("the update file is on the instrument"),
             [versionLine] { return versionLine() == QLatin1String("File transfer complete!"); },
             QStringLiteral("05-update-complete"), nullptr, 60000},
        Step{QStringLiteral("the instrument applied the update and came back"),
             [&instrument, newVersion] {
                 return instrument.firmwareVersion() == newVersion && instrument.midi().isOnBus();
             },
             QString(), nullptr, 60000},
    };
}

std::vector<DemoAutoplay::Step> transferSteps(DemoAutoplay& play)
{
    using Step = DemoAutoplay::Step;
    auto shown = [&play](const char* name) {
        return [&play, name] { return play.isShown(QString::fromLatin1(name)); };
    };
    auto press = [&play](const char* name) {
        return [&play, name] { play.press(QString::fromLatin1(name)); };
    };
    return {
        Step{QStringLiteral("home with the transfer offer"), shown("transferButton"),
             QStringLiteral("11-home-with-transfer"), press("transferButton")},
        Step{QStringLiteral("connecting"), nullptr, QString(), nullptr},
        Step{QStringLiteral("connecting, a moment later"),
             [&play] { return play.text(QStringLiteral("versionText")).startsWith(QLatin1String("Connecting")); },
             QStringLiteral("12-connecting"), nullptr},
        Step{QStringLiteral("the transfer screen"), shown("openProjectsButton"),
             QStringLiteral("13-transfer-screen"), press("openProjectsButton")},
        Step{QStringLiteral("open instruments"), nullptr, QString(), press("openDefinitionsButton")},
        Step{QStringLiteral("open MIDI files"), nullptr, QString(), press("openMidiFilesButton")},
        Step{QStringLiteral("open grooves"), nullptr, QString(), press("openGroovesButton")},
        Step{QStringLiteral("done"), shown("completeTransferButton"), QString(),
             press("completeTransferButton")},
        Step{QStringLiteral("finalizing"),
             [&play] { return play.text(QStringLiteral("versionText")).startsWith(QLatin1String("Finalizing")); },
             QStringLiteral("14-finalizing"), nullptr},
        Step{QStringLiteral("back home"), shown("updateButton"), QStringLiteral("15-back-home"),
             nullptr, 60000},
    };
}

// One run of the program: the wiring, the window, the event loop. Returns the loop's code.
int runProgram(QGuiApplication& app, SimInstrument& instrument, const QUrl& server,
               DemoEventLog& log, const QString& flow, const QDir& shots, bool* autoplayFailed)
{
    AppWiring wiring(instrument.platform(), server);
    log.watchProgram(wiring);
    QQmlApplicationEngine engine;
    wiring.publish(engine);

    DemoAutoplay play(engine, shots);
    if (!flow.isEmpty()) {
        if (flow == QLatin1String("update"))
            play.setSteps(updateSteps(play, instrument, QStringLiteral("1.6.0")));
        else
            play.setSteps(transferSteps(play));
        QObject::connect(&play, &DemoAutoplay::stepReached, &log, [&log](const QString& step) {
            log.write(QStringLiteral("demo"), QStringLiteral("step: ") + step);
        });
        QObject::connect(&play, &DemoAutoplay::screenshotTaken, &log, [&log](const QString& path) {
            log.write(QStringLiteral("demo"), QStringLiteral("screenshot ") + path);
        });
        QObject::connect(&play, &DemoAutoplay::finished, &app,
                         [&log, autoplayFailed](bool ok, const QString& message) {
                             log.write(QStringLiteral("demo"),
                                       QStringLiteral("flow %1: %2")
                                           .arg(ok ? QStringLiteral("done") : QStringLiteral("FAILED"), message));
                             *autoplayFailed = !ok;
                             std::fprintf(stderr, "demo: flow %s: %s\n", ok ? "done" : "FAILED",
                                          qPrintable(message));
                             QCoreApplication::exit(ok ? 0 : 1);
                         });
        QTimer::singleShot(0, &play, &DemoAutoplay::start);
    }
    return Startup::loadAndRun(app, engine, QUrl(QString::fromLatin1(kWindowDocument)));
}

} // namespace

int main(int argc, char* argv[])
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Runs the Tavlo program against a simulated instrument and a local release server."));
    parser.addHelpOption();
    QCommandLineOption autoplay(QStringLiteral("autoplay"),
                                QStringLiteral("Play a flow by itself: update, transfer or both."),
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
    QCommandLineOption edition(QStringLiteral("edition"),
                               QStringLiteral("The program to run: full (the default of tavlo_demo) or "
                                              "updater (the update-only edition)."),
                               QStringLiteral("edition"), QString::fromLatin1(kEdition));
    parser.addOptions({autoplay, releases, out, firmware, edition});

    // Downloads of the demo land in a folder of its own, so every run starts fresh.
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    parser.parse(args);
    const QString wantedEdition = parser.value(edition);
    if (wantedEdition != QLatin1String("full") && wantedEdition != QLatin1String("updater")) {
        std::fprintf(stderr, "demo: --edition takes full or updater\n");
        return 2;
    }
    if (wantedEdition != QLatin1String(kEdition)) {
        // The other edition is the other demo program, built beside this one.
        QCoreApplication core(argc, argv);
        QProcess other;
        other.setProcessChannelMode(QProcess::ForwardedChannels);
        other.setInputChannelMode(QProcess::ForwardedInputChannel);
        other.start(QCoreApplication::applicationDirPath() + QLatin1Char('/')
                        + QString::fromLatin1(kOtherEditionProgram),
                    args.mid(1));
        if (!other.waitForStarted()) {
            std::fprintf(stderr, "demo: cannot start %s: %s\n", kOtherEditionProgram,
                         qPrintable(other.errorString()));
            return 1;
        }
        other.waitForFinished(-1);
        return other.exitStatus() == QProcess::NormalExit ? other.exitCode() : 1;
    }
    const QDir outDir(QDir::current().absoluteFilePath(parser.value(out)));
    QDir().mkpath(outDir.filePath(QStringLiteral("downloads")));
    qputenv("TMPDIR", QFile::encodeName(outDir.filePath(QStringLiteral("downloads"))));

    QGuiApplication app(argc, argv);
#ifdef TAVLO_UPDATE_ONLY
    const QIcon icon = Startup::applyIdentity(app, AppIdentity::updateOnlyEdition());
#else
    const QIcon icon = Startup::applyIdentity(app, AppIdentity::fullEdition());
#endif
    Startup::registerFonts();
    parser.process(app);

    QString flow = parser.value(autoplay);
#ifdef TAVLO_UPDATE_ONLY
    if (flow == QLatin1String("both")) {
        // This edition has no transfer mode, so "both" flows are the update flow alone.
        std::fprintf(stderr, "demo: the update-only edition has no transfer mode; playing the update flow\n");
        flow = QStringLiteral("update");
    }
    if (!flow.isEmpty() && flow != QLatin1String("update")) {
        std::fprintf(stderr, "demo: the update-only edition plays the update flow only (--autoplay update)\n");
        return 2;
    }
#else
    if (!flow.isEmpty() && flow != QLatin1String("update") && flow != QLatin1String("transfer")
        && flow != QLatin1String("both")) {
        std::fprintf(stderr, "demo: --autoplay takes update, transfer or both\n");
        return 2;
    }
#endif

    QString releaseFolder = parser.value(releases);
    if (releaseFolder.isEmpty()) {
        releaseFolder = outDir.filePath(QStringLiteral("releases"));
        QDir().mkpath(releaseFolder);
        QString error;
        if (!writeExampleReleases(QDir(releaseFolder), &error)) {
            std::fprintf(stderr, "demo: %s\n", qPrintable(error));
            return 1;
        }
    }
    const QDir shots(outDir.filePath(QStringLiteral("screenshots")));
    QDir().mkpath(shots.path());

    ReleaseServer server;
    server.serveFolder(releaseFolder);
    if (parser.value(releases).isEmpty()) {
        // The built-in example comes at a pace that lets the progress be seen.
        ReleaseServer::Response slow;
        slow.bodyFile = QDir(releaseFolder).filePath(QString::fromLatin1(kExampleFileName));
        slow.pieces = QList<qint64>(kExampleFileSize / kExamplePieceSize, kExamplePieceSize);
        slow.pieceDelayMs = 80;
        server.setResponse("GET", QStringLiteral("/releases/") + QString::fromLatin1(kExampleFileName), slow);
    }
    if (!server.start()) {
        std::fprintf(stderr, "demo: the release server did not start: %s\n", qPrintable(server.errorText()));
        return 1;
    }
    ReleaseServer::trustInThisProcess();

    DemoEventLog log(outDir.filePath(QStringLiteral("events.log")));
    if (!log.isOpen()) {
        std::fprintf(stderr, "demo: cannot write %s\n", qPrintable(log.path()));
        return 1;
    }
    log.write(QStringLiteral("demo"), QStringLiteral("release server at %1 serving %2")
                                          .arg(server.baseUrl().toString(), releaseFolder));

    SimInstrument instrument;
    instrument.setFirmwareVersion(parser.value(firmware));
    instrument.setVersionAfterUpdate(QStringLiteral("1.6.0"));
    log.watchInstrument(instrument);
    QTimer::singleShot(1000, &instrument, &SimInstrument::plugIn);

    std::fprintf(stderr, "demo: screenshots go to %s, the event log to %s\n",
                 qPrintable(shots.path()), qPrintable(log.path()));

    bool failed = false;
    int code = 0;
    if (flow == QLatin1String("both")) {
        code = runProgram(app, instrument, server.baseUrl(), log, QStringLiteral("update"), shots, &failed);
        if (code == 0 && !failed)
            code = runProgram(app, instrument, server.baseUrl(), log, QStringLiteral("transfer"), shots, &failed);
    } else {
        code = runProgram(app, instrument, server.baseUrl(), log, flow, shots, &failed);
    }
    std::fprintf(stderr, "demo: %s\n", failed ? "a flow did not complete" : "finished");
    std::fprintf(stderr, "demo: screenshots in %s, event log %s\n", qPrintable(shots.path()),
                 qPrintable(log.path()));
    return failed ? 1 : code;
}
