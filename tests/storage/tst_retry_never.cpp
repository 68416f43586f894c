// The update volume never mounts: the transfer fails after the sixth look-up, five retry
// intervals after the first (about 15 s in the program);
// the count of retries stays at 5, so the next request fails at once, until the volume is
// there and the count starts again.
#include "WorkerRig.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestRetryNever : public QObject
{
    Q_OBJECT

private slots:
    void neverMountedVolumeGivesUp();
};

void TestRetryNever::neverMountedVolumeGivesUp()
{
    QTemporaryDir downloads;
    const QString source = downloads.filePath("fw.tvq");
    {
        QFile file(source);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("DATA");
    }

    WorkerRig rig;
    const int step = rig.timings.volumeRetryIntervalMs;
    rig.sim.setNeverMounts(true);
    rig.downloadFinished(true, source, "fw.tvq");
    QVERIFY(rig.sim.mount("tavloupd", step / 3)); // accepted, never happens
    const qint64 start = rig.clock.elapsed();
    rig.deviceSetToTransferMode();

    QTRY_VERIFY_WITH_TIMEOUT(!rig.transferResults.isEmpty(), step * 20 / 3);
    QCOMPARE(rig.transferResults, QList<bool>{false});
    const qint64 failedAfter = rig.transferTimesMs.constFirst() - start;
    QVERIFY2(failedAfter > step * 14 / 3 && failedAfter < step * 35 / 6, qPrintable(QString::number(failedAfter)));
    QCOMPARE(rig.retryCount(), 5);
    QVERIFY(!rig.sim.isMounted("tavloupd"));

    // Given up once: the next request (a new mode switch, "Try again") waits for the volume
    // afresh, with the whole count of retries, before it fails again.
    const qint64 secondStart = rig.clock.elapsed();
    rig.deviceSetToTransferMode();
    QTRY_COMPARE_WITH_TIMEOUT(rig.transferResults.size(), 2, step * 20 / 3);
    QCOMPARE(rig.transferResults.last(), false);
    const qint64 secondFailedAfter = rig.transferTimesMs.last() - secondStart;
    QVERIFY2(secondFailedAfter > step * 14 / 3 && secondFailedAfter < step * 35 / 6,
             qPrintable(QString::number(secondFailedAfter)));
    QCOMPARE(rig.retryCount(), 5);

    // With the volume present it proceeds normally and the count starts again.
    rig.sim.setNeverMounts(false);
    QVERIFY(rig.sim.mount("tavloupd"));
    rig.deviceSetToTransferMode();
    QTRY_COMPARE(rig.transferResults.size(), 3);
    QCOMPARE(rig.transferResults.last(), true);
    QCOMPARE(rig.retryCount(), 0);
    QCOMPARE(rig.progress, QList<int>{100});
}

QTEST_GUILESS_MAIN(TestRetryNever)
#include "tst_retry_never.moc"
