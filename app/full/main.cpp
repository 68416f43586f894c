// The full edition, Tavlo_App: the firmware update and the transfer mode.
#include "AppIdentity.h"
#include "app/full/FullEditionWiring.h"
#include "ProductionPlatform.h"
#include "SessionLog.h"
#include "Startup.h"
#include "Timings.h"
#include "WiringLog.h"

#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QTranslator>
#include <QUrl>

int main(int argc, char* argv[])
{
    Startup::prepareBeforeApplication(argc, argv);
    QGuiApplication app(argc, argv);
    const QIcon icon = Startup::applyIdentity(app, AppIdentity::fullEdition());
    Startup::registerFonts();
    QTranslator translator;
    Startup::installTranslation(translator);
    // The session log of this run, beside the last ones; without it the program still runs.
    SessionLog log = SessionLog::inFolder(SessionLog::defaultFolder());
    log.install(SessionLog::Echo::Previous);
    if (!log.isOpen())
        qCWarning(lcWiring, "%s", qPrintable(log.problem()));

    // First wiring phase: the objects, the storage worker, the catalogue request and the
    // connections between the objects.
    FullEditionWiring wiring(createProductionPlatform(), Downloader::defaultServer(),
                             Timings::production());

    QQmlApplicationEngine engine;
    // Second wiring phase: the objects published to the window.
    wiring.publish(engine);
    Startup::publishLogProblem(engine, log.problem());
    return Startup::loadAndRun(app, engine, QUrl(QStringLiteral("qrc:/Tavlo_App/main.qml")));
}
