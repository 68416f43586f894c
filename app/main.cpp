// The program's entry point, built twice: the full edition (Tavlo_App) and, compiled with
// TAVLO_UPDATE_ONLY, the update-only edition ("Tavlo Updater"), which updates the firmware
// without the transfer mode.
#include "AppIdentity.h"
#include "AppWiring.h"
#include "ProductionPlatform.h"
#include "Startup.h"

#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QUrl>

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
#ifdef TAVLO_UPDATE_ONLY
    const QIcon icon = Startup::applyIdentity(app, AppIdentity::updateOnlyEdition());
#else
    const QIcon icon = Startup::applyIdentity(app, AppIdentity::fullEdition());
#endif
    Startup::registerFonts();

    // First wiring phase: the objects, the worker thread, the catalogue request and the
    // connections between the objects.
    AppWiring wiring(createProductionPlatform(), Downloader::defaultServer());

    QQmlApplicationEngine engine;

    // Second wiring phase: the objects published to the window (the update-only edition
    // has no FileManagerBridge).
    wiring.publish(engine);

#ifdef TAVLO_UPDATE_ONLY
    const QUrl mainUrl(QStringLiteral("qrc:/Tavlo Updater/main.qml"));
#else
    const QUrl mainUrl(QStringLiteral("qrc:/Tavlo_App/main.qml"));
#endif
    return Startup::loadAndRun(app, engine, mainUrl);
}
