// The wait when the instrument comes back late, never, or its ports cannot be opened.
#include "DeviceRig.h"
#include "SysExMessages.h"

#include <QTest>


constexpr auto ms = ShortDeviceTimings::ms;
class TestWaitAbsent : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void neverReturns();
    void neverReturnsLossReported();
    void comesBackLate();
    void portOpenFailsOnceInReconnectPoll();
    void portOpenAlwaysFailsEndsAtPollLimit();
};

#define DUMP qPrintable(rig.timeline.dump())

void TestWaitAbsent::neverReturns()
{
    DeviceRig rig;
    rig.instrument.setRejoinDelay(-1);
    QVERIFY(rig.startConnected());

    rig.handler->sendTransferSysEx();
    QVERIFY2(rig.timeline.waitFor("finished", 1, ms(9500)), DUMP);
    QCOMPARE(rig.timeline.events("finished").at(0).args.at(0).toBool(), false);
    // 2000 ms delay and 100 ticks of 50 ms.
    QVERIFY2(DeviceRig::near(rig.timeline.at("finished"), ms(7050), ms(700)), DUMP);
    QCOMPARE(rig.timeline.count("transferStartAck"), 0);
    QCOMPARE(rig.timeline.count("deviceFound"), 0);

    // The link is left not connected: when the instrument returns, the presence poll reports
    // it as a fresh connection, with a version request.
    rig.instrument.joinBus();
    QVERIFY2(rig.timeline.waitFor("versionRequested", 1, ms(2500)), DUMP);
    QCOMPARE(rig.timeline.events("deviceFound").at(0).args.at(0).toBool(), true);
    QCOMPARE(rig.timeline.count("finished"), 1);
    QCOMPARE(rig.timeline.count("transferStartAck"), 0);
}

void TestWaitAbsent::neverReturnsLossReported()
{
    DeviceRig rig;
    rig.instrument.setRejoinDelay(-1);
    QVERIFY(rig.startConnected()); // reported found

    rig.handler->sendTransferSysEx();
    QVERIFY2(rig.timeline.waitFor("finished", 1, ms(9500)), DUMP);
    QCOMPARE(rig.timeline.count("deviceFound"), 0);
    // The wait closed the ports without a report; the presence poll that follows reports the
    // instrument lost, once.
    QVERIFY2(rig.timeline.waitFor("deviceFound", 1, ms(1000) + ms(300)), DUMP);
    QCOMPARE(rig.timeline.events("deviceFound").at(0).args.at(0).toBool(), false);
    QVERIFY2(rig.timeline.at("deviceFound") - rig.timeline.at("finished") <= ms(1000) + ms(300), DUMP);
    SignalTimeline::runFor(ms(2500));
    QCOMPARE(rig.timeline.count("deviceFound"), 1);

    // Back again: a fresh connection, with a version request.
    rig.instrument.joinBus();
    QVERIFY2(rig.timeline.waitFor("versionRequested", 1, ms(2500)), DUMP);
    QCOMPARE(rig.timeline.events("deviceFound").at(1).args.at(0).toBool(), true);
}

void TestWaitAbsent::comesBackLate()
{
    DeviceRig rig;
    rig.instrument.setRejoinDelay(ms(5000));
    QVERIFY(rig.startConnected());

    rig.handler->sendTransferSysEx();
    QVERIFY2(rig.timeline.waitFor("finished", 1, ms(9000)), DUMP);
    QCOMPARE(rig.timeline.events("finished").at(0).args.at(0).toBool(), true);
    QCOMPARE(rig.timeline.count("transferStartAck"), 1);
    const qint64 back = rig.timeline.at("joined");
    const auto sends = rig.sentTimes(SysEx::MIDI_SYSEX_TRANSFER_START);
    QCOMPARE(sends.size(), 2);
    QVERIFY2(DeviceRig::near(sends.at(1), back + ms(425), ms(200)), DUMP);
    QVERIFY2(DeviceRig::near(rig.timeline.at("finished"), sends.at(1) + ms(500)), DUMP);
}

void TestWaitAbsent::portOpenFailsOnceInReconnectPoll()
{
    DeviceRig rig;
    rig.instrument.setRejoinDelay(ms(500));
    QVERIFY(rig.startConnected());

    rig.handler->sendTransferSysEx();
    rig.bus.failNextPortOpens(2);
    QVERIFY2(rig.timeline.waitFor("finished", 1, ms(6000)), DUMP);
    QCOMPARE(rig.timeline.events("finished").at(0).args.at(0).toBool(), true);
    QCOMPARE(rig.timeline.count("transferStartAck"), 1);
    // The poll went on after the failed opens: a few ticks late, not seconds.
    QVERIFY2(rig.timeline.at("finished") < ms(2950) + ms(500), DUMP);
}

void TestWaitAbsent::portOpenAlwaysFailsEndsAtPollLimit()
{
    DeviceRig rig;
    rig.instrument.setRejoinDelay(ms(500));
    QVERIFY(rig.startConnected());

    rig.handler->sendTransferSysEx();
    rig.bus.failNextPortOpens(1000000);
    QVERIFY2(rig.timeline.waitFor("finished", 1, ms(9500)), DUMP);
    QCOMPARE(rig.timeline.events("finished").at(0).args.at(0).toBool(), false);
    QVERIFY2(DeviceRig::near(rig.timeline.at("finished"), ms(7050), ms(700)), DUMP);
    QCOMPARE(rig.sentCount(SysEx::MIDI_SYSEX_TRANSFER_START), 1);
    QCOMPARE(rig.timeline.count("transferStartAck"), 0);
}

QTEST_GUILESS_MAIN(TestWaitAbsent)
#include "tst_wait_absent.moc"
