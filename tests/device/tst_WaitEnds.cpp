// A wait ends exactly once: after the poll limit the acknowledgment time-out of the same wait
// stays silent, and a wait started during another replaces it.
#include "DeviceRig.h"
#include "SysExMessages.h"

#include <QTest>

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
    rig.instrument.setRejoinDelay(1000);
    QVERIFY(rig.startConnected());
    // The first resend fails, and the instrument goes away for good right then.
    QObject::connect(&rig.bus, &SimMidiBus::programSendFailed, &rig.instrument, [&rig] {
        rig.instrument.setRejoinDelay(-1);
        rig.instrument.leaveBus();
    }, Qt::QueuedConnection);

    rig.handler->sendTransferSysEx();
    rig.bus.failNextSends(1);
    QVERIFY2(rig.timeline.waitFor("finished", 1, 12000), DUMP);
    QCOMPARE(rig.timeline.events("finished").at(0).args.at(0).toBool(), false);
    // Failed send ~2450, poll from ~3950 for 100 ticks.
    QVERIFY2(DeviceRig::near(rig.timeline.at("finished"), 2450 + 1500 + 5050, 800), DUMP);

    // Past the time-out that the first reconnection started (~17450 ms, a coarse timer that
    // may run up to 5 % late): nothing more.
    QTest::qWait(int(2450 + 15000 + 1500 - rig.timeline.now()));
    QCOMPARE(rig.timeline.count("finished"), 1);
    QCOMPARE(rig.timeline.count("transferStartAck"), 0);
}

void TestWaitEnds::restartedWaitEndsOnce()
{
    DeviceRig rig;
    rig.instrument.setRejoinDelay(500);
    QVERIFY(rig.startConnected());

    rig.handler->sendTransferSysEx();
    QTest::qWait(1000);
    rig.handler->sendTransferSysEx(); // pressed again: the wait starts over
    QVERIFY2(rig.timeline.waitFor("finished", 1, 7000), DUMP);
    // The earlier wait's delayed poll start did not run: the poll began 2000 ms after the
    // second call.
    QVERIFY2(DeviceRig::near(rig.timeline.at("finished"), 1000 + 2950, 400), DUMP);
    QTest::qWait(2500);
    QCOMPARE(rig.timeline.count("finished"), 1);
    QCOMPARE(rig.timeline.count("transferStartAck"), 1);
}

QTEST_GUILESS_MAIN(TestWaitEnds)
#include "tst_WaitEnds.moc"
