// The update-only edition's mode switches: each message goes out at once, with one recovery
// and resend when the send fails, and nothing waits for the instrument to come back.
#include "DeviceRig.h"
#include "SysExMessages.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>


constexpr auto ms = ShortDeviceTimings::ms;
class TestSending : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void modeSwitches_data();
    void modeSwitches();
    void failedSendReopensAndResends_data();
    void failedSendReopensAndResends();
    void failedSendInstrumentGone();
    void secondFailedSendEndsTheSwitch();
};

namespace {

using Message = std::vector<unsigned char>;

void trigger(MidiHandler& handler, const QString& slot, bool success)
{
    if (slot == QLatin1String("fileDownloaded"))
        handler.fileDownloaded(success);
    else
        handler.transferComplete(success);
}

QString doneSignal(const QString& slot)
{
    return slot == QLatin1String("fileDownloaded") ? QStringLiteral("setToTransferMode")
                                                   : QStringLiteral("updateTransferDone");
}

Message messageFor(const QString& slot)
{
    return slot == QLatin1String("fileDownloaded") ? SysEx::MIDI_SYSEX_UPDATE_MODE
                                                   : SysEx::MIDI_SYSEX_UPDATE_FINISH;
}

} // namespace

void TestSending::modeSwitches_data()
{
    QTest::addColumn<QString>("slot");
    QTest::addColumn<bool>("success");
    QTest::newRow("update mode") << QStringLiteral("fileDownloaded") << true;
    QTest::newRow("failed download") << QStringLiteral("fileDownloaded") << false;
    QTest::newRow("update finish") << QStringLiteral("transferComplete") << true;
    QTest::newRow("failed transfer") << QStringLiteral("transferComplete") << false;
}

void TestSending::modeSwitches()
{
    QFETCH(QString, slot);
    QFETCH(bool, success);
    DeviceRig rig;
    rig.instrument.setReactionEnabled(SimMidiInstrument::Reaction::LeaveOnUpdateMode, false);
    QVERIFY(rig.startConnected());

    trigger(*rig.handler, slot, success);
    // Sent during the call, before the signal: nothing is delayed.
    const QStringList expected = success ? QStringList{QStringLiteral("sent"), doneSignal(slot)} : QStringList{};
    QCOMPARE(rig.timeline.names().filter(QRegularExpression("^(sent|setToTransferMode|updateTransferDone)$")),
             expected);
    SignalTimeline::runFor(ms(3500)); // longer than any wait of the full edition's first resend
    const QList<QByteArray> sent = success ? QList<QByteArray>{DeviceRig::bytes(messageFor(slot))}
                                           : QList<QByteArray>{};
    QCOMPARE(rig.sentToInstrument(), sent);
    QCOMPARE(rig.timeline.count("deviceFound"), 0);
    QCOMPARE(rig.timeline.count("left"), 0);
}

void TestSending::failedSendReopensAndResends_data()
{
    QTest::addColumn<QString>("slot");
    QTest::newRow("update mode") << QStringLiteral("fileDownloaded");
    QTest::newRow("update finish") << QStringLiteral("transferComplete");
}

void TestSending::failedSendReopensAndResends()
{
    QFETCH(QString, slot);
    DeviceRig rig;
    rig.instrument.setReactionEnabled(SimMidiInstrument::Reaction::LeaveOnUpdateMode, false);
    QVERIFY(rig.startConnected());

    rig.bus.failNextSends(1);
    trigger(*rig.handler, slot, true);
    // The link was recovered at once: reported found again, without a new version request,
    // and the message went out on the reopened ports, once.
    QCOMPARE(rig.timeline.count("deviceFound"), 1);
    QCOMPARE(rig.timeline.events("deviceFound").at(0).args.at(0).toBool(), true);
    QCOMPARE(rig.timeline.count(doneSignal(slot)), 1);
    SignalTimeline::runFor(ms(1300));
    QCOMPARE(rig.sentToInstrument(), QList<QByteArray>{DeviceRig::bytes(messageFor(slot))});
    QCOMPARE(rig.timeline.count("versionRequested"), 0);
    // The reopened input still delivers to the handler.
    QVERIFY(rig.instrument.sendToProgram(QByteArray::fromHex("F07D01322E302E30F7")));
    QVERIFY(rig.timeline.waitFor("version", 1, ms(1000)));
    // And nothing polls afterwards.
    QCOMPARE(rig.timeline.count("deviceFound"), 1);
}

void TestSending::failedSendInstrumentGone()
{
    DeviceRig rig;
    QVERIFY(rig.startConnected());
    rig.instrument.leaveBus();

    rig.handler->transferComplete(true);
    // Lost: reported, the message went nowhere, and the window is told that the instrument
    // was never told to apply the update (no claim of success).
    QCOMPARE(rig.timeline.events("deviceFound").at(0).args.at(0).toBool(), false);
    QCOMPARE(rig.timeline.count("updateTransferDone"), 1);
    QCOMPARE(rig.timeline.count("finishFailed"), 1);
    QTRY_COMPARE(rig.timeline.count("dropped"), 1); // the resend on the closed port
    SignalTimeline::runFor(ms(2300));
    // The watch goes on: the absence at every look, never a connection.
    for (const auto& found : rig.timeline.events("deviceFound"))
        QCOMPARE(found.args.at(0).toBool(), false);
    QVERIFY(rig.sentToInstrument().isEmpty());

    // Plugged in again: found again, and the next mode switch reaches it.
    rig.instrument.joinBus();
    QTRY_VERIFY(rig.timeline.events("deviceFound").constLast().args.at(0).toBool());
    rig.handler->fileDownloaded(true);
    QTRY_VERIFY(rig.sentToInstrument().contains(DeviceRig::bytes(SysEx::MIDI_SYSEX_UPDATE_MODE)));
    QCOMPARE(rig.timeline.count("finishFailed"), 1);
}

void TestSending::secondFailedSendEndsTheSwitch()
{
    DeviceRig rig;
    rig.instrument.setReactionEnabled(SimMidiInstrument::Reaction::LeaveOnUpdateMode, false);
    QVERIFY(rig.startConnected());
    rig.bus.failNextSends(2);
    rig.handler->fileDownloaded(true);
    // One recovery, one resend that fails too: the switch is reported failed, nothing waits
    // for the volume.
    QCOMPARE(rig.timeline.count("deviceFound"), 1);
    QCOMPARE(rig.timeline.count("setToTransferMode"), 0);
    QCOMPARE(rig.timeline.count("modeFailed"), 1);
    SignalTimeline::runFor(ms(500));
    QVERIFY(rig.sentToInstrument().isEmpty());
    QCOMPARE(rig.bus.failedSendCount(), 2);
    // The instrument is watched again where it is: an unplug is reported.
    rig.instrument.leaveBus();
    QVERIFY(rig.timeline.waitFor("deviceFound", 2, ms(2000)));
    QCOMPARE(rig.timeline.events("deviceFound").constLast().args.at(0).toBool(), false);
}

QTEST_GUILESS_MAIN(TestSending)
#include "tst_updater_midi_sending.moc"
