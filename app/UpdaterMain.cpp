// The update-only edition, "Tavlo Updater": the firmware update without the transfer mode.
// Built from the same sources as the full edition, compiled with TAVLO_UPDATE_ONLY.
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
    const QIcon icon = Startup::applyIdentity(app, AppIdentity::updateOnlyEdition());
    Startup::registerFonts();

    // First wiring phase: the objects, the worker thread, the catalogue request and the
    // connections between the objects.
    AppWiring wiring(createProductionPlatform(), Downloader::defaultServer());

    QQmlApplicationEngine engine;

    // Second wiring phase: the objects published to the window (no FileManagerBridge in
    // this edition).
    wiring.publish(engine);

    const QUrl mainUrl(QStringLiteral("qrc:/Tavlo Updater/main.qml"));
    return Startup::loadAndRun(app, engine, mainUrl);
}
