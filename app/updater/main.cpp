// The update-only edition, "Tavlo Updater": the firmware update without the transfer mode.
#include "AppIdentity.h"
#include "ProductionPlatform.h"
#include "Startup.h"
#include "Timings.h"
#include "UpdaterEditionWiring.h"

#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QTranslator>
#include <QUrl>

int main(int argc, char* argv[])
{
    Startup::prepareBeforeApplication(argc, argv);
    QGuiApplication app(argc, argv);
    const QIcon icon = Startup::applyIdentity(app, AppIdentity::updateOnlyEdition());
    Startup::registerFonts();
    QTranslator translator;
    Startup::installTranslation(translator);

    UpdaterEditionWiring wiring(createProductionPlatform(), Downloader::defaultServer(),
                                Timings::production());

    QQmlApplicationEngine engine;
    wiring.publish(engine);
    return Startup::loadAndRun(app, engine, QUrl(QStringLiteral("qrc:/Tavlo Updater/main.qml")));
}
