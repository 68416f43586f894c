// The update volume mounts 7 s after the first attempt: the third timed retry finds it.
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
    rig.downloadFinished(true, source, "fw.tvq");
    QCOMPARE(rig.retryCount(), 0);
    const qint64 start = rig.clock.elapsed();
    rig.deviceSetToTransferMode();
    QVERIFY(rig.sim.mount("tavloupd", 7000));

    QTRY_COMPARE_WITH_TIMEOUT(rig.transferResults, QList<bool>{true}, 15000);
    // Attempts at 0, 3, 6 and 9 s: the mount at 7 s is seen by the third retry, at 9 s.
    QVERIFY2(mountedAt - start > 6500, qPrintable(QString::number(mountedAt - start)));
    const qint64 doneAfter = rig.transferTimesMs.constFirst() - start;
    QVERIFY2(doneAfter > 8500 && doneAfter < 11000, qPrintable(QString::number(doneAfter)));
    QCOMPARE(rig.progress, (QList<int>{40, 81, 100}));
    QCOMPARE(rig.retryCount(), 0);
    QVERIFY(QFile::exists(QDir(rig.sim.rootPath("tavloupd")).filePath("tvxxfer.tvq")));
}

QTEST_GUILESS_MAIN(TestRetryLate)
#include "tst_retry_late.moc"
