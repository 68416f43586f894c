// The MIDI faults through the whole program (an edition's wiring and its real window, see
// RigEdition.h) against the simulated instrument, one per row, built once per edition: the
// MIDI service cannot be used, or another program holds the instrument's ports. The window
// says why under the connection instructions while it goes on looking, the instrument stays
// as it was, and it is found once the cause is gone.
#include "FaultScreen.h"

#include "EndToEndRig.h"
#include "KeyboardCheck.h"
#include "KnownScreenFaults.h"
#include "LayoutCheck.h"
#include "Startup.h"

#include <QQuickItem>
#include <QTemporaryDir>
#include <QTest>

class MidiProblemMatrix : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(!ReleaseServer::caCertificatePath().isEmpty());
        QCOMPARE(Startup::registerFonts(), 3);
    }
    void init() { qputenv("TMPDIR", QFile::encodeName(processTemp.path())); }
    void midiProblems_data();
    void midiProblems();

private:
    QTemporaryDir processTemp;
};

void MidiProblemMatrix::midiProblems_data()
{
    QTest::addColumn<int>("kind");         // MidiProblem::Kind of the cause
    QTest::addColumn<QString>("sentence"); // a part of what the window says
    QTest::newRow("MIDI service missing") << int(MidiProblem::Kind::ServiceMissing)
                                          << "(/dev/snd/seq: no such file or directory)";
    QTest::newRow("MIDI service refused") << int(MidiProblem::Kind::PermissionDenied)
                                          << "(/dev/snd/seq: permission denied)";
    QTest::newRow("instrument's port in use") << int(MidiProblem::Kind::PortInUse)
                                              << "another program is using its MIDI port";
}

void MidiProblemMatrix::midiProblems()
{
    QFETCH(int, kind);
    QFETCH(QString, sentence);
    EndToEndRig rig;
    QVERIFY2(rig.serve(), qPrintable(rig.error()));
    SimMidiBus& bus = rig.instrument().bus();
    const bool portInUse = MidiProblem::Kind(kind) == MidiProblem::Kind::PortInUse;
    if (portInUse)
        bus.setPortsInUse(true);
    else
        bus.setMidiServiceProblem(MidiProblem::Kind(kind));
    rig.instrument().plugIn();
    QVERIFY2(rig.start(true), qPrintable(rig.error()));
    WindowScreen w(rig.window());

    const QString problem = QStringLiteral("midiProblemText");
    QTRY_VERIFY_WITH_TIMEOUT(w.isShown(problem), 5000);
    QVERIFY2(w.text(problem).contains(sentence), qPrintable(w.text(problem)));
    QCOMPARE(w.text(problem), rig.program().presence().midiProblem());
    // The full window has the connection instructions above it.
    if (QLatin1String(RigEdition::kName) == QLatin1String("full"))
        QVERIFY(w.isShown(QStringLiteral("infoConnectText")));
    // The look goes on, and nothing is found or sent meanwhile.
    QTest::qWait(600);
    QVERIFY(w.isShown(problem));
    QVERIFY(!w.isShown(QStringLiteral("updateButton")));
    QVERIFY(!rig.program().presence().connected());
    QVERIFY(rig.instrument().midi().receivedMessages().isEmpty());
    QQuickWindow* shown = rig.window().window();
    KnownScreenFaults::verify(LayoutCheck::problems(shown) + KeyboardCheck::tabOrder(shown), {});
    if (QTest::currentTestFailed())
        return;

    // The cause goes: the instrument is found, and the sentence goes with the instructions.
    if (portInUse)
        bus.setPortsInUse(false);
    else
        bus.setMidiServiceProblem(MidiProblem::Kind::None);
    QTRY_VERIFY_WITH_TIMEOUT(w.isShown(QStringLiteral("updateButton")), 5000);
    QVERIFY(!w.isShown(problem));
    QVERIFY(rig.program().presence().midiProblem().isEmpty());
    QCOMPARE(w.text(QStringLiteral("connectionlabel")), QStringLiteral("Tavlo is connected"));
}

QTEST_MAIN(MidiProblemMatrix)
#include "tst_midi_problem_matrix.moc"
