#pragma once

#include <QIcon>
#include <QImage>
#include <QLocale>
#include <QString>

class QGuiApplication;
class QTranslator;
class QQmlApplicationEngine;
class QUrl;
struct AppIdentity;

// The frame of start-up that both programs, the demo and the tests share.
namespace Startup {

// Whether the program's own "--software-render" option is among the arguments. Pure.
bool wantsSoftwareRenderer(int argc, const char* const argv[]);

// Whether "--version" is among the arguments. Pure.
bool wantsVersion(int argc, const char* const argv[]);

// What "--version" prints: the program's name and version, "Tavlo 1.3.1". Pure.
QString versionLine(const AppIdentity& identity);

// When "--version" is among the arguments, prints versionLine() on standard output and
// returns true: the program then ends, before it needs a display.
bool answerVersion(int argc, const char* const argv[], const AppIdentity& identity);

// Points Qt's cache of compiled window documents at a folder of the program's own below
// cacheFolder (AppFolders::cache), unless QML_DISK_CACHE_PATH is set already; left to Qt
// when cacheFolder is empty. Call before the first engine is made.
void placeDocumentCache(const QString& cacheFolder, const AppIdentity& identity);

// What every program does before its application object exists: under Wine, Qt's messages
// go to standard error through a handler of the program's own (a windowed program's default
// handler writes where nobody sees it there); with "--software-render", Qt Quick draws with
// its software renderer instead of the system's default graphics interface. The option is
// for Wine, whose Direct3D shader compiler rejects Qt's shaders; on Windows and elsewhere the
// default stays. Returns whether the software renderer was chosen.
bool prepareBeforeApplication(int argc, const char* const argv[]);

// The sides in pixels of the window icon handed to the window system.
inline constexpr int kWindowIconSides[] = {256, 64, 32, 16};

// The window icon at side x side pixels: the file made ahead of time for that side, or, where
// it is missing or of another size, the artwork scaled smoothly (null when neither reads).
QImage windowIconImage(const AppIdentity& identity, int side);

// Sets the names, version and desktop entry on the application object, in this order, and
// returns the window icon after setting it application-wide. The caller keeps the icon for the run.
QIcon applyIdentity(QGuiApplication& app, const AppIdentity& identity);

// Registers the three Poppins faces from the resources with the font database, so the
// window's "Poppins" family resolves on machines that do not have it installed. Returns the
// number of faces registered.
int registerFonts();

// Where the programs' catalogues are ("tavlo_de.qm" and so on, built into the resources).
inline const QString kTranslationsFolder = QStringLiteral(":/i18n");

// Loads the catalogue of the locale's languages from the folder into the translator and
// installs it application-wide, before the window is loaded. Returns false, installing
// nothing, when there is no catalogue for the locale or it cannot be read: the window then
// shows the English source texts. The caller keeps the translator for the run.
bool installTranslation(QTranslator& translator, const QLocale& locale = QLocale(),
                        const QString& folder = kTranslationsFolder);

// Publishes why this run keeps no session log (empty: it keeps one) as "sessionLogProblem",
// which both windows say once as they open, and the folder of its log file (empty: none) as
// "sessionLogFolder", which "About" shows; call before the window is loaded.
void publishLog(QQmlApplicationEngine& engine, const QString& problem, const QString& logFile);

// Connects the load failure check (queued, last of all connections), closes the network to
// the window's documents (ClosedNetworkAccess), loads the document
// and runs the event loop. Returns the event loop's exit code: -1 when the document could
// not be made.
int loadAndRun(QGuiApplication& app, QQmlApplicationEngine& engine, const QUrl& mainUrl);

} // namespace Startup
