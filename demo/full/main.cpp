// The demo of the full edition: tavlo_demo. "--edition updater" starts tavlo_demo_updater.
#include "DemoEdition.h"
#include "DemoRun.h"
#include "app/full/FullEditionWiring.h"

int main(int argc, char* argv[])
{
    DemoEdition edition;
    edition.name = QStringLiteral("full");
    edition.otherProgram = QStringLiteral("tavlo_demo_updater");
    edition.windowDocument = QUrl(QStringLiteral("qrc:/Tavlo_App/main.qml"));
    edition.identity = AppIdentity::fullEdition();
    edition.hasTransferMode = true;
    edition.downloadProgressItem = QStringLiteral("genericProgressBar");
    edition.makeWiring = [](const Platform& platform, const QUrl& server, const Timings& timings) {
        return std::unique_ptr<Wiring>(new FullEditionWiring(platform, server, timings));
    };
    return DemoRun::main(argc, argv, edition);
}
