#include "Startup.h"

#include "ClosedNetworkAccess.h"
#include "WiringLog.h"

#include "AppIdentity.h"

#include "RunningUnderWine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QImage>
#include <QPixmap>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QQuickWindow>
#include <QResource>
#include <QSGRendererInterface>
#include <QTranslator>
#include <QUrl>

#include <cstdio>
#include <cstring>

namespace {

void writeToStandardError(QtMsgType, const QMessageLogContext&, const QString& message)
{
    std::fprintf(stderr, "%s\n", qPrintable(message));
    std::fflush(stderr);
}

} // namespace

namespace Startup {

bool wantsSoftwareRenderer(int argc, const char* const argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (argv[i] && std::strcmp(argv[i], "--software-render") == 0)
            return true;
    }
    return false;
}

bool wantsVersion(int argc, const char* const argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (argv[i] && std::strcmp(argv[i], "--version") == 0)
            return true;
    }
    return false;
}

QString versionLine(const AppIdentity& identity)
{
    return identity.applicationName + QLatin1Char(' ') + identity.applicationVersion;
}

bool answerVersion(int argc, const char* const argv[], const AppIdentity& identity)
{
    if (!wantsVersion(argc, argv))
        return false;
    std::printf("%s\n", versionLine(identity).toUtf8().constData());
    std::fflush(stdout);
    return true;
}

void placeDocumentCache(const QString& cacheFolder, const AppIdentity& identity)
{
    if (cacheFolder.isEmpty() || qEnvironmentVariableIsSet("QML_DISK_CACHE_PATH"))
        return;
    // One per program: the two editions compile documents of the same names differently.
    const QString folder = cacheFolder + QStringLiteral("/qmlcache/") + identity.desktopFileName;
    qputenv("QML_DISK_CACHE_PATH", QFile::encodeName(QDir::toNativeSeparators(folder)));
}

bool prepareBeforeApplication(int argc, const char* const argv[])
{
    if (runningUnderWine())
        qInstallMessageHandler(writeToStandardError);
    if (!wantsSoftwareRenderer(argc, argv))
        return false;
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    return true;
}

QImage windowIconImage(const AppIdentity& identity, int side)
{
    if (identity.windowIconSizePath.contains(QLatin1String("%1"))) {
        const QImage made(identity.windowIconSizePath.arg(side));
        if (made.width() == side && made.height() == side)
            return made;
    }
    const QImage artwork(identity.windowIconPath);
    if (artwork.isNull())
        return QImage();
    return artwork.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

QIcon applyIdentity(QGuiApplication& app, const AppIdentity& identity)
{
    QCoreApplication::setApplicationName(identity.applicationName);
    QCoreApplication::setOrganizationName(identity.organizationName);
    QCoreApplication::setOrganizationDomain(identity.organizationDomain);
    QCoreApplication::setApplicationVersion(identity.applicationVersion);
    // Docks and Wayland compositors match the window to its menu entry by this id.
    QGuiApplication::setDesktopFileName(identity.desktopFileName);
    // The window system is handed 256 pixels and smaller, not a 4 MiB bitmap for every window
    // the program maps; the sizes are read from small files made ahead of time, so that
    // start-up neither decodes the 1024-pixel artwork nor scales it.
    QIcon icon;
    for (const int side : kWindowIconSides) {
        const QImage image = windowIconImage(identity, side);
        if (!image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    }
    app.setWindowIcon(icon);
    return icon;
}

int registerFonts()
{
    int registered = 0;
    for (const char* face : {":/icons/font/Poppins-Regular.ttf", ":/icons/font/Poppins-SemiBold.ttf",
                             ":/icons/font/Poppins-Bold.ttf"}) {
        // Handed over as the resource's own bytes (stored uncompressed, so no copy is made):
        // registered by its path, each face would be read into memory once to register it
        // and once more for every font engine made from it.
        const QByteArray data = QResource(QString::fromLatin1(face)).uncompressedData();
        if (!data.isEmpty() && QFontDatabase::addApplicationFontFromData(data) >= 0)
            ++registered;
        else
            qCWarning(lcWiring, "Could not register the font %s", face);
    }
    return registered;
}

bool installTranslation(QTranslator& translator, const QLocale& locale, const QString& folder)
{
    // English is the source language: it needs no catalogue, and none is looked for.
    if (locale.language() == QLocale::English || locale.language() == QLocale::C)
        return false;
    if (!translator.load(locale, QStringLiteral("tavlo"), QStringLiteral("_"), folder)) {
        qCInfo(lcWiring, "No readable catalogue for %s; the window speaks English",
              qPrintable(locale.name()));
        return false;
    }
    return QCoreApplication::installTranslator(&translator);
}

void publishLog(QQmlApplicationEngine& engine, const QString& problem, const QString& logFile)
{
    engine.rootContext()->setContextProperty(QStringLiteral("sessionLogProblem"), problem);
    engine.rootContext()->setContextProperty(
        QStringLiteral("sessionLogFolder"),
        logFile.isEmpty() ? QString() : QDir::toNativeSeparators(QFileInfo(logFile).absolutePath()));
}

int loadAndRun(QGuiApplication& app, QQmlApplicationEngine& engine, const QUrl& mainUrl)
{
    QObject::connect(
        &engine, &QQmlApplicationEngine::objectCreated, &app,
        [mainUrl](QObject* object, const QUrl& url) {
            if (!object && url == mainUrl)
                QCoreApplication::exit(-1);
        },
        Qt::QueuedConnection);
    ClosedNetworkAccess::closeFor(engine);
    engine.load(mainUrl);
    return app.exec();
}

} // namespace Startup
