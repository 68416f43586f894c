// The update-only edition's presence check: reported every second while the instrument is
// absent, found once and then left alone, faults of the MIDI service ending a tick quietly.
#include "DeviceRig.h"
#include "SysExMessages.h"

#include <QSignalSpy>
#include <QTest>


constexpr auto ms = ShortDeviceTimings::ms;
class TestPresence : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void absentReportedEveryTick();
    void presentAtStartFoundOnceWithVersionRequestAtOnce();
    void unplugAfterConnectionReportedAndReplugStartsAfresh();
    void noWatchInUpdateModeUntilTransferFails();
    void laterPlugInFound();
    void serviceFaultEndsTickQuietly_data();
    void serviceFaultEndsTickQuietly();
    void noMidiServiceNoPoll();
    void versionReplies_data();
    void versionReplies();
};

namespace {
constexpr qint64 kTolerance = ms(300);

QList<bool> foundFlags(const DeviceRig& rig)
{
    QList<bool> flags;
    for (const auto& e : rig.timeline.events(QStringLiteral("deviceFound")))
        flags << e.args.at(0).toBool();
    return flags;
}
} // namespace

void TestPresence::absentReportedEveryTick()
{
    DeviceRig rig(false);
    rig.timeline.restart();
    rig.makeHandler();
    QVERIFY(rig.timeline.waitFor("deviceFound", 3, ms(4500)));
    QCOMPARE(foundFlags(rig), (QList<bool>{false, false, false}));
    for (int i = 0; i < 3; ++i) {
        QVERIFY2(DeviceRig::near(rig.timeline.at("deviceFound", i), ms(1000) * (i + 1), kTolerance),
                 qPrintable(rig.timeline.dump()));
    }
    QVERIFY(rig.sentToInstrument().isEmpty());
}

void TestPresence::presentAtStartFoundOnceWithVersionRequestAtOnce()
{
    DeviceRig rig;
    rig.instrument.setFirmwareVersion(QStringLiteral("1.4.2"));
    rig.timeline.restart();
    rig.makeHandler();
    QVERIFY2(rig.timeline.waitFor("version", 1, ms(3000)), qPrintable(rig.timeline.dump()));

    QCOMPARE(foundFlags(rig), QList<bool>{true});
    const qint64 found = rig.timeline.at("deviceFound");
    QVERIFY2(DeviceRig::near(found, ms(1000), kTolerance), qPrintable(rig.timeline.dump()));
    // The request goes out as the ports open, before deviceFound: no 800 ms delay.
    const qint64 asked = rig.timeline.at("versionRequested");
    QVERIFY2(asked >= 0 && asked <= found + ms(100), qPrintable(rig.timeline.dump()));
    QCOMPARE(rig.sentToInstrument(), QList<QByteArray>{DeviceRig::bytes(SysEx::MIDI_SYSEX_VERSION_REQUEST)});
    QCOMPARE(rig.timeline.events("version").at(0).args.at(0).toString(), QStringLiteral("1.4.2"));

    // The poll has stopped: nothing more is reported or asked while it stays attached.
    SignalTimeline::runFor(ms(2300));
    QCOMPARE(rig.timeline.count("deviceFound"), 1);
    QCOMPARE(rig.timeline.count("versionRequested"), 1);
}

void TestPresence::unplugAfterConnectionReportedAndReplugStartsAfresh()
{
    DeviceRig rig;
    QVERIFY(rig.startConnected());
    rig.instrument.leaveBus();
    SignalTimeline::runFor(ms(2300));
    // The watch reports the loss, and the absence at every look after it.
    QVERIFY2(rig.timeline.count("deviceFound") >= 1, qPrintable(rig.timeline.dump()));
    QVERIFY(!foundFlags(rig).contains(true));
    // Plugged in again, it is a fresh connection: found once and asked for its version.
    rig.instrument.joinBus();
    QVERIFY2(rig.timeline.waitFor("versionRequested", 1, ms(2500)), qPrintable(rig.timeline.dump()));
    SignalTimeline::runFor(ms(1300));
    QCOMPARE(foundFlags(rig).count(true), 1);
    QCOMPARE(foundFlags(rig).constLast(), true);
    QCOMPARE(rig.timeline.count("versionRequested"), 1);
}

void TestPresence::noWatchInUpdateModeUntilTransferFails()
{
    // After the update-mode message the instrument leaves the bus on purpose: no loss is
    // reported. A failed copy starts the watch again, and a loss from then on is reported.
    DeviceRig rig;
    QVERIFY(rig.startConnected());
    rig.handler->fileDownloaded(true);
    rig.instrument.leaveBus();
    SignalTimeline::runFor(ms(2300));
    QCOMPARE(rig.timeline.count("deviceFound"), 0);
    rig.handler->transferComplete(false);
    QVERIFY2(rig.timeline.waitFor("deviceFound", 1, ms(2500)), qPrintable(rig.timeline.dump()));
    QCOMPARE(foundFlags(rig).constFirst(), false);
}

void TestPresence::laterPlugInFound()
{
    DeviceRig rig(false);
    rig.makeHandler();
    QVERIFY(rig.timeline.waitFor("deviceFound", 2, ms(3000)));
    rig.instrument.joinBus();
    QVERIFY(rig.timeline.waitFor("version", 1, ms(2500)));
    const QList<bool> flags = foundFlags(rig);
    QCOMPARE(flags.constLast(), true);
    QCOMPARE(flags.count(true), 1);
    SignalTimeline::runFor(ms(1300));
    QCOMPARE(rig.timeline.count("deviceFound"), flags.size());
}

void TestPresence::serviceFaultEndsTickQuietly_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("instrument's input name unreadable") << QStringLiteral("inputName");
    QTest::newRow("instrument's output name unreadable") << QStringLiteral("outputName");
    QTest::newRow("other port's name unreadable, instrument absent") << QStringLiteral("otherName");
    QTest::newRow("input port does not open") << QStringLiteral("open1");
}

void TestPresence::serviceFaultEndsTickQuietly()
{
    QFETCH(QString, fault);
    DeviceRig rig(fault != QLatin1String("otherName"));
    if (fault == QLatin1String("inputName"))
        rig.bus.setUnreadablePortName(rig.bus.inputPortNames().constFirst());
    else if (fault == QLatin1String("outputName"))
        rig.bus.setUnreadablePortName(rig.bus.outputPortNames().constFirst());
    else if (fault == QLatin1String("otherName")) {
        rig.bus.attachDevice(QStringLiteral("Other"), UsbIds{true, "0A0A", "0001"}, true, true);
        rig.bus.setUnreadablePortName(rig.bus.inputPortNames().constFirst());
    } else {
        rig.bus.failNextPortOpens(1);
    }
    rig.makeHandler();
    rig.timeline.restart();
    QVERIFY(!rig.checkNow());
    QCOMPARE(rig.timeline.count("deviceFound"), 0);
    QVERIFY(rig.sentToInstrument().isEmpty());
    if (fault.startsWith(QLatin1String("open"))) {
        // Nothing stays open: a message from the instrument reaches no input.
        QVERIFY(!rig.instrument.sendToProgram(QByteArray::fromHex("F07D01312E302E30F7")));
    }

    // The fault has passed: the poll, still running, connects at its next tick.
    rig.bus.setUnreadablePortName(QString());
    if (fault == QLatin1String("otherName")) {
        QVERIFY(rig.timeline.waitFor("deviceFound", 1, ms(2500)));
        QCOMPARE(foundFlags(rig), QList<bool>{false});
        return;
    }
    QVERIFY2(rig.timeline.waitFor("version", 1, ms(2500)), qPrintable(rig.timeline.dump()));
    QCOMPARE(foundFlags(rig), QList<bool>{true});
    QCOMPARE(rig.sentCount(SysEx::MIDI_SYSEX_VERSION_REQUEST), 1);
}

void TestPresence::noMidiServiceNoPoll()
{
    DeviceRig rig;
    rig.bus.setMidiServiceAvailable(false);
    rig.makeHandler();
    QVERIFY(!rig.checkNow());
    rig.handler->fileDownloaded(true);
    rig.handler->transferComplete(true);
    SignalTimeline::runFor(ms(1300));
    QCOMPARE(rig.timeline.count("deviceFound"), 0);
    QVERIFY(rig.sentToInstrument().isEmpty());
}

void TestPresence::versionReplies_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<QString>("version"); // empty: nothing is reported
    QTest::newRow("version reply") << QByteArray::fromHex("F07D01312E352E30F7") << QStringLiteral("1.5.0");
    QTest::newRow("long version") << QByteArray::fromHex("F07D0131302E32302E3330F7") << QStringLiteral("10.20.30");
    QTest::newRow("transfer start acknowledgment") << QByteArray::fromHex("F07E7F0903F7") << QString();
    QTest::newRow("transfer end acknowledgment") << QByteArray::fromHex("F07E7F0904F7") << QString();
    QTest::newRow("other id") << QByteArray::fromHex("F07C01312E352E30F7") << QString();
    QTest::newRow("note on") << QByteArray::fromHex("903C64") << QString();
}

void TestPresence::versionReplies()
{
    QFETCH(QByteArray, message);
    QFETCH(QString, version);
    DeviceRig rig;
    QVERIFY(rig.startConnected());
    QSignalSpy any(rig.handler.get(), &MidiHandler::tavloReceivedVersion);
    QSignalSpy found(rig.handler.get(), &MidiHandler::deviceFound);
    QVERIFY(rig.instrument.sendToProgram(message));
    // A later reply marks the end of the delivery of the one under test.
    QVERIFY(rig.instrument.sendToProgram(QByteArray::fromHex("F07D01392E392E39F7")));
    QTRY_VERIFY(!any.isEmpty() && any.constLast().at(0).toString() == QLatin1String("9.9.9"));
    QStringList seen;
    for (const auto& args : any)
        seen << args.at(0).toString();
    seen.removeLast();
    QCOMPARE(seen, version.isEmpty() ? QStringList{} : QStringList{version});
    QCOMPARE(found.count(), 0);
}

QTEST_GUILESS_MAIN(TestPresence)
#include "tst_updater_midi_presence.moc"
