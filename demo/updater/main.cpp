// The demo of the update-only edition: tavlo_demo_updater. "--edition full" starts tavlo_demo.
#include "DemoEdition.h"
#include "DemoRun.h"
#include "app/updater/UpdaterEditionWiring.h"

int main(int argc, char* argv[])
{
    DemoEdition edition;
    edition.name = QStringLiteral("updater");
    edition.otherProgram = QStringLiteral("tavlo_demo");
    edition.windowDocument = QUrl(QStringLiteral("qrc:/Tavlo Updater/main.qml"));
    edition.identity = AppIdentity::updateOnlyEdition();
    edition.hasTransferMode = false;
    edition.makeWiring = [](const Platform& platform, const QUrl& server, const Timings& timings) {
        return std::unique_ptr<Wiring>(new UpdaterEditionWiring(platform, server, timings));
    };
    return DemoRun::main(argc, argv, edition);
}
