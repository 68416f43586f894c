// Why the MIDI service or a port cannot be used: the ALSA sequencer's errno and the Windows
// multimedia API's code as problems, and the production backend on a machine without a
// sequencer (as the build machine), which says so without a word on standard error.
#include "device/full/MidiHandler.h"
#include "MidiBackend.h"
#include "MidiInput.h"
#include "MidiOutput.h"
#include "MidiProblemText.h"
#include "ProductionMidi.h"
#include "SequencerOpenProblem.h"
#include "ShortDeviceTimings.h"
#include "WinMmOpenProblem.h"

#include <QFile>
#include <QLoggingCategory>
#include <QSignalSpy>
#include <QTemporaryFile>
#include <QTest>

#include <cerrno>
#include <cstdio>

#include <unistd.h>

Q_DECLARE_METATYPE(MidiProblem::Kind)

namespace {
// The Qt messages, which the programs' session log takes (never standard error there).
QStringList g_messages;
void collect(QtMsgType, const QMessageLogContext& context, const QString& text)
{
    g_messages << QStringLiteral("%1: %2").arg(QLatin1String(context.category), text);
}
} // namespace

class TestMidiProblemMapping : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sequencerErrno_data();
    void sequencerErrno();
    void winMmResult_data();
    void winMmResult();
    void productionWithoutSequencerIsQuiet();
};

void TestMidiProblemMapping::sequencerErrno_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<MidiProblem::Kind>("kind");
    QTest::addColumn<QString>("detail");
    using K = MidiProblem::Kind;
    QTest::newRow("opened") << 0 << K::None << "";
    QTest::newRow("no device file") << ENOENT << K::ServiceMissing << "/dev/snd/seq: no such file or directory";
    QTest::newRow("no such device") << ENODEV << K::ServiceMissing << "/dev/snd/seq: no such device";
    QTest::newRow("access refused") << EACCES << K::PermissionDenied << "/dev/snd/seq: permission denied";
    QTest::newRow("not permitted") << EPERM << K::PermissionDenied << "/dev/snd/seq: permission denied";
    QTest::newRow("busy") << EBUSY << K::LibraryError << "/dev/snd/seq: device or resource busy";
    QTest::newRow("too many files") << EMFILE << K::LibraryError << "/dev/snd/seq: too many open files";
    QTest::newRow("no such device or address") << ENXIO << K::LibraryError
                                               << QStringLiteral("/dev/snd/seq: error %1").arg(ENXIO);
}

void TestMidiProblemMapping::sequencerErrno()
{
    QFETCH(int, error);
    QFETCH(MidiProblem::Kind, kind);
    QFETCH(QString, detail);
    const MidiProblem problem = SequencerOpenProblem::fromErrno(error);
    QCOMPARE(problem.kind, kind);
    QCOMPARE(QString::fromStdString(problem.detail), detail);
}

void TestMidiProblemMapping::winMmResult_data()
{
    QTest::addColumn<uint>("result");
    QTest::addColumn<MidiProblem::Kind>("kind");
    QTest::addColumn<QString>("detail");
    using K = MidiProblem::Kind;
    QTest::newRow("held by another program") << 4u << K::PortInUse << "MMSYSERR_ALLOCATED";
    QTest::newRow("bad device id") << 2u << K::LibraryError << "MMRESULT 2 (MMSYSERR_BADDEVICEID)";
    QTest::newRow("no driver") << 6u << K::LibraryError << "MMRESULT 6 (MMSYSERR_NODRIVER)";
    QTest::newRow("no memory") << 7u << K::LibraryError << "MMRESULT 7 (MMSYSERR_NOMEM)";
    QTest::newRow("device gone") << 64u << K::LibraryError << "MMRESULT 64 (MIDIERR_NODEVICE)";
    QTest::newRow("unknown code") << 1234u << K::LibraryError << "MMRESULT 1234";
    // The device opens now: the library's own failure stands, with its words.
    QTest::newRow("opens now") << 0u << K::LibraryError << "MidiInWinMM::openPort: error creating port";
}

void TestMidiProblemMapping::winMmResult()
{
    QFETCH(uint, result);
    QFETCH(MidiProblem::Kind, kind);
    QFETCH(QString, detail);
    const MidiProblem problem =
        WinMmOpenProblem::fromResult(result, "MidiInWinMM::openPort: error creating port");
    QCOMPARE(problem.kind, kind);
    QCOMPARE(QString::fromStdString(problem.detail), detail);
}

void TestMidiProblemMapping::productionWithoutSequencerIsQuiet()
{
    if (QFile::exists(QStringLiteral("/dev/snd/seq")))
        QSKIP("This machine has an ALSA sequencer");

    // Standard error into a file of its own while the backend and the handler work; the Qt
    // messages where the session log would take them.
    g_messages.clear();
    QLoggingCategory::setFilterRules(QStringLiteral("tavlo.*=true")); // as the session log sets
    const QtMessageHandler before = qInstallMessageHandler(&collect);
    QTemporaryFile capture;
    QVERIFY(capture.open());
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    QVERIFY(saved >= 0);
    QVERIFY(dup2(capture.handle(), STDERR_FILENO) >= 0);

    MidiProblem created;
    MidiProblem published;
    QString sentence;
    bool inputMade = true;
    bool outputMade = true;
    {
        const auto backend = createProductionMidiBackend();
        inputMade = backend->createInput() != nullptr;
        outputMade = backend->createOutput() != nullptr;
        created = backend->lastProblem();
        MidiHandler handler(backend, createProductionUsbIdentityLookup(), ShortDeviceTimings::timings());
        QTest::qWait(ShortDeviceTimings::ms(3000)); // a few looks of the poll
        published = handler.midiProblem();
        sentence = handler.midiProblemText();
    }
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    qInstallMessageHandler(before);

    QVERIFY(!inputMade);
    QVERIFY(!outputMade);
    QCOMPARE(created.kind, MidiProblem::Kind::ServiceMissing);
    QCOMPARE(QString::fromStdString(created.detail).left(14), QStringLiteral("/dev/snd/seq: "));
    QCOMPARE(published, created);
    QCOMPARE(sentence, MidiProblemText::sentence(created));
    capture.seek(0);
    const QByteArray said = capture.readAll();
    QVERIFY2(said.isEmpty(), said.constData());
    // The problem is logged once, however often the poll met it; the ALSA library's own
    // words are in the log instead.
    const QString all = g_messages.join(QLatin1Char('\n'));
    QCOMPARE(g_messages.filter(QStringLiteral("tavlo.device: MIDI problem: service missing")).size(), 1);
    QVERIFY2(all.contains(QLatin1String("tavlo.device: ALSA ")), qPrintable(all));
}

QTEST_GUILESS_MAIN(TestMidiProblemMapping)
#include "tst_midi_problem_mapping.moc"
