// Finding the instrument: the presence poll, the version request after a fresh connection, the
// loss of the instrument, ports that are not the instrument, and sends that fail.
#include "DeviceRig.h"
#include "SysExMessages.h"

#include <QSignalSpy>
#include <QTest>


constexpr auto ms = ShortDeviceTimings::ms;
class TestDetection : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void presentAtStart();
    void unplugWhileConnected();
    void unplugWhileNotConnected();
    void lostBeforeVersionRequestAsksNothing();
    void backBeforeVersionRequestAsksOnce();
    void updateModeBeforeVersionRequestAsksNothing();
    void notTheInstrument_data();
    void notTheInstrument();
    void unreadablePortNameSkipped();
    void twoInstruments();
    void failedSendWhileAttachedReopensPorts();
    void failedSendAfterUnplugReportsLoss();
    void failedUpdateModeSendWatchesAgain();
    void openFailureRetriedNextTick();
    void noMidiService();
};

namespace {
constexpr qint64 kTolerance = ms(300);
}

void TestDetection::presentAtStart()
{
    DeviceRig rig;
    rig.instrument.setFirmwareVersion(QStringLiteral("1.4.2"));
    rig.timeline.restart();
    rig.makeHandler();
    QVERIFY2(rig.timeline.waitFor("version", 1, ms(4000)), qPrintable(rig.timeline.dump()));

    QCOMPARE(rig.timeline.count("deviceFound"), 1);
    QCOMPARE(rig.timeline.events("deviceFound").at(0).args.at(0).toBool(), true);
    const qint64 found = rig.timeline.at("deviceFound");
    QVERIFY2(qAbs(found - ms(1000)) <= kTolerance, qPrintable(rig.timeline.dump()));
    const qint64 asked = rig.timeline.at("versionRequested");
    QVERIFY2(qAbs(asked - found - ms(800)) <= kTolerance, qPrintable(rig.timeline.dump()));
    QCOMPARE(rig.sentToInstrument(), QList<QByteArray>{DeviceRig::bytes(SysEx::MIDI_SYSEX_VERSION_REQUEST)});
    QCOMPARE(rig.timeline.events("version").at(0).args.at(0).toString(), QStringLiteral("1.4.2"));

    // Still attached: the poll stays quiet and asks nothing more.
    SignalTimeline::runFor(ms(1300));
    QCOMPARE(rig.timeline.count("deviceFound"), 1);
    QCOMPARE(rig.timeline.count("versionRequested"), 1);
}

void TestDetection::unplugWhileConnected()
{
    DeviceRig rig;
    rig.makeHandler();
    QVERIFY(rig.timeline.waitFor("version", 1, ms(4000)));

    const qint64 unplugged = rig.timeline.now();
    rig.instrument.leaveBus();
    QVERIFY(rig.timeline.waitFor("deviceFound", 2, ms(2000)));
    QCOMPARE(rig.timeline.events("deviceFound").at(1).args.at(0).toBool(), false);
    QVERIFY(rig.timeline.at("deviceFound", 1) - unplugged <= ms(1000) + kTolerance);

    // Back again: a fresh connection with a new version request.
    rig.instrument.joinBus();
    QVERIFY(rig.timeline.waitFor("versionRequested", 2, ms(3500)));
    QCOMPARE(rig.timeline.events("deviceFound").at(2).args.at(0).toBool(), true);
    QVERIFY(rig.timeline.waitFor("version", 2, ms(1000)));
}

void TestDetection::unplugWhileNotConnected()
{
    DeviceRig rig(false);
    rig.makeHandler();
    rig.instrument.joinBus();
    rig.instrument.leaveBus(); // gone before the first tick
    SignalTimeline::runFor(ms(2300));
    QCOMPARE(rig.timeline.count("deviceFound"), 0);
    QVERIFY(rig.sentToInstrument().isEmpty());
}

void TestDetection::lostBeforeVersionRequestAsksNothing()
{
    DeviceRig rig;
    rig.makeHandler();
    QVERIFY(rig.checkNow()); // the version request is due in 800 ms
    rig.instrument.leaveBus();
    QVERIFY(!rig.checkNow()); // the loss, reported before it is due
    QCOMPARE(rig.timeline.count("deviceFound"), 2);

    // The request belonged to the connection that is gone: nothing goes out, not even into
    // the closed ports.
    SignalTimeline::runFor(ms(1500));
    QCOMPARE(rig.timeline.count("dropped"), 0);
    QVERIFY(rig.sentToInstrument().isEmpty());
}

void TestDetection::backBeforeVersionRequestAsksOnce()
{
    DeviceRig rig;
    rig.makeHandler();
    QVERIFY(rig.checkNow());
    SignalTimeline::runFor(ms(400));
    rig.instrument.leaveBus();
    QVERIFY(!rig.checkNow());
    rig.instrument.joinBus();
    QVERIFY(rig.checkNow()); // a fresh connection, its own request due in 800 ms

    QVERIFY(rig.timeline.waitFor("version", 1, ms(2000)));
    SignalTimeline::runFor(ms(1000));
    QCOMPARE(rig.sentCount(SysEx::MIDI_SYSEX_VERSION_REQUEST), 1);
    QCOMPARE(rig.timeline.count("version"), 1);
    QCOMPARE(rig.timeline.count("dropped"), 0);
}

void TestDetection::updateModeBeforeVersionRequestAsksNothing()
{
    DeviceRig rig;
    rig.makeHandler();
    QVERIFY(rig.checkNow()); // the version request is due in 800 ms
    rig.handler->fileDownloaded(true); // a quick start: into update mode before it is due

    // The request would go to ports the instrument is leaving, and its failure would read as
    // an unplug in the middle of the update.
    SignalTimeline::runFor(ms(1500));
    QCOMPARE(rig.sentCount(SysEx::MIDI_SYSEX_VERSION_REQUEST), 0);
    QCOMPARE(rig.timeline.count("dropped"), 0);
    QCOMPARE(rig.timeline.count("deviceFound"), 1);
}

void TestDetection::notTheInstrument_data()
{
    QTest::addColumn<bool>("programInput");
    QTest::addColumn<bool>("programOutput");
    QTest::addColumn<QString>("vendor");
    QTest::addColumn<QString>("product");
    QTest::newRow("input without output") << true << false << "1D6B" << "0104";
    QTest::newRow("output without input") << false << true << "1D6B" << "0104";
    QTest::newRow("lower-case vendor ID") << true << true << "1d6b" << "0104";
    QTest::newRow("other product") << true << true << "1D6B" << "0105";
    QTest::newRow("no IDs") << true << true << "" << "";
}

void TestDetection::notTheInstrument()
{
    QFETCH(bool, programInput);
    QFETCH(bool, programOutput);
    QFETCH(QString, vendor);
    QFETCH(QString, product);

    DeviceRig rig(false);
    rig.instrument.setPortsExposed(programInput, programOutput);
    rig.instrument.setUsbIds(vendor, product);
    rig.instrument.joinBus();
    rig.makeHandler();
    QVERIFY(!rig.checkNow());
    SignalTimeline::runFor(ms(1200)); // one tick of the poll as well
    QCOMPARE(rig.timeline.count("deviceFound"), 0);
}

void TestDetection::unreadablePortNameSkipped()
{
    DeviceRig rig(false);
    const int other = rig.bus.attachDevice(QStringLiteral("Broken"), UsbIds{true, "1D6B", "0104"}, true, true);
    Q_UNUSED(other);
    rig.bus.setUnreadablePortName(rig.bus.inputPortNames().constFirst());
    rig.instrument.joinBus();
    rig.makeHandler();
    QVERIFY(rig.checkNow());
    QCOMPARE(rig.timeline.count("deviceFound"), 1);
    // The instrument's own ports were opened: the version request reaches it.
    QVERIFY(rig.timeline.waitFor("version", 1, ms(2500)));
}

void TestDetection::twoInstruments()
{
    // The first matching input and the first matching output are used, even when they belong
    // to different units: here the first unit shows only an input port.
    DeviceRig rig(false);
    SimMidiInstrument first(&rig.bus, QStringLiteral("TavloA"));
    first.setPortsExposed(true, false);
    first.setFirmwareVersion(QStringLiteral("1.1.1"));
    first.joinBus();
    rig.instrument.setFirmwareVersion(QStringLiteral("2.2.2"));
    rig.instrument.joinBus();
    rig.makeHandler();

    QVERIFY(rig.checkNow());
    QVERIFY(rig.timeline.waitFor("versionRequested", 1, ms(2000)));
    QVERIFY(first.receivedMessages().isEmpty());
    // The second unit's reply goes to its own input port, which the program did not open.
    SignalTimeline::runFor(ms(300));
    QCOMPARE(rig.timeline.count("version"), 0);
    QVERIFY(first.sendToProgram(QByteArray::fromHex("F07D01312E312E31F7")));
    QVERIFY(rig.timeline.waitFor("version", 1, ms(1000)));
    QCOMPARE(rig.timeline.events("version").at(0).args.at(0).toString(), QStringLiteral("1.1.1"));
}

void TestDetection::failedSendWhileAttachedReopensPorts()
{
    DeviceRig rig;
    rig.makeHandler();
    QVERIFY(rig.checkNow());
    rig.bus.failNextSends(1); // the version request's first send fails
    QVERIFY2(rig.timeline.waitFor("version", 1, ms(2500)), qPrintable(rig.timeline.dump()));
    QCOMPARE(rig.timeline.count("versionRequested"), 1);
    QCOMPARE(rig.timeline.count("dropped"), 0);
    QCOMPARE(rig.timeline.count("deviceFound"), 1);

    // The link is open afterwards: later messages arrive, and an unplug is still noticed.
    QVERIFY(rig.instrument.sendToProgram(QByteArray::fromHex("F07D01332E322E31F7")));
    QVERIFY(rig.timeline.waitFor("version", 2, ms(1000)));
    rig.instrument.leaveBus();
    QVERIFY(rig.timeline.waitFor("deviceFound", 2, ms(2000)));
    QCOMPARE(rig.timeline.events("deviceFound").at(1).args.at(0).toBool(), false);
}

void TestDetection::failedSendAfterUnplugReportsLoss()
{
    DeviceRig rig;
    rig.makeHandler();
    QVERIFY(rig.checkNow());
    rig.instrument.leaveBus();
    QSignalSpy found(rig.handler.get(), &MidiHandler::deviceFound);
    rig.handler->fileDownloaded(true); // its send fails: the instrument is gone
    QCOMPARE(found.count(), 1);
    QCOMPARE(found.at(0).at(0).toBool(), false);
    // The second send went nowhere: no volume is awaited, the switch is reported failed.
    QCOMPARE(rig.timeline.count("setToTransferMode"), 0);
    QCOMPARE(rig.timeline.count("modeFailed"), 1);
    QTRY_COMPARE(rig.timeline.count("dropped"), 1);
    QVERIFY(rig.sentToInstrument().isEmpty());
    // The presence poll runs again: plugged back in, it is found.
    rig.instrument.joinBus();
    QTRY_COMPARE_WITH_TIMEOUT(found.count(), 2, ms(2000));
    QCOMPARE(found.constLast().at(0).toBool(), true);
}

void TestDetection::failedUpdateModeSendWatchesAgain()
{
    DeviceRig rig;
    rig.makeHandler();
    QVERIFY(rig.checkNow());
    rig.bus.failNextSends(2); // the send and its one resend after the recovery
    rig.handler->fileDownloaded(true);
    QCOMPARE(rig.timeline.count("setToTransferMode"), 0);
    QCOMPARE(rig.timeline.count("modeFailed"), 1);
    QVERIFY(rig.timeline.events("modeFailed").at(0).args.at(0).toString().contains("update mode"));
    QCOMPARE(rig.bus.failedSendCount(), 2);
    QCOMPARE(rig.sentCount(SysEx::MIDI_SYSEX_UPDATE_MODE), 0);
    // Still in normal mode and watched: an unplug now is reported.
    const int seen = rig.timeline.count("deviceFound");
    rig.instrument.leaveBus();
    QVERIFY(rig.timeline.waitFor("deviceFound", seen + 1, ms(2000)));
    QCOMPARE(rig.timeline.events("deviceFound").constLast().args.at(0).toBool(), false);
}

void TestDetection::openFailureRetriedNextTick()
{
    DeviceRig rig;
    rig.bus.failNextPortOpens(1);
    rig.makeHandler();
    QVERIFY(!rig.checkNow());
    QCOMPARE(rig.timeline.count("deviceFound"), 0);
    // The next tick opens both ports on the instrument and the version comes back.
    QVERIFY(rig.timeline.waitFor("version", 1, ms(3000)));
    QCOMPARE(rig.timeline.count("deviceFound"), 1);
}

void TestDetection::noMidiService()
{
    DeviceRig rig;
    rig.bus.setMidiServiceAvailable(false);
    rig.makeHandler();
    QVERIFY(!rig.checkNow());
    rig.handler->fileDownloaded(true); // nothing to send it with
    QCOMPARE(rig.timeline.count("setToTransferMode"), 0);
    QCOMPARE(rig.timeline.count("modeFailed"), 1);
    rig.handler->onEjectCompleted(false);
    SignalTimeline::runFor(ms(1300));
    QCOMPARE(rig.timeline.count("deviceFound"), 0);
    QVERIFY(rig.sentToInstrument().isEmpty());
}

QTEST_GUILESS_MAIN(TestDetection)
#include "tst_detection.moc"
