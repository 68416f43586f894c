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
    const QIcon icon = Startup::applyIdentity(app, AppIdentity::fullEdition());
    Startup::registerFonts();

    // First wiring phase: the objects, the worker thread, the catalogue request and the
    // connections between the objects.
    AppWiring wiring(createProductionPlatform(), Downloader::defaultServer());

    QQmlApplicationEngine engine;

    // Second wiring phase: the objects published to the window.
    wiring.publish(engine);

    const QUrl mainUrl(QStringLiteral("qrc:/Tavlo_App/main.qml"));
    return Startup::loadAndRun(app, engine, mainUrl);
}
