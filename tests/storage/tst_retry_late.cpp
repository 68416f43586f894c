// The update volume mounts 7/3 retry intervals after the first attempt (7 s in the program):
// the third timed retry finds it.
#include "WorkerRig.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestRetryLate : public QObject
{
    Q_OBJECT

private slots:
    void lateVolumeFoundByThirdRetry();
};

void TestRetryLate::lateVolumeFoundByThirdRetry()
{
    QTemporaryDir downloads;
    const QString source = downloads.filePath("fw.tvq");
    {
        QFile file(source);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(10000, 'x'));
    }

    WorkerRig rig;
    qint64 mountedAt = -1;
    connect(&rig.sim, &SimulatedStorage::volumeMounted, &rig,
            [&](const QString&, const QString&) { mountedAt = rig.clock.elapsed(); });
    const int step = rig.timings.volumeRetryIntervalMs;
    rig.downloadFinished(true, source, "fw.tvq");
    QCOMPARE(rig.retryCount(), 0);
    const qint64 start = rig.clock.elapsed();
    rig.deviceSetToTransferMode();
    QVERIFY(rig.sim.mount("tavloupd", step * 7 / 3));

    QTRY_COMPARE_WITH_TIMEOUT(rig.transferResults, QList<bool>{true}, step * 5);
    // Attempts at 0, 1, 2 and 3 steps: the mount at 7/3 steps is seen by the third retry.
    QVERIFY2(mountedAt - start > step * 13 / 6, qPrintable(QString::number(mountedAt - start)));
    const qint64 doneAfter = rig.transferTimesMs.constFirst() - start;
    QVERIFY2(doneAfter > step * 17 / 6 && doneAfter < step * 11 / 3, qPrintable(QString::number(doneAfter)));
    QCOMPARE(rig.progress, (QList<int>{40, 81, 100}));
    QCOMPARE(rig.retryCount(), 0);
    QVERIFY(QFile::exists(QDir(rig.sim.rootPath("tavloupd")).filePath("tvxxfer.tvq")));
}

QTEST_GUILESS_MAIN(TestRetryLate)
#include "tst_retry_late.moc"
