// Start-up as the program runs it: one process per case, since each needs its own
// application object. Usage: ui_startup <missing|broken|exit|close|fonts>. Exit status 0
// when the case holds; the reason is printed otherwise.

#include "AppIdentity.h"
#include "StandInSet.h"
#include "Startup.h"
#include "WindowDriver.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

const QUrl kMainUrl(QStringLiteral("qrc:/Tavlo_App/main.qml"));
// Exit code of the guard that ends a run that would otherwise hang.
constexpr int kHung = 99;

int fail(const QString& reason)
{
    std::fprintf(stderr, "FAIL: %s\n", qPrintable(reason));
    return 1;
}

int pass(const QString& what)
{
    std::printf("PASS: %s\n", qPrintable(what));
    return 0;
}

void armGuard(QGuiApplication& app)
{
    QTimer::singleShot(20000, &app, [] { QCoreApplication::exit(kHung); });
}

int expectCode(int code, int expected, const QString& what)
{
    if (code == kHung)
        return fail(what + ": the event loop did not end");
    if (code != expected)
        return fail(QStringLiteral("%1: exit code %2, expected %3").arg(what).arg(code).arg(expected));
    return pass(what);
}

// A document that is not in the resources ends the run with -1 once the loop runs.
int missingDocument(QGuiApplication& app)
{
    QQmlApplicationEngine engine;
    armGuard(app);
    const int code = Startup::loadAndRun(app, engine, QUrl(QStringLiteral("qrc:/Tavlo_App/nothing.qml")));
    return expectCode(code, -1, QStringLiteral("missing document"));
}

// A document that exists but does not compile ends the run the same way.
int brokenDocument(QGuiApplication& app)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("main.qml")));
    if (!file.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("cannot write the broken document"));
    file.write("import QtQuick 2.15\nItem {\n    width: 10 +\n");
    file.close();
    QQmlApplicationEngine engine;
    armGuard(app);
    const int code = Startup::loadAndRun(app, engine, QUrl::fromLocalFile(file.fileName()));
    return expectCode(code, -1, QStringLiteral("broken document"));
}

// The user reaches "EXIT" (no newer firmware) and presses it.
int exitButton(QGuiApplication& app)
{
    StandInSet objects;
    WindowDriver driver;
    objects.publishTo(driver);
    bool pressed = false;
    QString problem;
    QTimer::singleShot(0, &app, [&] {
        if (!driver.adopt()) {
            problem = QStringLiteral("no window");
            return;
        }
        for (const char* step : {"found", "versionCheck true", "click Update", "click EXIT"}) {
            if (!objects.play(QString::fromLatin1(step), driver)) {
                problem = objects.error();
                return;
            }
        }
        pressed = true;
    });
    armGuard(app);
    const int code = Startup::loadAndRun(app, driver.engine(), kMainUrl);
    if (!problem.isEmpty())
        return fail(problem);
    if (!pressed)
        return fail(QStringLiteral("EXIT was not pressed"));
    return expectCode(code, 0, QStringLiteral("EXIT button"));
}

// The user closes the window.
int closeWindow(QGuiApplication& app)
{
    WindowDriver driver;
    bool closed = false;
    QTimer::singleShot(0, &app, [&] {
        if (driver.adopt())
            closed = driver.window()->close();
    });
    armGuard(app);
    const int code = Startup::loadAndRun(app, driver.engine(), kMainUrl);
    if (!closed)
        return fail(QStringLiteral("the window was not there to close"));
    return expectCode(code, 0, QStringLiteral("window closed"));
}

int fonts()
{
    const int registered = Startup::registerFonts();
    if (registered != 3)
        return fail(QStringLiteral("%1 faces registered, expected 3").arg(registered));
    if (!QFontDatabase::families().contains(QStringLiteral("Poppins")))
        return fail(QStringLiteral("Poppins is not a known family"));
    const QStringList styles = QFontDatabase::styles(QStringLiteral("Poppins"));
    for (const char* style : {"Regular", "SemiBold", "Bold"}) {
        if (!styles.contains(QString::fromLatin1(style)))
            return fail(QStringLiteral("Poppins has no %1 face (has %2)").arg(style, styles.join(", ")));
    }
    QFont bold(QStringLiteral("Poppins"));
    bold.setBold(true);
    if (QFontInfo(bold).family() != QStringLiteral("Poppins"))
        return fail(QStringLiteral("a bold Poppins resolves to %1").arg(QFontInfo(bold).family()));
    return pass(QStringLiteral("fonts"));
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    const QIcon icon = Startup::applyIdentity(app, AppIdentity::fullEdition());
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();

    if (mode == QLatin1String("fonts"))
        return fonts();
    Startup::registerFonts();
    if (mode == QLatin1String("missing"))
        return missingDocument(app);
    if (mode == QLatin1String("broken"))
        return brokenDocument(app);
    if (mode == QLatin1String("exit"))
        return exitButton(app);
    if (mode == QLatin1String("close"))
        return closeWindow(app);
    return fail(QStringLiteral("unknown mode \"%1\"").arg(mode));
}
