// The wait when the instrument comes back but never acknowledges, and the update flow whose
// finish message is never acknowledged by design.
#include "DeviceRig.h"
#include "SysExMessages.h"

#include <QTest>


constexpr auto ms = ShortDeviceTimings::ms;
class TestWaitUnacknowledged : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void transferStartNeverAcknowledged();
    void updateFlow();
};

#define DUMP qPrintable(rig.timeline.dump())

void TestWaitUnacknowledged::transferStartNeverAcknowledged()
{
    DeviceRig rig;
    rig.instrument.setRejoinDelay(ms(1000));
    rig.instrument.setReactionEnabled(SimMidiInstrument::Reaction::AcknowledgeTransferMessage, false);
    QVERIFY(rig.startConnected());

    rig.handler->sendTransferSysEx();
    QVERIFY2(rig.timeline.waitFor("finished", 1, ms(9000)), DUMP);

    const auto sends = rig.sentTimes(SysEx::MIDI_SYSEX_TRANSFER_START);
    QCOMPARE(sends.size(), 4); // once at once, three times after the instrument came back
    QVERIFY2(DeviceRig::near(sends.at(1), ms(2450)), DUMP);
    QVERIFY2(DeviceRig::near(sends.at(2) - sends.at(1), ms(500), ms(150)), DUMP);
    QVERIFY2(DeviceRig::near(sends.at(3) - sends.at(2), ms(500), ms(150)), DUMP);
    // 3000 ms after the third send: the transfer signal, then the end of the wait.
    QCOMPARE(rig.timeline.count("transferStartAck"), 1);
    QVERIFY2(DeviceRig::near(rig.timeline.at("transferStartAck"), sends.at(3) + ms(3000)), DUMP);
    const QStringList names = rig.timeline.names();
    QVERIFY(names.indexOf("transferStartAck") < names.indexOf("finished"));
    QCOMPARE(rig.timeline.events("finished").at(0).args.at(0).toBool(), true);
    QCOMPARE(rig.timeline.count("transferEndAck"), 0);

    SignalTimeline::runFor(ms(700));
    QCOMPARE(rig.sentCount(SysEx::MIDI_SYSEX_TRANSFER_START), 4);
    QCOMPARE(rig.timeline.count("finished"), 1);
}

void TestWaitUnacknowledged::updateFlow()
{
    DeviceRig rig;
    // The instrument stays away in update mode until the test brings it back.
    rig.instrument.setRejoinDelay(-1);
    QVERIFY(rig.startConnected());

    rig.handler->fileDownloaded(true);
    QCOMPARE(rig.timeline.count("setToTransferMode"), 1);
    QVERIFY(rig.timeline.waitFor("left", 1, ms(500)));
    QCOMPARE(rig.sentToInstrument(), QList<QByteArray>{DeviceRig::bytes(SysEx::MIDI_SYSEX_UPDATE_MODE)});
    // The presence poll is stopped: the instrument's absence goes unreported.
    SignalTimeline::runFor(ms(2300));
    QCOMPARE(rig.timeline.count("deviceFound"), 0);

    // The file is on the volume; the instrument is back on USB.
    rig.instrument.joinBus();
    rig.timeline.restart();
    rig.handler->transferComplete(true);
    QCOMPARE(rig.timeline.count("updateTransferDone"), 1);
    QVERIFY2(rig.timeline.waitFor("finished", 1, ms(8000)), DUMP);

    const auto sends = rig.sentTimes(SysEx::MIDI_SYSEX_UPDATE_FINISH);
    QCOMPARE(sends.size(), 3);
    QCOMPARE(rig.instrument.updateFinishCount(), 3);
    QVERIFY2(DeviceRig::near(sends.at(0), ms(2450)), DUMP);
    QVERIFY2(DeviceRig::near(rig.timeline.at("finished"), sends.at(2) + ms(3000)), DUMP);
    QCOMPARE(rig.timeline.events("finished").at(0).args.at(0).toBool(), true);
    QCOMPARE(rig.timeline.count("transferStartAck"), 0);
    QCOMPARE(rig.timeline.count("transferEndAck"), 0);
    QCOMPARE(rig.timeline.count("deviceFound"), 0);

    SignalTimeline::runFor(ms(1200));
    QCOMPARE(rig.instrument.updateFinishCount(), 3);
    QCOMPARE(rig.timeline.count("finished"), 1);
}

QTEST_GUILESS_MAIN(TestWaitUnacknowledged)
#include "tst_wait_unacknowledged.moc"
