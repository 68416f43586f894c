// The edition's link when the MIDI service cannot be used or another program holds the
// instrument's ports (built once per edition): the reason is published once, the presence
// poll goes on, and the instrument is found as soon as the cause is gone.
#include "DeviceRig.h"

#include "MidiProblem.h"
#include "MidiProblemText.h"
#include "SysExMessages.h"

#include <QTest>

constexpr auto ms = ShortDeviceTimings::ms;

class TestMidiProblemLink : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void causeShownThenCleared_data();
    void causeShownThenCleared();
    void unpluggedWhileInUseIsNoLongerInUse();
};

namespace {

enum class Cause { ServiceMissing, PermissionDenied, PortInUse };

void setCause(DeviceRig& rig, Cause cause, bool on)
{
    switch (cause) {
    case Cause::ServiceMissing:
        rig.bus.setMidiServiceProblem(on ? MidiProblem::Kind::ServiceMissing : MidiProblem::Kind::None);
        break;
    case Cause::PermissionDenied:
        rig.bus.setMidiServiceProblem(on ? MidiProblem::Kind::PermissionDenied : MidiProblem::Kind::None);
        break;
    case Cause::PortInUse:
        rig.bus.setPortsInUse(on);
        break;
    }
}

} // namespace

void TestMidiProblemLink::causeShownThenCleared_data()
{
    QTest::addColumn<int>("cause");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("detail"); // within the sentence ("": no detail shown)
    QTest::newRow("service missing") << int(Cause::ServiceMissing) << int(MidiProblem::Kind::ServiceMissing)
                                     << "/dev/snd/seq: no such file or directory";
    QTest::newRow("permission denied") << int(Cause::PermissionDenied)
                                       << int(MidiProblem::Kind::PermissionDenied)
                                       << "/dev/snd/seq: permission denied";
    QTest::newRow("port in use") << int(Cause::PortInUse) << int(MidiProblem::Kind::PortInUse) << "";
}

void TestMidiProblemLink::causeShownThenCleared()
{
    QFETCH(int, cause);
    QFETCH(int, kind);
    QFETCH(QString, detail);
    DeviceRig rig;
    setCause(rig, Cause(cause), true);
    rig.makeHandler();
    // A service problem is met as the handler is made, a port's at the first look.
    QTRY_COMPARE_WITH_TIMEOUT(int(rig.handler->midiProblem().kind), kind, ms(5000));
    const QString sentence = rig.handler->midiProblemText();
    QCOMPARE(sentence, MidiProblemText::sentence(rig.handler->midiProblem()));
    QVERIFY(!sentence.isEmpty());
    if (!detail.isEmpty())
        QVERIFY2(sentence.contains(detail), qPrintable(sentence));
    else
        QVERIFY2(sentence.contains(QLatin1String("another program")), qPrintable(sentence));

    // The poll goes on without telling the same problem again or finding the instrument.
    SignalTimeline::runFor(ms(1300));
    for (const SignalTimeline::Event& found : rig.timeline.events(QStringLiteral("deviceFound")))
        QVERIFY(!found.args.value(0).toBool());
    QCOMPARE(rig.sentCount(SysEx::MIDI_SYSEX_VERSION_REQUEST), 0);
    const int told = rig.timeline.count(QStringLiteral("midiProblem"));
    QVERIFY(told <= 1);
    QCOMPARE(int(rig.handler->midiProblem().kind), kind);

    // The cause goes: the instrument is found at the next look and the problem is gone.
    setCause(rig, Cause(cause), false);
    QVERIFY2(rig.timeline.waitFor(QStringLiteral("version"), 1, ms(3000)), qPrintable(rig.timeline.dump()));
    QCOMPARE(int(rig.handler->midiProblem().kind), int(MidiProblem::Kind::None));
    QVERIFY(rig.handler->midiProblemText().isEmpty());
    const auto problems = rig.timeline.events(QStringLiteral("midiProblem"));
    QVERIFY(!problems.isEmpty());
    QCOMPARE(problems.last().args.value(0).toString(), QString());
}

void TestMidiProblemLink::unpluggedWhileInUseIsNoLongerInUse()
{
    DeviceRig rig;
    rig.bus.setPortsInUse(true);
    rig.makeHandler();
    QTRY_COMPARE_WITH_TIMEOUT(int(rig.handler->midiProblem().kind), int(MidiProblem::Kind::PortInUse), ms(5000));
    // Not "Tavlo is connected, but...": without its ports there is nothing held.
    rig.instrument.leaveBus();
    QTRY_COMPARE_WITH_TIMEOUT(int(rig.handler->midiProblem().kind), int(MidiProblem::Kind::None), ms(5000));
    // Plugged in again while still held: told again.
    rig.instrument.joinBus();
    QTRY_COMPARE_WITH_TIMEOUT(int(rig.handler->midiProblem().kind), int(MidiProblem::Kind::PortInUse), ms(5000));
}

QTEST_GUILESS_MAIN(TestMidiProblemLink)
#include "tst_midi_problem_link.moc"
