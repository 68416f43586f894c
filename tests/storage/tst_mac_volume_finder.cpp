// The macOS volume discovery of both editions, run on any system against a scripted shell:
// which commands run in which order, when the disk is mounted, and what is returned. The
// popen runner itself runs real commands.
#include <MacUpdateVolumeFinder.h>
#include <MacVolumeFinder.h>
#include <PopenShellRunner.h>
#include <ShellCommandRunner.h>

#include <QElapsedTimer>
#include <QtTest>

#include <map>
#include <vector>

namespace {
// Answers each command whose text contains a key with that key's output (the first key in
// order that matches); a command nothing matches prints nothing. Records every command.
class ScriptedShell : public ShellCommandRunner
{
public:
    std::vector<std::pair<std::string, std::optional<std::string>>> script;
    QStringList commands;

    std::optional<std::string> run(const std::string& command) override
    {
        commands.append(QString::fromStdString(command));
        for (const auto& [key, output] : script) {
            if (command.find(key) != std::string::npos)
                return output;
        }
        return std::string();
    }
    // The commands as short names: the program and, for diskutil, its verb and what it greps.
    QStringList steps() const
    {
        QStringList names;
        for (const QString& c : commands) {
            if (c.startsWith("diskutil info"))
                names << (c.contains("'Mounted'") ? "info:mounted" : "info:volume");
            else if (c.startsWith("diskutil mount"))
                names << "mount:" + c.section(' ', 2, 2);
            else
                names << c.section(' ', 0, 0) + (c.startsWith("diskutil") ? ":" + c.section(' ', 1, 1) : "");
        }
        return names;
    }
};

const char* const kIoreg = "    |   \"BSD Name\" = \"disk4\"\n";
const char* const kProfiler = "Tavlo-Host:\n  File-Stor Gadget:\n    BSD Name: disk6\n";
} // namespace

class TestMacVolumeFinder : public QObject
{
    Q_OBJECT

private slots:
    void fullEdition_data();
    void fullEdition();
    void fullEditionWaitsAfterMounting();
    void updateEdition_data();
    void updateEdition();
    void popenRunner();
};

void TestMacVolumeFinder::fullEdition_data()
{
    QTest::addColumn<QByteArray>("ioreg");
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QByteArray>("mounted");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QStringList>("steps");

    const QStringList mountedSteps{"ioreg", "info:mounted", "info:volume"};
    QTest::newRow("mounted") << QByteArray(kIoreg) << QByteArray() << QByteArray(" Yes\n") << "TAVLO" << mountedSteps;
    QTest::newRow("not mounted") << QByteArray(kIoreg) << QByteArray() << QByteArray("No\n") << "TAVLO"
                                 << QStringList{"ioreg", "info:mounted", "mount:/dev/disk4", "info:volume"};
    QTest::newRow("mount state empty") << QByteArray(kIoreg) << QByteArray() << QByteArray("\n") << "TAVLO"
                                       << QStringList{"ioreg", "info:mounted", "mount:/dev/disk4", "info:volume"};
    QTest::newRow("found by diskutil list")
        << QByteArray() << QByteArray("/dev/disk5 (external):\n   1: DOS_FAT_32 TAVLO 2.0 GB disk5s1\n")
        << QByteArray("Yes") << "TAVLO" << QStringList{"ioreg", "diskutil:list", "info:mounted", "info:volume"};
    QTest::newRow("not found") << QByteArray() << QByteArray("/dev/disk0 (internal):\n") << QByteArray("Yes")
                               << "" << QStringList{"ioreg", "diskutil:list"};
    // A name that is not a plain disk name never reaches a command.
    QTest::newRow("unsafe name from the list")
        << QByteArray() << QByteArray("   1: DOS_FAT_32 TAVLO 2.0 GB disk5;reboot\n") << QByteArray("Yes") << ""
        << QStringList{"ioreg", "diskutil:list"};
}

void TestMacVolumeFinder::fullEdition()
{
    QFETCH(QByteArray, ioreg);
    QFETCH(QByteArray, list);
    QFETCH(QByteArray, mounted);
    QFETCH(QString, expected);
    QFETCH(QStringList, steps);

    auto shell = std::make_shared<ScriptedShell>();
    shell->script = {{"ioreg", ioreg.toStdString()},
                     {"diskutil list", list.toStdString()},
                     {"'Mounted'", mounted.toStdString()},
                     {"'Volume Name'", std::string(" TAVLO \r\n")}};
    MacVolumeFinder finder(shell, 0);
    QCOMPARE(finder.findDeviceVolumeMacOS(), expected);
    QCOMPARE(shell->steps(), steps);
}

void TestMacVolumeFinder::fullEditionWaitsAfterMounting()
{
    auto shell = std::make_shared<ScriptedShell>();
    shell->script = {{"ioreg", std::string(kIoreg)}, {"'Mounted'", std::string("No")}};
    MacVolumeFinder finder(shell, 80);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(finder.findDeviceVolumeMacOS(), QString());
    QVERIFY(clock.elapsed() >= 80);

    // A shell that cannot start ends the discovery with nothing found.
    auto broken = std::make_shared<ScriptedShell>();
    broken->script = {{"ioreg", std::nullopt}};
    QCOMPARE(MacVolumeFinder(broken, 0).findDeviceVolumeMacOS(), QString());
    QCOMPARE(broken->steps(), QStringList{"ioreg"});
}

void TestMacVolumeFinder::updateEdition_data()
{
    QTest::addColumn<QByteArray>("profile");
    QTest::addColumn<QByteArray>("mounted");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QStringList>("steps");

    QTest::newRow("mounted") << QByteArray(kProfiler) << QByteArray(" Yes\n") << "tavloupd"
                             << QStringList{"system_profiler", "info:mounted", "info:volume"};
    QTest::newRow("not mounted") << QByteArray(kProfiler) << QByteArray(" No\n") << "tavloupd"
                                 << QStringList{"system_profiler", "info:mounted", "mount:/dev/disk6", "info:volume"};
    // Only an exact "No" mounts; an empty answer does not.
    QTest::newRow("mount state empty") << QByteArray(kProfiler) << QByteArray("") << "tavloupd"
                                       << QStringList{"system_profiler", "info:mounted", "info:volume"};
    QTest::newRow("no instrument") << QByteArray("USB:\n") << QByteArray("Yes") << ""
                                   << QStringList{"system_profiler"};
    QTest::newRow("shell cannot start") << QByteArray("<broken>") << QByteArray("Yes") << ""
                                        << QStringList{"system_profiler"};
}

void TestMacVolumeFinder::updateEdition()
{
    QFETCH(QByteArray, profile);
    QFETCH(QByteArray, mounted);
    QFETCH(QString, expected);
    QFETCH(QStringList, steps);

    auto shell = std::make_shared<ScriptedShell>();
    std::optional<std::string> profileOutput = profile.toStdString();
    if (profile == "<broken>")
        profileOutput.reset();
    shell->script = {{"system_profiler", profileOutput},
                     {"'Mounted'", mounted.toStdString()},
                     {"'Volume Name'", std::string(" tavloupd\n")}};
    MacUpdateVolumeFinder finder(shell);
    QCOMPARE(finder.findDeviceVolumeMacOS(), expected);
    QCOMPARE(shell->steps(), steps);
    for (const QString& command : shell->commands)
        QVERIFY2(!command.contains("2>"), qPrintable(command)); // this edition keeps stderr
}

void TestMacVolumeFinder::popenRunner()
{
    PopenShellRunner shell;
    QCOMPARE(shell.run("echo hello"), std::optional<std::string>("hello\n"));
    // Longer than one 128-byte piece: the pieces are joined.
    const std::optional<std::string> long_ = shell.run("head -c 1000 /dev/zero | tr '\\0' x");
    QVERIFY(long_.has_value());
    QCOMPARE(long_->size(), std::size_t(1000));
    QCOMPARE(long_->find_first_not_of('x'), std::string::npos);
    QCOMPARE(shell.run("true"), std::optional<std::string>(std::string()));
}

QTEST_GUILESS_MAIN(TestMacVolumeFinder)
#include "tst_mac_volume_finder.moc"
