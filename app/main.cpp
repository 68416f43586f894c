#include "AppIdentity.h"
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

    QQmlApplicationEngine engine;

    // Second wiring phase: the objects published to the window.

    const QUrl mainUrl(QStringLiteral("qrc:/Tavlo_App/main.qml"));
    return Startup::loadAndRun(app, engine, mainUrl);
}
