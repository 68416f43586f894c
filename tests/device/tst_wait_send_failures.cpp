// The wait when sending the pending message fails: the MIDI objects are made anew and the
// instrument looked for again, at most four times; the acknowledgment time-out ends the rest.
#include "DeviceRig.h"
#include "SysExMessages.h"

#include <QTest>


constexpr auto ms = ShortDeviceTimings::ms;
class TestWaitSendFailures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void oneFailedSendThenAcknowledged();
    void failedSendsRetriedAtMostFourTimes();
};

#define DUMP qPrintable(rig.timeline.dump())

void TestWaitSendFailures::oneFailedSendThenAcknowledged()
{
    DeviceRig rig;
    rig.instrument.setRejoinDelay(ms(1000));
    QVERIFY(rig.startConnected());
    const int created = rig.bus.midiObjectsCreated();

    rig.handler->sendTransferSysEx();
    rig.bus.failNextSends(1);
    QVERIFY2(rig.timeline.waitFor("finished", 1, ms(8000)), DUMP);
    QCOMPARE(rig.bus.failedSendCount(), 1);
    QCOMPARE(rig.timeline.events("finished").at(0).args.at(0).toBool(), true);
    QCOMPARE(rig.timeline.count("transferStartAck"), 1);
    // Made anew when the wait started and once more after the failed send.
    QCOMPARE(rig.bus.midiObjectsCreated(), created + 4);
    // Failed send at ~2450, poll again 1500 ms later, the next send 400 ms after the reopen.
    const auto sends = rig.sentTimes(SysEx::MIDI_SYSEX_TRANSFER_START);
    QCOMPARE(sends.size(), 2);
    QVERIFY2(DeviceRig::near(sends.at(1), ms(2450) + ms(1500) + ms(450)), DUMP);
}

void TestWaitSendFailures::failedSendsRetriedAtMostFourTimes()
{
    DeviceRig rig;
    rig.instrument.setRejoinDelay(ms(1000));
    QVERIFY(rig.startConnected());
    const int created = rig.bus.midiObjectsCreated();

    rig.handler->sendTransferSysEx();
    rig.bus.failNextSends(1000);
    // Five failed sends, then nothing until the 15-second time-out from the first reconnection.
    QVERIFY2(rig.timeline.waitFor("finished", 1, ms(20000)), DUMP);
    QCOMPARE(rig.bus.failedSendCount(), 5);
    QCOMPARE(rig.bus.midiObjectsCreated(), created + 2 + 4 * 2);
    QCOMPARE(rig.timeline.events("finished").at(0).args.at(0).toBool(), true);
    // The 15-second timer is a coarse one: it may run up to 5 % early or late.
    QVERIFY2(DeviceRig::near(rig.timeline.at("finished"), ms(2450) + ms(15000), ms(1000)), DUMP);
    // Unacknowledged transfer start: the window still moves on.
    QCOMPARE(rig.timeline.count("transferStartAck"), 1);
    const QStringList names = rig.timeline.names();
    QVERIFY(names.indexOf("transferStartAck") < names.indexOf("finished"));
    QCOMPARE(rig.sentCount(SysEx::MIDI_SYSEX_TRANSFER_START), 1);

    SignalTimeline::runFor(ms(700));
    QCOMPARE(rig.timeline.count("finished"), 1);
    QCOMPARE(rig.bus.failedSendCount(), 5);
}

QTEST_GUILESS_MAIN(TestWaitSendFailures)
#include "tst_wait_send_failures.moc"
