// Who the programs say they are: one version, the project's, in every program, package file,
// manual page and Windows resource; each edition's names as its menu entry has them.
#include "AppIdentity.h"
#include "Startup.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

namespace {

QString sourceFile(const QString& path)
{
    QFile file(QStringLiteral(TAVLO_SOURCE_DIR "/") + path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

// The value of a key of a desktop file's main group.
QString desktopValue(const QString& text, const QString& key)
{
    const QRegularExpression line(QStringLiteral("^") + QRegularExpression::escape(key)
                                      + QStringLiteral("=(.*)$"),
                                  QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = line.match(text);
    return match.hasMatch() ? match.captured(1) : QString();
}

} // namespace

class IdentityTest : public QObject
{
    Q_OBJECT

private slots:
    void reportedVersion_data();
    void reportedVersion();
    void versionPlaces_data();
    void versionPlaces();
    void desktopEntry_data();
    void desktopEntry();
};

void IdentityTest::reportedVersion_data()
{
    QTest::addColumn<QString>("program"); // run with --version; empty: the identity itself
    QTest::addColumn<QString>("identityVersion");
    QTest::addColumn<QString>("expectedLine");

    const QString version = QStringLiteral(TAVLO_EXPECTED_VERSION);
    QTest::newRow("full edition's identity")
        << QString() << AppIdentity::fullEdition().applicationVersion << QString();
    QTest::newRow("update-only edition's identity")
        << QString() << AppIdentity::updateOnlyEdition().applicationVersion << QString();
    QTest::newRow("full edition's window program")
        << QStringLiteral(TAVLO_FULL_PROGRAM) << version << QStringLiteral("Tavlo ") + version;
    QTest::newRow("update-only edition's window program")
        << QStringLiteral(TAVLO_UPDATER_PROGRAM) << version
        << QStringLiteral("Tavlo Updater ") + version;
    QTest::newRow("command line") << QStringLiteral(TAVLO_CLI_PROGRAM) << version
                                  << QStringLiteral("tavlo ") + version;
}

void IdentityTest::reportedVersion()
{
    QFETCH(QString, program);
    QFETCH(QString, identityVersion);
    QFETCH(QString, expectedLine);

    QCOMPARE(identityVersion, QStringLiteral(TAVLO_EXPECTED_VERSION));
    if (program.isEmpty())
        return;
    // Without a display: the windowed programs answer before they open one.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, {QStringLiteral("--version")});
    QVERIFY2(process.waitForFinished(30000), qPrintable(program));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(process.readAllStandardOutput()).trimmed(), expectedLine);
}

void IdentityTest::versionPlaces_data()
{
    // Every place a version is written but the project() line: each must name a variable
    // that comes from the project's version, never a number of its own.
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("slot");    // the version's place, captured as group 1
    QTest::addColumn<QString>("allowed"); // what the captured text must be
    QTest::addColumn<int>("count");       // how many places the file has

    const QString cmakeVersion = QStringLiteral("\\$\\{(PROJECT_VERSION|TAVLO_PROGRAM_VERSION|file_version)\\}");
    const QString configured = QStringLiteral("@TAVLO_(FULL|UPDATER)_VERSION@");
    QTest::newRow("window programs' Windows resources")
        << "app/CMakeLists.txt" << "tavlo_windows_resource\\([^)]*\\s(\\S+)\\)" << cmakeVersion << 2;
    QTest::newRow("command line's Windows resource")
        << "cli/CMakeLists.txt" << "tavlo_windows_resource\\([^)]*\\s(\\S+)\\)" << cmakeVersion << 1;
    QTest::newRow("packages' versions")
        << "packaging/CMakeLists.txt" << "\\b(?:TAVLO_\\w*VERSION|CPACK_PACKAGE_VERSION)\\s+([^)\\s]+)\\)"
        << "\\$\\{PROJECT_VERSION\\}" << 3;
    QTest::newRow("full edition's metainfo")
        << "resources/desktop/com.tavlo_instruments.Tavlo.metainfo.xml.in"
        << "<release version=\"([^\"]*)\"" << configured << 1;
    QTest::newRow("update-only edition's metainfo")
        << "resources/desktop/com.tavlo_instruments.TavloUpdater.metainfo.xml.in"
        << "<release version=\"([^\"]*)\"" << configured << 1;
    QTest::newRow("changelog") << "resources/desktop/changelog.in" << "^\\S+ \\(([^)]*)\\)" << configured << 1;
    for (const char* page : {"tavlo.1.in", "tavlo-app.1", "tavlo-updater.1"})
        QTest::newRow(page) << QStringLiteral("resources/desktop/") + QLatin1String(page)
                            << "^\\.TH .* (\\S+)\" \"User Commands\"" << configured << 1;
    QTest::newRow("the identity has no version of its own")
        << "app/AppIdentity.cpp" << "\"(\\d+\\.\\d+[0-9.]*)\"" << "-" << 0;
}

void IdentityTest::versionPlaces()
{
    QFETCH(QString, file);
    QFETCH(QString, slot);
    QFETCH(QString, allowed);
    QFETCH(int, count);

    const QString text = sourceFile(file);
    QVERIFY2(!text.isEmpty(), qPrintable(file));
    const QRegularExpression place(slot, QRegularExpression::MultilineOption);
    const QRegularExpression fine(QStringLiteral("^(?:") + allowed + QStringLiteral(")$"));
    int found = 0;
    for (auto it = place.globalMatch(text); it.hasNext();) {
        const QString captured = it.next().captured(1);
        ++found;
        QVERIFY2(fine.match(captured).hasMatch(),
                 qPrintable(file + QStringLiteral(": a version of its own: ") + captured));
    }
    QCOMPARE(found, count);
}

void IdentityTest::desktopEntry_data()
{
    QTest::addColumn<QString>("desktopFile");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("desktopId");
    QTest::addColumn<QString>("windowTitleSource");

    const AppIdentity full = AppIdentity::fullEdition();
    const AppIdentity updater = AppIdentity::updateOnlyEdition();
    QTest::newRow("full edition") << "resources/desktop/com.tavlo_instruments.Tavlo.desktop"
                                  << full.applicationName << full.desktopFileName << "qml/main.qml";
    QTest::newRow("update-only edition")
        << "resources/desktop/com.tavlo_instruments.TavloUpdater.desktop" << updater.applicationName
        << updater.desktopFileName << "qml/updater/main.qml";
}

void IdentityTest::desktopEntry()
{
    QFETCH(QString, desktopFile);
    QFETCH(QString, name);
    QFETCH(QString, desktopId);
    QFETCH(QString, windowTitleSource);

    const QString entry = sourceFile(desktopFile);
    QVERIFY2(!entry.isEmpty(), qPrintable(desktopFile));
    // The window is titled with the menu's name, and its X11 class (Qt: the application
    // name) is the one the entry names, so that docks put the window under its entry.
    QCOMPARE(desktopValue(entry, QStringLiteral("Name")), name);
    QCOMPARE(desktopValue(entry, QStringLiteral("StartupWMClass")), name);
    QCOMPARE(QFileInfo(desktopFile).completeBaseName(), desktopId);
    // (the display name is the application name: no program sets one of its own)
    QVERIFY(sourceFile(windowTitleSource).contains(QStringLiteral("title: Qt.application.displayName\n")));
}

QTEST_GUILESS_MAIN(IdentityTest)
#include "tst_identity.moc"
