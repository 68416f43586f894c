// The re-enumeration wait on its own, driven on the simulated bus: every transition of its
// state machine, the timers of a wait that was replaced or has ended, and the instrument
// unplugged in each state.
#include "InstrumentPorts.h"
#include "ReenumerationWait.h"
#include "ShortDeviceTimings.h"
#include "SignalTimeline.h"
#include "SimMidiBus.h"
#include "SysExMessages.h"
#include "SysExReceiver.h"

#include <QTest>

#include <memory>

using State = ReenumerationWait::State;

namespace {

const UsbIds kInstrumentIds{true, QStringLiteral("1D6B"), QStringLiteral("0104")};
constexpr auto ms = ShortDeviceTimings::ms;

// The tests' short timings; the acknowledgment time-out stays longer than a failed
// reconnection's poll, as in production, so that the poll limit ends those waits.
DeviceTimings waitTimings()
{
    return ShortDeviceTimings::timings();
}

QByteArray bytes(const std::vector<unsigned char>& message)
{
    return QByteArray(reinterpret_cast<const char*>(message.data()), qsizetype(message.size()));
}

// The wait on a bus with a bare device that stands for the instrument: it never answers by
// itself, the test acknowledges through the receiver.
struct WaitRig
{
    WaitRig()
    {
        timeline.watch(&wait, &ReenumerationWait::stateChanged, QStringLiteral("state"));
        timeline.watch(&wait, &ReenumerationWait::portsOpened, QStringLiteral("opened"));
        timeline.watch(&wait, &ReenumerationWait::portsClosed, QStringLiteral("closed"));
        timeline.watch(&wait, &ReenumerationWait::transferStartUnacknowledged, QStringLiteral("startUnacked"));
        timeline.watch(&wait, &ReenumerationWait::transferEndUnacknowledged, QStringLiteral("endUnacked"));
        timeline.watch(&wait, &ReenumerationWait::finished, QStringLiteral("finished"));
        timeline.watch(&bus, &SimMidiBus::programSent, QStringLiteral("sent"));
        ports.create();
    }

    void attach() { device = bus.attachDevice(QStringLiteral("Tavlo"), kInstrumentIds, true, true); }
    void detach() { bus.detachDevice(device); }
    void acknowledge() { receiver.receive(SysEx::MIDI_SYSEX_TRANSFER_START); }

    QList<State> states() const
    {
        QList<State> list;
        for (const auto& e : timeline.events(QStringLiteral("state")))
            list << e.args.at(0).value<State>();
        return list;
    }
    // The states with repeats of one state in a row folded into one.
    QList<State> path() const
    {
        QList<State> list;
        for (State s : states()) {
            if (list.isEmpty() || list.constLast() != s)
                list << s;
        }
        return list;
    }
    bool finishedWith(bool success) const
    {
        const auto events = timeline.events(QStringLiteral("finished"));
        return events.size() == 1 && events.at(0).args.at(0).toBool() == success;
    }
    // Calls f once, the first time the wait enters s.
    template<typename F>
    void onFirstEntry(State s, F f)
    {
        auto done = std::make_shared<bool>(false);
        QObject::connect(&wait, &ReenumerationWait::stateChanged, &timeline, [=](State now) {
            if (now == s && !*done) {
                *done = true;
                f();
            }
        });
    }

    SignalTimeline timeline;
    SimMidiBus bus;
    SysExReceiver receiver{true};
    InstrumentPorts ports{bus.backend(), bus.usbLookup(), &receiver};
    ReenumerationWait wait{ports, receiver, waitTimings()};
    int device = 0;
};

// Long enough for any wait on the short timings to end, time-out included.
const int kWaitEnds = ms(20000);
#define DUMP qPrintable(rig.timeline.dump())

} // namespace

class TestReenumerationWait : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void acknowledgedAfterFirstSend();
    void unacknowledgedAfterThreeSendsAndGrace();
    void lateAcknowledgmentInGrace();
    void acknowledgedBeforeFirstSendSendsNothing();
    void neverBackGivesUpAtPollLimit();
    void failedSendLooksAgain();
    void failedSendsExhaustedEndAtAckTimeout();
    void transferEndUnacknowledgedAndOtherMessagesSilent();
    void restartReplacesRunningWait();
    void endedWaitStaysQuiet();
    void unplugInEachState_data();
    void unplugInEachState();
};

void TestReenumerationWait::acknowledgedAfterFirstSend()
{
    WaitRig rig;
    rig.attach();
    QObject::connect(&rig.bus, &SimMidiBus::programSent, &rig.timeline, [&rig] { rig.acknowledge(); });
    QCOMPARE(rig.wait.state(), State::Idle);
    rig.wait.start(SysEx::MIDI_SYSEX_TRANSFER_START);
    QCOMPARE(rig.wait.state(), State::Delay);
    QVERIFY2(rig.timeline.waitFor("finished", 1, kWaitEnds), DUMP);

    QCOMPARE(rig.states(), (QList<State>{State::Delay, State::Polling, State::FirstSendDelay,
                                         State::Sending, State::Idle}));
    QVERIFY(rig.finishedWith(true));
    QCOMPARE(rig.timeline.count("opened"), 1);
    QCOMPARE(rig.timeline.count("sent"), 1);
    QCOMPARE(rig.timeline.count("startUnacked"), 0);
    // Found at the first look after the delay, sent after the settling time, ended one send
    // interval later.
    const qint64 sent = rig.timeline.at("sent");
    QVERIFY2(qAbs(sent - ms(2000 + 50 + 400)) <= ms(300), DUMP);
    QVERIFY2(qAbs(rig.timeline.at("finished") - sent - ms(500)) <= ms(300), DUMP);
}

void TestReenumerationWait::unacknowledgedAfterThreeSendsAndGrace()
{
    WaitRig rig;
    rig.attach();
    rig.wait.start(SysEx::MIDI_SYSEX_TRANSFER_START);
    QVERIFY2(rig.timeline.waitFor("finished", 1, kWaitEnds), DUMP);

    QCOMPARE(rig.states(), (QList<State>{State::Delay, State::Polling, State::FirstSendDelay,
                                         State::Sending, State::Sending, State::Grace, State::Idle}));
    QCOMPARE(rig.timeline.count("sent"), 3);
    QCOMPARE(rig.wait.sends(), 3);
    QCOMPARE(rig.timeline.count("startUnacked"), 1);
    const QStringList names = rig.timeline.names();
    QVERIFY(names.indexOf("startUnacked") < names.indexOf("finished"));
    QVERIFY(rig.finishedWith(true));
    QVERIFY2(qAbs(rig.timeline.at("finished") - rig.timeline.at("sent", 2) - ms(3000)) <= ms(300), DUMP);
}

void TestReenumerationWait::lateAcknowledgmentInGrace()
{
    WaitRig rig;
    rig.attach();
    rig.onFirstEntry(State::Grace, [&rig] { rig.acknowledge(); });
    rig.wait.start(SysEx::MIDI_SYSEX_TRANSFER_START);
    QVERIFY2(rig.timeline.waitFor("finished", 1, kWaitEnds), DUMP);
    QCOMPARE(rig.path().mid(rig.path().size() - 2), (QList<State>{State::Grace, State::Idle}));
    QCOMPARE(rig.timeline.count("startUnacked"), 0);
    QVERIFY(rig.finishedWith(true));
}

void TestReenumerationWait::acknowledgedBeforeFirstSendSendsNothing()
{
    // An acknowledgment that arrives while the reopened ports settle ends the wait at once.
    WaitRig rig;
    rig.attach();
    rig.onFirstEntry(State::FirstSendDelay, [&rig] { rig.acknowledge(); });
    rig.wait.start(SysEx::MIDI_SYSEX_TRANSFER_START);
    QVERIFY2(rig.timeline.waitFor("finished", 1, kWaitEnds), DUMP);
    QCOMPARE(rig.states(), (QList<State>{State::Delay, State::Polling, State::FirstSendDelay, State::Idle}));
    QCOMPARE(rig.timeline.count("sent"), 0);
    QVERIFY(rig.finishedWith(true));
}

void TestReenumerationWait::neverBackGivesUpAtPollLimit()
{
    WaitRig rig;
    rig.wait.start(SysEx::MIDI_SYSEX_TRANSFER_START);
    QVERIFY2(rig.timeline.waitFor("finished", 1, kWaitEnds), DUMP);
    QCOMPARE(rig.path(), (QList<State>{State::Delay, State::Polling, State::Idle}));
    QCOMPARE(rig.wait.polls(), ShortDeviceTimings::timings().reconnectPollLimit + 1);
    QVERIFY(rig.finishedWith(false));
    QCOMPARE(rig.timeline.count("startUnacked"), 0);
    QCOMPARE(rig.timeline.count("opened"), 0);
    QVERIFY2(qAbs(rig.timeline.at("finished") - ms(2000 + 100 * 50 + 50)) <= ms(700), DUMP);
}

void TestReenumerationWait::failedSendLooksAgain()
{
    WaitRig rig;
    rig.attach();
    rig.bus.failNextSends(1);
    QObject::connect(&rig.bus, &SimMidiBus::programSent, &rig.timeline, [&rig] { rig.acknowledge(); });
    rig.wait.start(SysEx::MIDI_SYSEX_TRANSFER_START);
    QVERIFY2(rig.timeline.waitFor("finished", 1, kWaitEnds), DUMP);
    QCOMPARE(rig.path(), (QList<State>{State::Delay, State::Polling, State::FirstSendDelay,
                                       State::RetryDelay, State::Polling, State::FirstSendDelay,
                                       State::Sending, State::Idle}));
    QCOMPARE(rig.wait.reconnectAttempts(), 1);
    QCOMPARE(rig.timeline.count("closed"), 1);
    QCOMPARE(rig.timeline.count("opened"), 2);
    QVERIFY(rig.finishedWith(true));
}

void TestReenumerationWait::failedSendsExhaustedEndAtAckTimeout()
{
    WaitRig rig;
    rig.attach();
    rig.bus.failNextSends(1000);
    rig.wait.start(SysEx::MIDI_SYSEX_TRANSFER_START);
    QVERIFY2(rig.timeline.waitFor("finished", 1, kWaitEnds), DUMP);
    const int retries = ShortDeviceTimings::timings().maxReconnectAttempts;
    QCOMPARE(rig.states().count(State::RetryDelay), retries);
    QCOMPARE(rig.path().mid(rig.path().size() - 2), (QList<State>{State::Exhausted, State::Idle}));
    QCOMPARE(rig.wait.reconnectAttempts(), retries + 1);
    QCOMPARE(rig.bus.failedSendCount(), retries + 1);
    QCOMPARE(rig.timeline.count("closed"), retries);
    QCOMPARE(rig.timeline.count("startUnacked"), 1);
    QVERIFY(rig.finishedWith(true));
    // The time-out runs from the first send of the first reconnection.
    const qint64 firstSend = ms(2000 + 50 + 400);
    QVERIFY2(qAbs(rig.timeline.at("finished") - firstSend - waitTimings().ackTimeoutMs) <= ms(1000), DUMP);
}

void TestReenumerationWait::transferEndUnacknowledgedAndOtherMessagesSilent()
{
    {
        WaitRig rig;
        rig.attach();
        rig.wait.start(SysEx::MIDI_SYSEX_TRANSFER_END);
        QVERIFY2(rig.timeline.waitFor("finished", 1, kWaitEnds), DUMP);
        QCOMPARE(rig.timeline.count("endUnacked"), 1);
        QCOMPARE(rig.timeline.count("startUnacked"), 0);
    }
    {
        // The update finish is never acknowledged by design, and no transfer signal stands in.
        WaitRig rig;
        rig.attach();
        rig.wait.start(SysEx::MIDI_SYSEX_UPDATE_FINISH);
        QVERIFY2(rig.timeline.waitFor("finished", 1, kWaitEnds), DUMP);
        QCOMPARE(rig.timeline.count("sent"), 3);
        QCOMPARE(rig.timeline.count("endUnacked") + rig.timeline.count("startUnacked"), 0);
        QVERIFY(rig.finishedWith(true));
    }
}

void TestReenumerationWait::restartReplacesRunningWait()
{
    // Started again in each state: the earlier wait's timers do nothing, only the message of
    // the second wait goes out, and the wait ends once.
    for (State restartIn : {State::Delay, State::Polling, State::FirstSendDelay, State::Sending,
                            State::Grace}) {
        WaitRig rig;
        rig.attach();
        rig.onFirstEntry(restartIn, [&rig] { rig.wait.start(SysEx::MIDI_SYSEX_TRANSFER_END); });
        rig.wait.start(SysEx::MIDI_SYSEX_TRANSFER_START);
        QVERIFY2(rig.timeline.waitFor("finished", 1, kWaitEnds), DUMP);
        SignalTimeline::runFor(ms(3500));
        QVERIFY2(rig.finishedWith(true), DUMP);
        QCOMPARE(rig.timeline.count("endUnacked"), 1);
        QCOMPARE(rig.timeline.count("startUnacked"), 0);
        int ends = 0;
        for (const auto& e : rig.timeline.events("sent"))
            ends += e.args.at(1).toByteArray() == bytes(SysEx::MIDI_SYSEX_TRANSFER_END) ? 1 : 0;
        QCOMPARE(ends, 3);
        // After the restart the path runs once more from the delay.
        const QList<State> states = rig.states();
        QCOMPARE(states.count(State::Delay), 2);
        QCOMPARE(states.constLast(), State::Idle);
        QCOMPARE(states.count(State::Idle), 1);
    }
}

void TestReenumerationWait::endedWaitStaysQuiet()
{
    WaitRig rig;
    rig.attach();
    QObject::connect(&rig.bus, &SimMidiBus::programSent, &rig.timeline, [&rig] { rig.acknowledge(); });
    rig.wait.start(SysEx::MIDI_SYSEX_TRANSFER_START);
    QVERIFY2(rig.timeline.waitFor("finished", 1, kWaitEnds), DUMP);
    const int transitions = rig.states().size();
    // Past the acknowledgment time-out that the first send started.
    SignalTimeline::runFor(waitTimings().ackTimeoutMs + ms(1000));
    QCOMPARE(rig.states().size(), transitions);
    QCOMPARE(rig.wait.state(), State::Idle);
    QCOMPARE(rig.timeline.count("finished"), 1);
    QCOMPARE(rig.timeline.count("sent"), 1);
}

void TestReenumerationWait::unplugInEachState_data()
{
    QTest::addColumn<State>("unplugIn");
    QTest::addColumn<bool>("success");       // how the wait ends
    QTest::addColumn<bool>("unacknowledged"); // with the transfer signal standing in
    // Before the ports are open again: the instrument is simply not found.
    QTest::newRow("delay") << State::Delay << false << false;
    QTest::newRow("polling") << State::Polling << false << false;
    // Ports open: the next send fails, the wait looks again and gives up at the poll limit.
    QTest::newRow("first send delay") << State::FirstSendDelay << false << false;
    QTest::newRow("sending") << State::Sending << false << false;
    // All sends made: the grace time ends the wait as usual.
    QTest::newRow("grace") << State::Grace << true << true;
    // Looking again after a failed send: not found, the poll limit ends it.
    QTest::newRow("retry delay") << State::RetryDelay << false << false;
}

void TestReenumerationWait::unplugInEachState()
{
    QFETCH(State, unplugIn);
    QFETCH(bool, success);
    QFETCH(bool, unacknowledged);
    WaitRig rig;
    rig.attach();
    if (unplugIn == State::RetryDelay)
        rig.bus.failNextSends(1);
    rig.onFirstEntry(unplugIn, [&rig] { rig.detach(); });
    rig.wait.start(SysEx::MIDI_SYSEX_TRANSFER_START);
    QVERIFY2(rig.timeline.waitFor("finished", 1, kWaitEnds), DUMP);
    QVERIFY2(rig.finishedWith(success), DUMP);
    QCOMPARE(rig.timeline.count("startUnacked"), unacknowledged ? 1 : 0);
    QCOMPARE(rig.wait.state(), State::Idle);
    // Nothing of the ended wait runs on.
    const int transitions = rig.states().size();
    SignalTimeline::runFor(ms(2000));
    QCOMPARE(rig.states().size(), transitions);
}

QTEST_GUILESS_MAIN(TestReenumerationWait)
#include "tst_reenumeration_wait.moc"
