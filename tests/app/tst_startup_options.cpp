// The programs' own start-up options: "--software-render" chooses Qt Quick's software
// renderer before the first window; anything else leaves the system's default. "--version"
// is asked by that word alone.
#include "Startup.h"

#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QtTest>

class StartupOptionsTest : public QObject
{
    Q_OBJECT

private slots:
    void optionIsFoundWhereverItStands()
    {
        const char* alone[] = {"Tavlo_App", "--software-render"};
        QVERIFY(Startup::wantsSoftwareRenderer(2, alone));
        const char* among[] = {"tavlo_demo", "--autoplay", "both", "--software-render", "--out", "x"};
        QVERIFY(Startup::wantsSoftwareRenderer(6, among));
    }

    void otherArgumentsAreNotTheOption()
    {
        const char* none[] = {"Tavlo_App"};
        QVERIFY(!Startup::wantsSoftwareRenderer(1, none));
        // The program's own name, a value, a prefix or a longer word are not the option.
        const char* name[] = {"--software-render"};
        QVERIFY(!Startup::wantsSoftwareRenderer(1, name));
        const char* near[] = {"Tavlo_App", "--software", "--software-renderer", "-software-render",
                              "--Software-Render", "software-render"};
        QVERIFY(!Startup::wantsSoftwareRenderer(6, near));
        const char* null[] = {"Tavlo_App", nullptr};
        QVERIFY(!Startup::wantsSoftwareRenderer(2, null));
        QVERIFY(!Startup::wantsSoftwareRenderer(0, nullptr));
    }

    void versionIsAskedOnlyByItsOwnWord()
    {
        const char* asked[] = {"Tavlo_App", "--software-render", "--version"};
        QVERIFY(Startup::wantsVersion(3, asked));
        const char* near[] = {"--version", "-version", "--versions", "version", "-v", nullptr};
        QVERIFY(!Startup::wantsVersion(6, near));
        QVERIFY(!Startup::wantsVersion(0, nullptr));
    }

    void preparingChoosesTheRendererOnlyWhenAsked()
    {
        const char* plain[] = {"Tavlo_App", "--autoplay", "update"};
        QVERIFY(!Startup::prepareBeforeApplication(3, plain));
        QCOMPARE(QQuickWindow::sceneGraphBackend(), QString());

        const char* software[] = {"Tavlo_App", "--software-render"};
        QVERIFY(Startup::prepareBeforeApplication(2, software));
        // The software renderer is a scene graph backend of its own.
        QCOMPARE(QQuickWindow::sceneGraphBackend(), QStringLiteral("software"));
    }
};

QTEST_APPLESS_MAIN(StartupOptionsTest)
#include "tst_startup_options.moc"
