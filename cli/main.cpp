// The command-line program "tavlo": the full edition's objects without a window.
#include "AppIdentity.h"
#include "CliRun.h"
#include "download/full/Downloader.h"
#include "ProductionPlatform.h"
#include "SessionLog.h"
#include "Startup.h"
#include "Timings.h"

#include <QCoreApplication>
#include <QTranslator>

#include <atomic>
#include <csignal>

namespace {
std::atomic<bool> g_interrupted{false};

extern "C" void onInterrupt(int)
{
    g_interrupted.store(true);
}
} // namespace

int main(int argc, char* argv[])
{
    // What is said before the session log is installed (Qt's warning about the runtime
    // folder, as the platform is made) goes into the log, not onto the terminal.
    SessionLog::holdMessages();
    QCoreApplication app(argc, argv);
    // The full edition's names and version.
    const AppIdentity identity = AppIdentity::fullEdition();
    QCoreApplication::setApplicationName(identity.applicationName);
    QCoreApplication::setOrganizationName(identity.organizationName);
    QCoreApplication::setOrganizationDomain(identity.organizationDomain);
    QCoreApplication::setApplicationVersion(identity.applicationVersion);
    QTranslator translator;
    Startup::installTranslation(translator);
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
    return CliRun::run(app.arguments().mid(1), createProductionPlatform(),
                       Downloader::defaultServer(), Timings::production(), g_interrupted);
}
