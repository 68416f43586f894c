// Each check's line for each of its outcomes, and the report made of them.
#include "CheckLines.h"
#include "DiagnosisReport.h"
#include "VolumeList.h"

#include <QTest>

Q_DECLARE_METATYPE(CheckResult::Outcome)

namespace {
using O = CheckResult::Outcome;

VolumeInfo volume(const QString& label, const QString& root, bool instrument, bool readOnly = false)
{
    VolumeInfo v;
    v.valid = true;
    v.ready = true;
    v.readOnly = readOnly;
    v.displayName = label;
    v.rootPath = root;
    v.usbChecked = true;
    v.usb.found = true;
    v.usb.vendorId = instrument ? QStringLiteral("1D6B") : QStringLiteral("0781");
    v.usb.productId = instrument ? QStringLiteral("0104") : QStringLiteral("5567");
    return v;
}
} // namespace

class TestCheckLines : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void midiSystem_data();
    void midiSystem();
    void midiPorts_data();
    void midiPorts();
    void instrument_data();
    void instrument();
    void releaseServer_data();
    void releaseServer();
    void downloadFolder_data();
    void downloadFolder();
    void volumes_data();
    void volumes();
    void report();
};

void TestCheckLines::midiSystem_data()
{
    QTest::addColumn<int>("inputKind");
    QTest::addColumn<int>("outputKind");
    QTest::addColumn<O>("outcome");
    QTest::addColumn<QString>("contains");
    using K = MidiProblem::Kind;
    QTest::newRow("both made") << int(K::None) << int(K::None) << O::Ok << "opens";
    QTest::newRow("no sequencer") << int(K::ServiceMissing) << int(K::ServiceMissing) << O::Problem
                                  << "modprobe snd-seq";
    QTest::newRow("not allowed") << int(K::PermissionDenied) << int(K::None) << O::Problem
                                 << "audio group";
    // The input was made, the output not: still a problem, with the output's reason.
    QTest::newRow("output alone fails") << int(K::None) << int(K::LibraryError) << O::Problem
                                        << "(the detail)";
}

void TestCheckLines::midiSystem()
{
    QFETCH(int, inputKind);
    QFETCH(int, outputKind);
    QFETCH(O, outcome);
    QFETCH(QString, contains);
    const CheckResult r = CheckLines::midiSystem({MidiProblem::Kind(inputKind), "the detail"},
                                                 {MidiProblem::Kind(outputKind), "the detail"});
    QCOMPARE(r.check, CheckResult::Check::MidiSystem);
    QCOMPARE(r.outcome, outcome);
    QVERIFY2(r.text.contains(contains), qPrintable(r.text));
}

void TestCheckLines::midiPorts_data()
{
    QTest::addColumn<bool>("listed");
    QTest::addColumn<QStringList>("ins");
    QTest::addColumn<QStringList>("outs");
    QTest::addColumn<O>("outcome");
    QTest::addColumn<QString>("contains");
    const QStringList in{"Tavlo:Tavlo MIDI 1 24:0"};
    const QStringList out{"Tavlo:Tavlo MIDI 1 24:0"};
    QTest::newRow("no MIDI system") << false << QStringList() << QStringList() << O::NotRun
                                    << "Without the MIDI system no ports can be listed.";
    QTest::newRow("none of them the instrument's") << true << QStringList() << QStringList()
                                                   << O::Note << "Ports seen: 3 in, 1 out; none of them is Tavlo's.";
    QTest::newRow("the instrument's pair") << true << in << out << O::Ok
        << "input \u201cTavlo:Tavlo MIDI 1 24:0\u201d, output \u201cTavlo:Tavlo MIDI 1 24:0\u201d";
    QTest::newRow("an input without its output") << true << in << QStringList() << O::Problem
                                                  << "only an input";
}

void TestCheckLines::midiPorts()
{
    QFETCH(bool, listed);
    QFETCH(QStringList, ins);
    QFETCH(QStringList, outs);
    QFETCH(O, outcome);
    QFETCH(QString, contains);
    const CheckResult r = CheckLines::midiPorts({listed, 3, 1, ins, outs});
    QCOMPARE(r.outcome, outcome);
    QVERIFY2(r.text.contains(contains), qPrintable(r.text));
}

void TestCheckLines::instrument_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<O>("outcome");
    QTest::addColumn<QString>("text");
    using S = CheckLines::Answer::State;
    QTest::newRow("no MIDI") << int(S::MidiUnusable) << O::NotRun
                             << "Without the MIDI system Tavlo cannot be reached.";
    // No instrument is no fault of the computer's.
    QTest::newRow("not connected") << int(S::NoPorts) << O::Note << "Tavlo is not connected.";
    QTest::newRow("held by the window") << int(S::Held) << O::NotRun << "Tavlo is not asked while another program holds it. The window has it.";
    QTest::newRow("answered") << int(S::Answered) << O::Ok << "Tavlo answered: firmware 1.5.2.";
    QTest::newRow("silent") << int(S::Silent) << O::Problem
        << "Tavlo's ports are there, but it did not report its firmware version within 8 s. "
           "Switch Tavlo off and on again, then check again.";
}

void TestCheckLines::instrument()
{
    QFETCH(int, state);
    QFETCH(O, outcome);
    QFETCH(QString, text);
    const CheckResult r = CheckLines::instrument({CheckLines::Answer::State(state), "1.5.2",
                                                  "The window has it.", 8000});
    QCOMPARE(r.outcome, outcome);
    QCOMPARE(r.text, text);
}

void TestCheckLines::releaseServer_data()
{
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("proxy");
    QTest::addColumn<O>("outcome");
    QTest::addColumn<QString>("contains");
    using R = CheckLines::Server::Result;
    QTest::newRow("read, no proxy") << int(R::Read) << "" << O::Ok
        << "The release catalogue was read from https://s/releases/releases.json (without a proxy); "
           "the latest of its versions is 1.6.0 (4 in all).";
    QTest::newRow("read through a proxy") << int(R::Read) << "proxy.example:3128" << O::Ok
                                          << "(through the proxy proxy.example:3128)";
    QTest::newRow("not a catalogue") << int(R::NotACatalogue) << "" << O::Problem
                                     << "not with a release catalogue (the detail)";
    QTest::newRow("tls: the sentence as it is") << int(R::Tls) << "" << O::Problem
        << "https://s/releases/releases.json (without a proxy): the detail";
    QTest::newRow("http status") << int(R::Http) << "" << O::Problem << "with the status 503";
    QTest::newRow("timed out") << int(R::TimedOut) << "" << O::Problem << "did not answer within 15 s";
    QTest::newRow("unreachable, no proxy") << int(R::Unreachable) << "" << O::Problem
        << "could not be reached (without a proxy): the detail. Check the internet connection, then";
    QTest::newRow("unreachable through a proxy") << int(R::Unreachable) << "p:8080" << O::Problem
        << "Check the internet connection and the proxy, then";
}

void TestCheckLines::releaseServer()
{
    QFETCH(int, result);
    QFETCH(QString, proxy);
    QFETCH(O, outcome);
    QFETCH(QString, contains);
    CheckLines::Server server;
    server.result = CheckLines::Server::Result(result);
    server.url = QStringLiteral("https://s/releases/releases.json");
    server.proxy = proxy;
    server.versions = 4;
    server.latest = QStringLiteral("1.6.0");
    server.httpStatus = 503;
    server.detail = QStringLiteral("the detail");
    server.limitMs = 15000;
    const CheckResult r = CheckLines::releaseServer(server);
    QCOMPARE(r.outcome, outcome);
    QVERIFY2(r.text.contains(contains), qPrintable(r.text));
}

void TestCheckLines::downloadFolder_data()
{
    QTest::addColumn<bool>("checked");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("writeError");
    QTest::addColumn<qint64>("freeBytes");
    QTest::addColumn<qint64>("updateBytes");
    QTest::addColumn<O>("outcome");
    QTest::addColumn<QString>("contains");
    const QString p = QStringLiteral("/home/u/.cache/tavlo/updates");
    QTest::newRow("late") << false << p << "" << qint64(-1) << qint64(-1) << O::NotRun << "busy";
    QTest::newRow("cannot be made") << true << "" << "" << qint64(-1) << qint64(-1) << O::Problem
                                    << "could not be made";
    QTest::newRow("not writable") << true << p << "Permission denied" << qint64(1e9) << qint64(-1)
                                  << O::Problem << "No file can be written in " + p + " (Permission denied)";
    QTest::newRow("room for the update") << true << p << "" << qint64(5e9) << qint64(21e6) << O::Ok
        << p + " is writable, with 5.0 GB free (the update on offer needs 21.0 MB).";
    QTest::newRow("just enough room") << true << p << "" << qint64(21e6) << qint64(21e6) << O::Ok
                                      << "is writable, with 21.0 MB free";
    QTest::newRow("no room for the update") << true << p << "" << qint64(20e6) << qint64(21e6)
                                            << O::Problem << "only 20.0 MB are free";
    // Without the update's size the floor stands in for it.
    QTest::newRow("size unknown, above the floor") << true << p << "" << qint64(300e6) << qint64(-1)
        << O::Ok << "(256.0 MB is asked for when the update's size is not known)";
    QTest::newRow("size unknown, below the floor") << true << p << "" << qint64(200e6) << qint64(-1)
                                                   << O::Problem << "only 200.0 MB are free";
    QTest::newRow("free space unknown") << true << p << "" << qint64(-1) << qint64(21e6) << O::Ok
                                        << "free space is not known";
}

void TestCheckLines::downloadFolder()
{
    QFETCH(bool, checked);
    QFETCH(QString, path);
    QFETCH(QString, writeError);
    QFETCH(qint64, freeBytes);
    QFETCH(qint64, updateBytes);
    QFETCH(O, outcome);
    QFETCH(QString, contains);
    CheckLines::Folder folder;
    folder.checked = checked;
    folder.path = path;
    folder.writable = writeError.isEmpty();
    folder.writeError = writeError;
    folder.freeBytes = freeBytes;
    folder.updateBytes = updateBytes;
    folder.limitMs = 5000;
    const CheckResult r = CheckLines::downloadFolder(folder);
    QCOMPARE(r.outcome, outcome);
    QVERIFY2(r.text.contains(contains), qPrintable(r.text));
}

void TestCheckLines::volumes_data()
{
    QTest::addColumn<bool>("listed");
    QTest::addColumn<QList<VolumeInfo>>("mounted");
    QTest::addColumn<O>("outcome");
    QTest::addColumn<QString>("contains");
    const VolumeInfo home = volume(QStringLiteral("home"), QStringLiteral("/home"), false);
    QTest::newRow("late") << false << QList<VolumeInfo>() << O::NotRun << "did not come within 5 s";
    QTest::newRow("normal mode: none") << true << QList<VolumeInfo>{home} << O::Ok
                                       << "None of Tavlo's volumes is mounted, as in normal mode.";
    QTest::newRow("transfer mode") << true
        << QList<VolumeInfo>{home, volume("TAVLO", "/media/u/TAVLO", true)} << O::Ok
        << "Tavlo's storage is mounted at /media/u/TAVLO (transfer mode).";
    QTest::newRow("update mode") << true << QList<VolumeInfo>{volume("tavloupd", "/media/u/tavloupd", true)}
                                 << O::Ok << "update volume is mounted at /media/u/tavloupd";
    QTest::newRow("a stranger named TAVLO") << true
        << QList<VolumeInfo>{volume("TAVLO", "/media/u/stick", false)} << O::Ok
        << "None of Tavlo's volumes is mounted, as in normal mode. A drive that is not Tavlo's is "
           "named TAVLO; it is left alone.";
    QTest::newRow("read-only") << true << QList<VolumeInfo>{volume("TAVLO", "/media/u/TAVLO", true, true)}
                               << O::Problem << "mounted read-only";
    QTest::newRow("two of its own") << true
        << QList<VolumeInfo>{volume("TAVLO", "/media/u/a", true), volume("TAVLO", "/media/u/b", true)}
        << O::Problem << "TAVLO";
}

void TestCheckLines::volumes()
{
    QFETCH(bool, listed);
    QFETCH(QList<VolumeInfo>, mounted);
    QFETCH(O, outcome);
    QFETCH(QString, contains);
    const CheckResult r = CheckLines::volumes(mounted, listed, 5000);
    QCOMPARE(r.outcome, outcome);
    QVERIFY2(r.text.contains(contains), qPrintable(r.text));
}

void TestCheckLines::report()
{
    using C = CheckResult::Check;
    const QList<CheckResult> results{{C::MidiSystem, O::Ok, "a."},
                                     {C::Instrument, O::Note, "Tavlo is not connected."},
                                     {C::Volumes, O::NotRun, "c."}};
    const QString text = DiagnosisReport::text(results, QDateTime(QDate(2026, 12, 9), QTime(23, 5)));
    QCOMPARE(text, QStringLiteral("Check of this computer, 2026-12-09 23:05:00\n"
                                  "MIDI system: OK. a.\n"
                                  "Tavlo: Note. Tavlo is not connected.\n"
                                  "Tavlo's volumes: Not checked. c.\n"));
    // Notes and checks that could not run are no problem of the computer's.
    QVERIFY(!DiagnosisReport::foundProblem(results));
    QVERIFY(DiagnosisReport::foundProblem(results + QList<CheckResult>{{C::ReleaseServer, O::Problem, "x"}}));
    const QJsonObject json = DiagnosisReport::json(results.at(1));
    QCOMPARE(json.value("event").toString(), QStringLiteral("check_result"));
    QCOMPARE(json.value("check").toString(), QStringLiteral("instrument"));
    QCOMPARE(json.value("outcome").toString(), QStringLiteral("note"));
}

QTEST_GUILESS_MAIN(TestCheckLines)
#include "tst_check_lines.moc"
