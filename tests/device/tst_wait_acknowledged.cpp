// The wait for the instrument to come back, when it comes back and acknowledges.
#include "DeviceRig.h"
#include "SysExMessages.h"

#include <QTest>


constexpr auto ms = ShortDeviceTimings::ms;
class TestWaitAcknowledged : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void transferStartAcknowledgedAfterFirstSend();
    void transferEndAfterEject();
    void transferEndWhileInstrumentStillInTransferMode();
};

#define DUMP qPrintable(rig.timeline.dump())

void TestWaitAcknowledged::transferStartAcknowledgedAfterFirstSend()
{
    DeviceRig rig;
    rig.instrument.setRejoinDelay(ms(1000));
    QVERIFY(rig.startConnected());

    rig.handler->sendTransferSysEx();
    // Sent at once, before the wait closes the ports.
    QCOMPARE(rig.sentCount(SysEx::MIDI_SYSEX_TRANSFER_START), 1);
    QVERIFY2(rig.timeline.waitFor("finished", 1, ms(6000)), DUMP);

    const auto sends = rig.sentTimes(SysEx::MIDI_SYSEX_TRANSFER_START);
    QCOMPARE(sends.size(), 2);
    // Poll from 2000 ms finds the instrument (back since 1000 ms); first send 400 ms later.
    QVERIFY2(DeviceRig::near(sends.at(1), ms(2450)), DUMP);
    QCOMPARE(rig.timeline.count("transferStartAck"), 1);
    QVERIFY2(DeviceRig::near(rig.timeline.at("transferStartAck"), sends.at(1), ms(200)), DUMP);
    // The wait ends at the next send tick.
    QVERIFY2(DeviceRig::near(rig.timeline.at("finished"), sends.at(1) + ms(500)), DUMP);
    QCOMPARE(rig.timeline.events("finished").at(0).args.at(0).toBool(), true);
    QVERIFY(rig.timeline.at("transferStartAck") < rig.timeline.at("finished"));
    QCOMPARE(rig.timeline.count("deviceFound"), 0);
    QCOMPARE(rig.timeline.count("transferEndAck"), 0);

    // The presence poll runs again and knows the link is up: quiet while attached, and the
    // loss is reported at its next tick.
    SignalTimeline::runFor(ms(1200));
    QCOMPARE(rig.timeline.count("deviceFound"), 0);
    QCOMPARE(rig.timeline.count("versionRequested"), 0);
    const qint64 unplugged = rig.timeline.now();
    rig.instrument.leaveBus();
    QVERIFY2(rig.timeline.waitFor("deviceFound", 1, ms(1500)), DUMP);
    QCOMPARE(rig.timeline.events("deviceFound").at(0).args.at(0).toBool(), false);
    QVERIFY(rig.timeline.at("deviceFound") - unplugged <= ms(1300));
    QCOMPARE(rig.timeline.count("finished"), 1);
}

void TestWaitAcknowledged::transferEndAfterEject()
{
    // The eject has already made the instrument return in normal mode; the wait finds it and
    // sends the transfer end, which it acknowledges.
    DeviceRig rig;
    QVERIFY(rig.startConnected());

    rig.handler->onEjectCompleted(true);
    SignalTimeline::runFor(ms(100));
    QVERIFY(rig.sentToInstrument().isEmpty()); // nothing before the wait
    QVERIFY2(rig.timeline.waitFor("finished", 1, ms(6000)), DUMP);

    const auto sends = rig.sentTimes(SysEx::MIDI_SYSEX_TRANSFER_END);
    QCOMPARE(sends.size(), 1);
    QVERIFY2(DeviceRig::near(sends.at(0), ms(2450)), DUMP);
    QCOMPARE(rig.timeline.count("transferEndAck"), 1);
    QCOMPARE(rig.timeline.count("transferStartAck"), 0);
    QVERIFY2(DeviceRig::near(rig.timeline.at("finished"), sends.at(0) + ms(500)), DUMP);
    QCOMPARE(rig.timeline.names().filter("sent").size(), 1);
}

void TestWaitAcknowledged::transferEndWhileInstrumentStillInTransferMode()
{
    // The instrument first leaves and comes back in normal mode when it gets the transfer end;
    // the resends on its vanished port fail, the wait reconnects and the end is acknowledged.
    DeviceRig rig;
    rig.instrument.setRejoinDelay(ms(1000));
    rig.instrument.setMode(SimMidiInstrument::Mode::Transfer);
    QVERIFY(rig.startConnected());

    rig.handler->onEjectCompleted(true);
    QVERIFY2(rig.timeline.waitFor("finished", 1, ms(9000)), DUMP);
    QCOMPARE(rig.timeline.events("finished").at(0).args.at(0).toBool(), true);
    QCOMPARE(rig.timeline.count("transferEndAck"), 1);
    QVERIFY(rig.timeline.at("transferEndAck") < rig.timeline.at("finished"));
    QCOMPARE(rig.instrument.mode(), SimMidiInstrument::Mode::Normal);
    QCOMPARE(rig.sentCount(SysEx::MIDI_SYSEX_TRANSFER_END), 2);
    // First send at ~2450 (the instrument leaves), the failing send at ~2950, the poll again
    // from ~4450, the acknowledged send ~400 ms after it finds the instrument.
    const auto sends = rig.sentTimes(SysEx::MIDI_SYSEX_TRANSFER_END);
    QVERIFY2(DeviceRig::near(sends.at(0), ms(2450)), DUMP);
    QVERIFY2(DeviceRig::near(sends.at(1), ms(2950) + ms(1500) + ms(450)), DUMP);
    SignalTimeline::runFor(ms(800));
    QCOMPARE(rig.timeline.count("finished"), 1);
}

QTEST_GUILESS_MAIN(TestWaitAcknowledged)
#include "tst_wait_acknowledged.moc"
