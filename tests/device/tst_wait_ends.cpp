// A wait ends exactly once: after the poll limit the acknowledgment time-out of the same wait
// stays silent, and a wait started during another replaces it.
#include "DeviceRig.h"
#include "SysExMessages.h"

#include <QTest>


constexpr auto ms = ShortDeviceTimings::ms;
class TestWaitEnds : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pollLimitAfterFailedSendEndsOnce();
    void restartedWaitEndsOnce();
};

#define DUMP qPrintable(rig.timeline.dump())

void TestWaitEnds::pollLimitAfterFailedSendEndsOnce()
{
    DeviceRig rig;
    rig.instrument.setRejoinDelay(ms(1000));
    QVERIFY(rig.startConnected());
    // The first resend fails, and the instrument goes away for good right then.
    QObject::connect(&rig.bus, &SimMidiBus::programSendFailed, &rig.instrument, [&rig] {
        rig.instrument.setRejoinDelay(-1);
        rig.instrument.leaveBus();
    }, Qt::QueuedConnection);

    rig.handler->sendTransferSysEx();
    rig.bus.failNextSends(1);
    QVERIFY2(rig.timeline.waitFor("finished", 1, ms(12000)), DUMP);
    QCOMPARE(rig.timeline.events("finished").at(0).args.at(0).toBool(), false);
    // Failed send ~2450, poll from ~3950 for 100 ticks.
    QVERIFY2(DeviceRig::near(rig.timeline.at("finished"), ms(2450) + ms(1500) + ms(5050), ms(800)), DUMP);

    // Past the time-out that the first reconnection started (~17450 ms, a coarse timer that
    // may run up to 5 % late): nothing more.
    SignalTimeline::runFor(int(ms(2450) + ms(15000) + ms(1500) - rig.timeline.now()));
    QCOMPARE(rig.timeline.count("finished"), 1);
    QCOMPARE(rig.timeline.count("transferStartAck"), 0);
}

void TestWaitEnds::restartedWaitEndsOnce()
{
    DeviceRig rig;
    rig.instrument.setRejoinDelay(ms(500));
    QVERIFY(rig.startConnected());

    rig.handler->sendTransferSysEx();
    SignalTimeline::runFor(ms(1000));
    rig.handler->sendTransferSysEx(); // pressed again: the wait starts over
    QVERIFY2(rig.timeline.waitFor("finished", 1, ms(7000)), DUMP);
    // The earlier wait's delayed poll start did not run: the poll began 2000 ms after the
    // second call.
    QVERIFY2(DeviceRig::near(rig.timeline.at("finished"), ms(1000) + ms(2950), ms(400)), DUMP);
    SignalTimeline::runFor(ms(2500));
    QCOMPARE(rig.timeline.count("finished"), 1);
    QCOMPARE(rig.timeline.count("transferStartAck"), 1);
}

QTEST_GUILESS_MAIN(TestWaitEnds)
#include "tst_wait_ends.moc"
