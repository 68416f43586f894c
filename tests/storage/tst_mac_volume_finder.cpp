// The macOS volume discovery of both editions, run on any system against scripted tools:
// which programs run with which arguments in which order, when the disk is mounted, and what
// is returned. The QProcess runner itself runs real programs, with no shell in between.
#include <MacUpdateVolumeFinder.h>
#include <MacVolumeFinder.h>
#include <ProcessRunner.h>
#include <QProcessRunner.h>

#include <QElapsedTimer>
#include <QtTest>

#include <vector>

namespace {
// Answers each call whose program and arguments (joined by blanks) start with a key with that
// key's answer (the first key in order that matches); a call nothing matches prints nothing
// and exits 0. Records every call.
class ScriptedTools : public ProcessRunner
{
public:
    std::vector<std::pair<std::string, std::optional<Result>>> script;
    std::vector<std::vector<std::string>> calls;

    std::optional<Result> run(const std::string& program, const std::vector<std::string>& arguments) override
    {
        std::vector<std::string> call{program};
        call.insert(call.end(), arguments.begin(), arguments.end());
        calls.push_back(call);
        std::string line = program;
        for (const std::string& argument : arguments)
            line += ' ' + argument;
        for (const auto& [key, answer] : script) {
            if (line.rfind(key, 0) == 0)
                return answer;
        }
        return Result{};
    }
    // The calls as short names: the program and, for diskutil, its verb and for a mount its
    // device.
    QStringList steps() const
    {
        QStringList names;
        for (const auto& call : calls) {
            QString name = QString::fromStdString(call[0]);
            if (call[0] == "diskutil" && call.size() > 1) {
                name += ':' + QString::fromStdString(call[1]);
                if (call[1] == "mount" && call.size() > 2)
                    name += ':' + QString::fromStdString(call[2]);
            }
            names << name;
        }
        return names;
    }
};

std::optional<ProcessRunner::Result> printing(const QByteArray& output, int exitCode = 0)
{
    return ProcessRunner::Result{exitCode, output.toStdString()};
}

const char* const kIoreg = "+-o Tavlo-Host\n    |   \"BSD Name\" = \"disk4\"\n";
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
    void namesReachOnlyDiskutilAsArguments();
    void processRunner();
};

void TestMacVolumeFinder::fullEdition_data()
{
    QTest::addColumn<QByteArray>("ioreg");
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QByteArray>("mounted");
    QTest::addColumn<int>("mountExit");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QStringList>("steps");

    const QStringList mountedSteps{"ioreg", "diskutil:info", "diskutil:info"};
    const QStringList mountingSteps{"ioreg", "diskutil:info", "diskutil:mount:/dev/disk4", "diskutil:info"};
    QTest::newRow("mounted") << QByteArray(kIoreg) << QByteArray() << QByteArray("   Mounted:   Yes\n") << 0
                             << "TAVLO" << mountedSteps;
    QTest::newRow("not mounted") << QByteArray(kIoreg) << QByteArray() << QByteArray("   Mounted:   No\n") << 0
                                 << "TAVLO" << mountingSteps;
    // No mount state at all counts as not mounted.
    QTest::newRow("mount state missing") << QByteArray(kIoreg) << QByteArray() << QByteArray("   Device: disk4\n") << 0
                                         << "TAVLO" << mountingSteps;
    // A disk that cannot be mounted has no volume to hand the update to.
    QTest::newRow("mount refused") << QByteArray(kIoreg) << QByteArray() << QByteArray("   Mounted:   No\n") << 1
                                   << "" << QStringList(mountingSteps.mid(0, 3));
    // A BSD name far below the instrument's entry belongs to another device.
    QTest::newRow("BSD name of another device")
        << QByteArray("+-o Tavlo-Host\n" + QByteArray("  |\n").repeated(21) + "  \"BSD Name\" = \"disk2\"\n")
        << QByteArray("/dev/disk0 (internal):\n") << QByteArray("Mounted: Yes") << 0 << ""
        << QStringList{"ioreg", "diskutil:list"};
    QTest::newRow("found by diskutil list")
        << QByteArray() << QByteArray("/dev/disk5 (external):\n   1: DOS_FAT_32 TAVLO 2.0 GB disk5s1\n")
        << QByteArray("Mounted: Yes") << 0 << "TAVLO"
        << QStringList{"ioreg", "diskutil:list", "diskutil:info", "diskutil:info"};
    QTest::newRow("not found") << QByteArray() << QByteArray("/dev/disk0 (internal):\n") << QByteArray("Yes") << 0
                               << "" << QStringList{"ioreg", "diskutil:list"};
    // A name that is not a disk identifier never reaches diskutil.
    QTest::newRow("unsafe name from the list")
        << QByteArray() << QByteArray("   1: DOS_FAT_32 TAVLO 2.0 GB disk5;reboot\n") << QByteArray("Yes") << 0
        << "" << QStringList{"ioreg", "diskutil:list"};
}

void TestMacVolumeFinder::fullEdition()
{
    QFETCH(QByteArray, ioreg);
    QFETCH(QByteArray, list);
    QFETCH(QByteArray, mounted);
    QFETCH(int, mountExit);
    QFETCH(QString, expected);
    QFETCH(QStringList, steps);

    auto tools = std::make_shared<ScriptedTools>();
    tools->script = {{"ioreg -r -c IOUSBHostDevice -l", printing(ioreg)},
                     {"diskutil list", printing(list)},
                     {"diskutil mount", printing("", mountExit)},
                     {"diskutil info", printing(mounted + "\n   Volume Name:   TAVLO \r\n")}};
    MacVolumeFinder finder(tools, 0);
    QCOMPARE(finder.findDeviceVolumeMacOS(), expected);
    QCOMPARE(tools->steps(), steps);
}

void TestMacVolumeFinder::fullEditionWaitsAfterMounting()
{
    auto tools = std::make_shared<ScriptedTools>();
    tools->script = {{"ioreg", printing(kIoreg)}, {"diskutil info", printing("Mounted: No")}};
    MacVolumeFinder finder(tools, 80);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(finder.findDeviceVolumeMacOS(), QString());
    QVERIFY(clock.elapsed() >= 80);

    // A tool that cannot start ends the discovery with nothing found.
    auto broken = std::make_shared<ScriptedTools>();
    broken->script = {{"ioreg", std::nullopt}};
    QCOMPARE(MacVolumeFinder(broken, 0).findDeviceVolumeMacOS(), QString());
    QCOMPARE(broken->steps(), QStringList{"ioreg"});
}

void TestMacVolumeFinder::updateEdition_data()
{
    QTest::addColumn<QByteArray>("profile");
    QTest::addColumn<QByteArray>("mounted");
    QTest::addColumn<int>("mountExit");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QStringList>("steps");

    const QStringList mountingSteps{"system_profiler", "diskutil:info", "diskutil:mount:/dev/disk6", "diskutil:info"};
    QTest::newRow("mounted") << QByteArray(kProfiler) << QByteArray("   Mounted: Yes\n") << 0 << "tavloupd"
                             << QStringList{"system_profiler", "diskutil:info", "diskutil:info"};
    QTest::newRow("not mounted") << QByteArray(kProfiler) << QByteArray("   Mounted: No\n") << 0 << "tavloupd"
                                 << mountingSteps;
    QTest::newRow("mount refused") << QByteArray(kProfiler) << QByteArray("   Mounted: No\n") << 1 << ""
                                   << mountingSteps.mid(0, 3);
    // Only an exact "No" mounts; an empty answer does not.
    QTest::newRow("mount state empty") << QByteArray(kProfiler) << QByteArray("") << 0 << "tavloupd"
                                       << QStringList{"system_profiler", "diskutil:info", "diskutil:info"};
    QTest::newRow("no instrument") << QByteArray("USB:\n") << QByteArray("Yes") << 0 << ""
                                   << QStringList{"system_profiler"};
    QTest::newRow("tool cannot start") << QByteArray("<broken>") << QByteArray("Yes") << 0 << ""
                                       << QStringList{"system_profiler"};
}

void TestMacVolumeFinder::updateEdition()
{
    QFETCH(QByteArray, profile);
    QFETCH(QByteArray, mounted);
    QFETCH(int, mountExit);
    QFETCH(QString, expected);
    QFETCH(QStringList, steps);

    auto tools = std::make_shared<ScriptedTools>();
    tools->script = {{"system_profiler SPUSBDataType", profile == "<broken>" ? std::nullopt : printing(profile)},
                     {"diskutil mount", printing("", mountExit)},
                     {"diskutil info", printing(mounted + "   Volume Name: tavloupd\n")}};
    MacUpdateVolumeFinder finder(tools);
    QCOMPARE(finder.findDeviceVolumeMacOS(), expected);
    QCOMPARE(tools->steps(), steps);
}

// Whatever the tools print, a device reaches diskutil as one argument of its own, "/dev/"
// and a disk identifier.
void TestMacVolumeFinder::namesReachOnlyDiskutilAsArguments()
{
    for (const char* name : {"disk4s1", "disk4s1 $(reboot)", "disk4;reboot", "disk4s1x", "disk4s"}) {
        auto full = std::make_shared<ScriptedTools>();
        full->script = {{"ioreg", printing(QByteArray("Tavlo-Host\n\"BSD Name\" = \"") + name + "\"\n")},
                        {"diskutil info", printing("Mounted: No\n")}};
        MacVolumeFinder(full, 0).findDeviceVolumeMacOS();
        auto updater = std::make_shared<ScriptedTools>();
        updater->script = {{"system_profiler", printing(QByteArray(kProfiler).replace("disk6", name))},
                           {"diskutil info", printing("Mounted: No\n")}};
        MacUpdateVolumeFinder(updater).findDeviceVolumeMacOS();
        const bool valid = QByteArray(name) == "disk4s1";
        for (const auto* tools : {full.get(), updater.get()}) {
            int devices = 0;
            for (const auto& call : tools->calls) {
                QVERIFY(call[0] == "ioreg" || call[0] == "diskutil" || call[0] == "system_profiler");
                for (const std::string& argument : call) {
                    if (argument.rfind("/dev/", 0) == 0) {
                        ++devices;
                        QCOMPARE(QString::fromStdString(argument), QString("/dev/disk4s1"));
                    }
                }
            }
            QCOMPARE(devices > 0, valid);
        }
    }
}

void TestMacVolumeFinder::processRunner()
{
    QProcessRunner tools(5000);
    // Arguments reach the program as they are: nothing is read by a shell.
    const auto echoed = tools.run("printf", {"%s|%s", "a;b $(false) `x`", "*"});
    QVERIFY(echoed.has_value());
    QCOMPARE(QString::fromStdString(echoed->output), QString("a;b $(false) `x`|*"));
    QCOMPARE(echoed->exitCode, 0);
    // A large output is read whole; the exit code is handed back.
    const auto long_ = tools.run("head", {"-c", "300000", "/dev/zero"});
    QVERIFY(long_.has_value());
    QCOMPARE(long_->output.size(), std::size_t(300000));
    const auto failed = tools.run("sh", {"-c", "exit 3"});
    QVERIFY(failed.has_value());
    QCOMPARE(failed->exitCode, 3);
    // A program that is not there, or runs past the time limit, gives nothing.
    QCOMPARE(tools.run("tavlo-no-such-program", {}).has_value(), false);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(QProcessRunner(200).run("sleep", {"10"}).has_value(), false);
    QVERIFY(clock.elapsed() < 5000);
}

QTEST_GUILESS_MAIN(TestMacVolumeFinder)
#include "tst_mac_volume_finder.moc"
