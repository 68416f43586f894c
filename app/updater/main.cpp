// The update-only edition, "Tavlo Updater": the firmware update without the transfer mode.
#include "AppFolders.h"
#include "AppIdentity.h"
#include "ProductionPlatform.h"
#include "SessionLog.h"
#include "Startup.h"
#include "Timings.h"
#include "InstrumentLock.h"
#include "OldFolders.h"
#include "WindowClaim.h"
#include "WindowToFront.h"
#include "app/updater/UpdaterEditionWiring.h"
#include "WiringLog.h"

#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QTranslator>
#include <QUrl>

int main(int argc, char* argv[])
{
    const AppIdentity identity = AppIdentity::updateOnlyEdition();
    if (Startup::answerVersion(argc, argv, identity))
        return 0;
    Startup::prepareBeforeApplication(argc, argv);
    Startup::placeDocumentCache(AppFolders::forThisSystem().cache, identity);
    QGuiApplication app(argc, argv);
    const QIcon icon = Startup::applyIdentity(app, identity);
    Startup::registerFonts();
    QTranslator translator;
    Startup::installTranslation(translator);
    // The session log of this run, beside the last ones; without it the program still runs.
    SessionLog log = SessionLog::inFolder(SessionLog::defaultFolder());
    log.install(SessionLog::Echo::Previous);
    if (!log.isOpen())
        qCWarning(lcWiring, "%s", qPrintable(log.problem()));

    // One program drives the instrument at a time: a second window brings the first to the
    // front, and while "tavlo" holds the instrument a small window says so.
    const Platform platform = createProductionPlatform();
    InstrumentLock lock(platform.lockFolder);
    WindowToFront front(platform.lockFolder);
    if (WindowClaim(lock, front).run() != WindowClaim::Outcome::Go)
        return 0;
    // The earlier releases' folders, once this window holds the instrument (a failure is
    // logged and changes nothing else).
    OldFolders::tidy(platform.appFolders);

    UpdaterEditionWiring wiring(platform, Downloader::defaultServer(),
                                Timings::production());

    QQmlApplicationEngine engine;
    wiring.publish(engine);
    WindowClaim::raiseOnRequest(front, engine);
    Startup::publishLog(engine, log.problem(), log.isOpen() ? log.path() : QString());
    return Startup::loadAndRun(app, engine, QUrl(QStringLiteral("qrc:/Tavlo Updater/main.qml")));
}
