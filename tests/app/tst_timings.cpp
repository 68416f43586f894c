// The numbers the shipped programs run with: every timing of the device link and the
// storage, as the instrument and its users expect them. Every other test runs shorter ones.

#include "Timings.h"

#include <QTest>

class TestTimings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void deviceLink();
    void storage();
    void download();
    void cli();
    void updateConfirmation();
    void computerCheck();
};

void TestTimings::deviceLink()
{
    const DeviceTimings d = Timings::production().device;
    QCOMPARE(d.presencePollMs, 1000);
    QCOMPARE(d.versionRequestDelayMs, 800);
    // The wait for the instrument to come back on USB after a mode switch.
    QCOMPARE(d.reconnectDelayMs, 2000);
    QCOMPARE(d.reconnectPollMs, 50);
    QCOMPARE(d.reconnectPollLimit, 100);
    QCOMPARE(d.firstSendDelayMs, 400);
    QCOMPARE(d.resendIntervalMs, 500);
    QCOMPARE(d.sendsPerReconnection, 3);
    QCOMPARE(d.graceTimeMs, 3000);
    QCOMPARE(d.ackTimeoutMs, 15000);
    QCOMPARE(d.retryDelayMs, 1500);
    QCOMPARE(d.maxReconnectAttempts, 4);
}

void TestTimings::storage()
{
    const StorageTimings s = Timings::production().storage;
    QCOMPARE(s.volumeRetryIntervalMs, 3000);
    QCOMPARE(s.maxVolumeRetries, 5);
    QCOMPARE(s.volumePollIntervalMs, 50);
    QCOMPARE(s.macMountSettleMs, 500);
    QCOMPARE(s.volumeLockAttempts, 20);
    QCOMPARE(s.volumeLockRetryMs, 500);
}

void TestTimings::download()
{
    const DownloadTimings d = Timings::production().download;
    QCOMPARE(d.stallTimeoutMs, 30000);
    QCOMPARE(d.catalogueTimeoutMs, 120000);
    QCOMPARE(d.curlConnectTimeoutS, 15);
    QCOMPARE(d.curlSpeedLimitBytes, 1);
    QCOMPARE(d.curlSpeedTimeS, 30);
    // Three more tries after a dropped connection, 1 s, 2 s and 4 s apart: the whole wait
    // stays under the stall time.
    QCOMPARE(d.retryCount, 3);
    QCOMPARE(d.retryFirstDelayMs, 1000);
}

void TestTimings::cli()
{
    const CliTimings c = Timings::production().cli;
    QCOMPARE(c.instrumentWaitMs, 8000);
    QCOMPARE(c.pollMs, 100);
    // The command line waits longer for the instrument than the link takes to ask it.
    const DeviceTimings d = Timings::production().device;
    QVERIFY(c.instrumentWaitMs > d.presencePollMs + d.versionRequestDelayMs);
}

void TestTimings::updateConfirmation()
{
    const FlowTimings f = Timings::production().flow;
    QCOMPARE(f.confirmTimeoutMs, 600000);
    QCOMPARE(f.otherVersionSettleMs, 90000);
    // A report of the old firmware before the reboot leaves time for the reboot to follow,
    // within the whole wait.
    const DeviceTimings d = Timings::production().device;
    QVERIFY(f.otherVersionSettleMs > d.graceTimeMs + d.ackTimeoutMs + d.presencePollMs);
    QVERIFY(f.confirmTimeoutMs > f.otherVersionSettleMs);
}

void TestTimings::computerCheck()
{
    const DiagnosisTimings t = Timings::production().diagnosis;
    QCOMPARE(t.instrumentMs, 8000);
    QCOMPARE(t.serverMs, 15000);
    QCOMPARE(t.localMs, 5000);
    // The check waits for the instrument as long as the command line does, which is longer
    // than the link takes to ask it.
    QCOMPARE(t.instrumentMs, Timings::production().cli.instrumentWaitMs);
}

QTEST_GUILESS_MAIN(TestTimings)
#include "tst_timings.moc"
