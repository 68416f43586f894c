// What starts a wait and what does not, and the presence poll around it.
#include "DeviceRig.h"
#include "SysExMessages.h"

#include <QTest>


constexpr auto ms = ShortDeviceTimings::ms;
class TestWaitTriggers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void falseArgumentsChangeNothing();
    void presencePollStoppedDuringWait();
};

#define DUMP qPrintable(rig.timeline.dump())

void TestWaitTriggers::falseArgumentsChangeNothing()
{
    DeviceRig rig;
    QVERIFY(rig.startConnected());

    rig.handler->fileDownloaded(false);
    rig.handler->transferComplete(false);
    rig.handler->onEjectCompleted(false);
    SignalTimeline::runFor(ms(2600));
    QVERIFY2(rig.timeline.all().isEmpty(), DUMP);

    // The link is untouched and the presence poll still runs.
    QVERIFY(rig.instrument.sendToProgram(QByteArray::fromHex("F07D01312E362E30F7")));
    QVERIFY(rig.timeline.waitFor("version", 1, ms(1000)));
    rig.instrument.leaveBus();
    QVERIFY2(rig.timeline.waitFor("deviceFound", 1, ms(1500)), DUMP);
    QCOMPARE(rig.timeline.events("deviceFound").at(0).args.at(0).toBool(), false);
}

void TestWaitTriggers::presencePollStoppedDuringWait()
{
    DeviceRig rig;
    QVERIFY(rig.startConnected());

    rig.handler->onEjectCompleted(true);
    // Unplugged during the delay, back before the poll starts.
    SignalTimeline::runFor(ms(100));
    rig.instrument.leaveBus();
    SignalTimeline::runFor(ms(1500));
    QCOMPARE(rig.timeline.count("deviceFound"), 0);
    rig.instrument.joinBus();
    QVERIFY2(rig.timeline.waitFor("finished", 1, ms(5000)), DUMP);
    QCOMPARE(rig.timeline.events("finished").at(0).args.at(0).toBool(), true);
    QCOMPARE(rig.timeline.count("transferEndAck"), 1);
    QCOMPARE(rig.timeline.count("deviceFound"), 0);
    // The reconnection made no version request.
    QCOMPARE(rig.timeline.count("versionRequested"), 0);
}

QTEST_GUILESS_MAIN(TestWaitTriggers)
#include "tst_wait_triggers.moc"
