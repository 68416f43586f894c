// The computer check as a whole, over fakes of its seams: which result each check comes to,
// that none waits past its limit, and that the instrument is never asked on ports of its own.
#include "ComputerCheck.h"
#include "DiagnosisReport.h"
#include "FolderSpace.h"
#include "MidiBackend.h"
#include "MidiInput.h"
#include "MidiOutput.h"
#include "Presence.h"
#include "UsbIdentityLookup.h"
#include "VolumeList.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

Q_DECLARE_METATYPE(CheckResult::Outcome)

namespace {

const QString kTavloPort = QStringLiteral("Tavlo:Tavlo MIDI 1 24:0");

// Ports listed by name; any open is counted (the check must never open one).
struct Ports
{
    std::vector<std::string> names;
    int opens = 0;
};

class FakeInput : public MidiInput
{
public:
    explicit FakeInput(Ports& ports) : ports(ports) {}
    std::optional<unsigned int> getPortCount() override { return unsigned(ports.names.size()); }
    std::optional<std::string> getPortName(unsigned int i) override { return ports.names.at(i); }
    bool openPort(unsigned int, const std::string&) override { return ++ports.opens, true; }
    bool closePort() override { return true; }
    bool setCallback(Callback, void*) override { return true; }
    bool cancelCallback() override { return true; }
    bool ignoreTypes(bool, bool, bool) override { return true; }
    Ports& ports;
};

class FakeOutput : public MidiOutput
{
public:
    explicit FakeOutput(Ports& ports) : ports(ports) {}
    std::optional<unsigned int> getPortCount() override { return unsigned(ports.names.size()); }
    std::optional<std::string> getPortName(unsigned int i) override { return ports.names.at(i); }
    bool openPort(unsigned int, const std::string&) override { return ++ports.opens, true; }
    bool closePort() override { return true; }
    bool sendMessage(const std::vector<unsigned char>&) override { return true; }
    Ports& ports;
};

// A MIDI system that works with the ports given, or fails with the problem given.
class FakeMidi : public MidiBackend
{
public:
    std::unique_ptr<MidiInput> createInput() override
    {
        problem = failure;
        return failure.isProblem() ? nullptr : std::make_unique<FakeInput>(ports);
    }
    std::unique_ptr<MidiOutput> createOutput() override
    {
        problem = failure;
        return failure.isProblem() ? nullptr : std::make_unique<FakeOutput>(ports);
    }
    MidiProblem lastProblem() const override { return problem; }
    MidiProblem failure;
    MidiProblem problem;
    Ports ports;
};

class FakeUsb : public UsbIdentityLookup
{
public:
    UsbIds lookUp(const QString& port) override
    {
        if (port != kTavloPort)
            return {};
        return {true, QStringLiteral("1D6B"), QStringLiteral("0104")};
    }
};

class FakeVolumes : public VolumeList
{
public:
    QList<VolumeInfo> mountedVolumes() override
    {
        QThread::msleep(delayMs);
        return {};
    }
    unsigned long delayMs = 0;
};

class FakeSpace : public FolderSpace
{
public:
    QString tryWrite(const QString&) override { return refusal; }
    qint64 freeBytes(const QString&) override { return free; }
    QString refusal;
    qint64 free = qint64(10e9);
};

} // namespace

class TestComputerCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void outcomes_data();
    void outcomes();
    void waitsForTheLinksAnswer();
    void aLateStorageThreadIsSaidAsSuch();
};

void TestComputerCheck::outcomes_data()
{
    QTest::addColumn<int>("midiFailure");
    QTest::addColumn<bool>("instrumentOnBus");
    QTest::addColumn<QString>("firmware");
    QTest::addColumn<QString>("heldBy");
    QTest::addColumn<QString>("refusal");
    // MIDI system, ports, instrument, server, folder, volumes.
    QTest::addColumn<QList<CheckResult::Outcome>>("outcomes");
    using K = MidiProblem::Kind;
    using O = CheckResult::Outcome;
    // The server in these rows is an address where nothing listens: always a problem.
    QTest::newRow("instrument connected, answered")
        << int(K::None) << true << "1.5.2" << "" << ""
        << QList<O>{O::Ok, O::Ok, O::Ok, O::Problem, O::Ok, O::Ok};
    QTest::newRow("no instrument: a note")
        << int(K::None) << false << "" << "" << ""
        << QList<O>{O::Ok, O::Note, O::Note, O::Problem, O::Ok, O::Ok};
    QTest::newRow("no MIDI system: the instrument not asked")
        << int(K::ServiceMissing) << true << "1.5.2" << "" << ""
        << QList<O>{O::Problem, O::NotRun, O::NotRun, O::Problem, O::Ok, O::Ok};
    QTest::newRow("MIDI not allowed") << int(K::PermissionDenied) << false << "" << "" << ""
        << QList<O>{O::Problem, O::NotRun, O::NotRun, O::Problem, O::Ok, O::Ok};
    QTest::newRow("held by another program")
        << int(K::None) << true << "" << "The window has it." << ""
        << QList<O>{O::Ok, O::Ok, O::NotRun, O::Problem, O::Ok, O::Ok};
    QTest::newRow("download folder not writable")
        << int(K::None) << false << "" << "" << "Read-only file system"
        << QList<O>{O::Ok, O::Note, O::Note, O::Problem, O::Problem, O::Ok};
}

void TestComputerCheck::outcomes()
{
    QFETCH(int, midiFailure);
    QFETCH(bool, instrumentOnBus);
    QFETCH(QString, firmware);
    QFETCH(QString, heldBy);
    QFETCH(QString, refusal);
    QFETCH(QList<CheckResult::Outcome>, outcomes);

    auto midi = std::make_shared<FakeMidi>();
    midi->failure.kind = MidiProblem::Kind(midiFailure);
    midi->ports.names = {"Midi Through:Midi Through Port-0 14:0"};
    if (instrumentOnBus)
        midi->ports.names.push_back(kTavloPort.toStdString());
    auto space = std::make_shared<FakeSpace>();
    space->refusal = refusal;
    Presence presence;
    presence.onDeviceFound(instrumentOnBus);
    if (!firmware.isEmpty())
        presence.onVersionReported(firmware);
    QTemporaryDir folder;
    QThread storageThread;
    QObject storage;
    storage.moveToThread(&storageThread);
    storageThread.start();

    ComputerCheck::Sources sources;
    sources.midi = midi;
    sources.usb = std::make_shared<FakeUsb>();
    sources.volumes = std::make_shared<FakeVolumes>();
    sources.space = space;
    sources.storage = &storage;
    sources.presence = &presence;
    sources.heldBy = heldBy;
    sources.server = QUrl(QStringLiteral("https://127.0.0.1:9"));
    sources.downloadFolder = folder.filePath(QStringLiteral("updates"));
    ComputerCheck check(sources, {500, 3000, 3000});
    QSignalSpy finished(&check, &ComputerCheck::finished);
    check.start();
    QVERIFY(check.running());
    QVERIFY(finished.wait(5000));
    storageThread.quit();
    storageThread.wait();

    QList<CheckResult::Outcome> seen;
    for (const CheckResult& result : check.results())
        seen << result.outcome;
    QCOMPARE(seen, outcomes);
    QCOMPARE(midi->ports.opens, 0);
    QVERIFY(!check.running());
    QCOMPARE(check.lines().size(), 6);
    QVERIFY(check.report().contains(DiagnosisReport::line(check.results().at(2))));
}

void TestComputerCheck::waitsForTheLinksAnswer()
{
    // The ports are there, the link has not heard the version yet: the check waits for it.
    auto midi = std::make_shared<FakeMidi>();
    midi->ports.names = {kTavloPort.toStdString()};
    Presence presence;
    presence.onDeviceFound(true);
    QTemporaryDir folder;
    ComputerCheck::Sources sources;
    sources.midi = midi;
    sources.usb = std::make_shared<FakeUsb>();
    sources.space = std::make_shared<FakeSpace>();
    sources.presence = &presence;
    sources.server = QUrl(QStringLiteral("https://127.0.0.1:9"));
    sources.downloadFolder = folder.path();
    ComputerCheck check(sources, {2000, 3000, 3000});
    QSignalSpy finished(&check, &ComputerCheck::finished);
    check.start();
    QTimer::singleShot(100, &presence, [&presence] { presence.onVersionReported(QStringLiteral("1.6.0")); });
    QVERIFY(finished.wait(5000));
    QCOMPARE(check.results().at(2).outcome, CheckResult::Outcome::Ok);
    QVERIFY(check.results().at(2).text.contains(QLatin1String("1.6.0")));

    // Silent: a problem once the limit has passed.
    Presence quiet;
    quiet.onDeviceFound(true);
    QElapsedTimer clock;
    clock.start();
    sources.presence = &quiet;
    ComputerCheck again(sources, {300, 3000, 3000});
    QSignalSpy againFinished(&again, &ComputerCheck::finished);
    again.start();
    QVERIFY(againFinished.wait(5000));
    QCOMPARE(again.results().at(2).outcome, CheckResult::Outcome::Problem);
    // Not before its limit (a timer may fire a little early).
    QVERIFY(clock.elapsed() >= 250);
}

void TestComputerCheck::aLateStorageThreadIsSaidAsSuch()
{
    auto volumes = std::make_shared<FakeVolumes>();
    volumes->delayMs = 800;
    QTemporaryDir folder;
    QThread storageThread;
    QObject storage;
    storage.moveToThread(&storageThread);
    storageThread.start();
    ComputerCheck::Sources sources;
    sources.midi = std::make_shared<FakeMidi>();
    sources.volumes = volumes;
    sources.space = std::make_shared<FakeSpace>();
    sources.storage = &storage;
    sources.server = QUrl(QStringLiteral("https://127.0.0.1:9"));
    sources.downloadFolder = folder.path();
    {
        ComputerCheck check(sources, {300, 3000, 200});
        QSignalSpy finished(&check, &ComputerCheck::finished);
        check.start();
        QVERIFY(finished.wait(5000));
        QCOMPARE(check.results().at(5).outcome, CheckResult::Outcome::NotRun);
        QVERIFY(check.results().at(5).text.contains(QLatin1String("did not come within")));
        // The check ends while the storage thread still works on it: nothing is handed back.
    }
    storageThread.quit();
    QVERIFY(storageThread.wait(5000));
}

QTEST_GUILESS_MAIN(TestComputerCheck)
#include "tst_computer_check.moc"
