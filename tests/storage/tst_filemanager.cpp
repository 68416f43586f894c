// The FileManager on its worker thread against the simulated instrument's storage: lookup,
// the update hand-over, its failures and mended faults.
#include "WorkerRig.h"

#include <StorageFailureText.h>
#include <StorageTestFiles.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace {
const QString kUpd = QStringLiteral("tavloupd");
const QString kTransfer = QStringLiteral("TAVLO");
const QString kHandOver = QStringLiteral("tvxxfer.tvq");

bool runningAsRoot()
{
    return ::geteuid() == 0;
}
} // namespace

class TestFileManager : public QObject
{
    Q_OBJECT

private slots:
    void lookup_data();
    void lookup();
    void lookupReflectsCurrentState();
    void transferCopiesWithProgress_data();
    void transferCopiesWithProgress();
    void failedDownloadKeepsEarlierFile();
    void transferWithoutDownloadFails();
    void transferWithVanishedSourceFails();
    void staleHandOverFileIsReplaced();
    void downloadAlreadyNamedLikeHandOver();
    void plantedLinkIsNotWrittenThrough();
    void fullDiskFails();
    void fileBeyondFreeSpaceIsRefused();
    void refusedEjectFailsTransfer();
    void volumeVanishingMidCopyFails();
    void unplugCancelsCopyAndLeavesNothing();
};

// Each row mounts volumes in order, as "label|flags" with flags r (read-only), n (not
// ready); the expected result is the index of the volume found, or -1.
void TestFileManager::lookup_data()
{
    QTest::addColumn<QStringList>("volumes");
    QTest::addColumn<QString>("request");
    QTest::addColumn<int>("expected");

    QTest::newRow("exact label") << QStringList{"OTHER|", "TAVLO|"} << kTransfer << 1;
    QTest::newRow("letter case differs") << QStringList{"tavlo|", "Tavlo|"} << kTransfer << -1;
    QTest::newRow("update label case differs") << QStringList{"TAVLOUPD|"} << kUpd << -1;
    QTest::newRow("read-only") << QStringList{"TAVLO|r"} << kTransfer << -1;
    QTest::newRow("not ready") << QStringList{"TAVLO|n"} << kTransfer << -1;
    QTest::newRow("two of the instrument's: neither") << QStringList{"TAVLO|", "TAVLO|"} << kTransfer << -1;
    QTest::newRow("read-only first, writable second: neither") << QStringList{"TAVLO|r", "TAVLO|"} << kTransfer << -1;
    QTest::newRow("stranger first, instrument second") << QStringList{"TAVLO|s", "TAVLO|"} << kTransfer << 1;
    QTest::newRow("only a stranger") << QStringList{"TAVLO|s"} << kTransfer << -1;
    QTest::newRow("stranger of another maker") << QStringList{"tavloupd|v"} << kUpd << -1;
    QTest::newRow("not-ready first, writable second") << QStringList{"TAVLO|n", "TAVLO|"} << kTransfer << 1;
    QTest::newRow("no label") << QStringList{"|"} << kTransfer << -1;
    QTest::newRow("label with a trailing blank") << QStringList{"TAVLO |"} << kTransfer << -1;
    QTest::newRow("nothing mounted") << QStringList{} << kUpd << -1;
}

void TestFileManager::lookup()
{
    QFETCH(QStringList, volumes);
    QFETCH(QString, request);
    QFETCH(int, expected);

    WorkerRig rig;
    QStringList roots;
    for (const QString& row : volumes) {
        const QString label = row.section('|', 0, 0);
        const QString flags = row.section('|', 1);
        // s: a stranger on no USB device, v: a stranger on another maker's device.
        SimVolumeOptions options = flags.contains('s') ? SimulatedStorage::strangerVolumeOptions()
            : flags.contains('v')                      ? SimulatedStorage::strangerVolumeOptions("0781", "5567")
                                                       : SimVolumeOptions();
        options.readOnly = flags.contains('r');
        options.ready = !flags.contains('n');
        QVERIFY2(rig.sim.mount(label, 0, options), qPrintable(rig.sim.lastError()));
        roots.append(rig.sim.rootPath(label));
    }
    const QString found = rig.mountPath(request);
    QCOMPARE(found, expected < 0 ? QString() : roots.at(expected));
    QCOMPARE(rig.mounted(request), expected >= 0);
}

void TestFileManager::lookupReflectsCurrentState()
{
    WorkerRig rig;
    QVERIFY(!rig.mounted(kTransfer));
    QVERIFY(rig.sim.mount(kTransfer));
    QCOMPARE(rig.mountPath(kTransfer), rig.sim.rootPath(kTransfer));
    QVERIFY(rig.sim.setReadOnly(kTransfer, true));
    QVERIFY(!rig.mounted(kTransfer));
    QVERIFY(rig.sim.setReadOnly(kTransfer, false));
    QVERIFY(rig.sim.setReady(kTransfer, false));
    QVERIFY(!rig.mounted(kTransfer));
    QVERIFY(rig.sim.setReady(kTransfer, true));
    QVERIFY(rig.mounted(kTransfer));
    rig.sim.unmount(kTransfer);
    QVERIFY(!rig.mounted(kTransfer));
}

void TestFileManager::transferCopiesWithProgress_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QList<int>>("expected");

    QTest::newRow("10000 bytes") << qint64(10000) << QList<int>{40, 81, 100};
    QTest::newRow("empty file") << qint64(0) << QList<int>{};
    QTest::newRow("one byte") << qint64(1) << QList<int>{100};
    QTest::newRow("exactly one chunk") << qint64(4096) << QList<int>{100};
    QTest::newRow("one chunk and a byte") << qint64(4097) << QList<int>{99, 100};
    QTest::newRow("two chunks") << qint64(8192) << QList<int>{50, 100};
}

void TestFileManager::transferCopiesWithProgress()
{
    QFETCH(qint64, size);
    QFETCH(QList<int>, expected);

    QTemporaryDir downloads;
    const QByteArray content = StorageTestFiles::pattern(size);
    const QString source = StorageTestFiles::write(downloads, "tavlo-fw-2.0.1.tvq", content);
    QVERIFY(!source.isEmpty());

    WorkerRig rig;
    QString dismountedRoot;
    QByteArray leftOnVolume;
    QStringList leftNames;
    connect(&rig.sim, &SimulatedStorage::volumeDismounted, &rig,
            [&](const QString&, const QString& root) {
                dismountedRoot = root;
                leftOnVolume = StorageTestFiles::read(QDir(root).filePath(kHandOver));
                leftNames = QDir(root).entryList(QDir::Files);
            });
    QVERIFY(rig.sim.mount(kUpd));
    rig.downloadFinished(true, source, "tavlo-fw-2.0.1.tvq");
    rig.deviceSetToTransferMode();

    QTRY_COMPARE(rig.transferResults, QList<bool>{true});
    QCOMPARE(rig.progress, expected);
    QCOMPARE(QString(FileManager::kUpdateVolumeLabel), kUpd);
    QCOMPARE(QString(FileManager::kTransferFileName), kHandOver);
    QTRY_COMPARE(dismountedRoot, rig.sim.rootPath(kUpd));
    QCOMPARE(leftNames, QStringList{kHandOver});
    QCOMPARE(leftOnVolume, content);
    QVERIFY(!rig.sim.isMounted(kUpd));
    // Every progress report comes before the result; the eject happens before the result.
    const qsizetype result = rig.events.indexOf("transfer:1");
    QVERIFY(rig.events.lastIndexOf("progress") < result);
    QVERIFY(rig.events.indexOf("dismounted:tavloupd") < result);
}

void TestFileManager::failedDownloadKeepsEarlierFile()
{
    QTemporaryDir downloads;
    const QString good = StorageTestFiles::write(downloads, "good.tvq", "GOOD");
    const QString bad = StorageTestFiles::write(downloads, "bad.tvq", "BAD");

    WorkerRig rig;
    QVERIFY(rig.sim.mount(kUpd));
    rig.downloadFinished(true, good, "good.tvq");
    rig.downloadFinished(false, bad, "bad.tvq");
    rig.deviceSetToTransferMode();
    QTRY_COMPARE(rig.transferResults, QList<bool>{true});
    QCOMPARE(StorageTestFiles::read(QDir(rig.sim.rootPath(kUpd)).filePath(kHandOver)), QByteArray("GOOD"));
    QVERIFY(!QFile::exists(QDir(rig.sim.rootPath(kUpd)).filePath("bad.tvq")));
}

void TestFileManager::transferWithoutDownloadFails()
{
    WorkerRig rig;
    QVERIFY(rig.sim.mount(kUpd));
    rig.deviceSetToTransferMode();
    QTRY_COMPARE(rig.transferResults, QList<bool>{false});
    QVERIFY(rig.progress.isEmpty());
    QVERIFY(QDir(rig.sim.rootPath(kUpd)).isEmpty());
    QVERIFY(rig.sim.isMounted(kUpd)); // not ejected after a failure
}

void TestFileManager::transferWithVanishedSourceFails()
{
    QTemporaryDir downloads;
    const QString source = StorageTestFiles::write(downloads, "fw.tvq", "DATA");
    WorkerRig rig;
    QVERIFY(rig.sim.mount(kUpd));
    rig.downloadFinished(true, source, "fw.tvq");
    QVERIFY(rig.retryCount() == 0); // the download report has been handled
    QVERIFY(QFile::remove(source));
    rig.deviceSetToTransferMode();
    QTRY_COMPARE(rig.transferResults, QList<bool>{false});
    QVERIFY(QDir(rig.sim.rootPath(kUpd)).isEmpty());
}

void TestFileManager::staleHandOverFileIsReplaced()
{
    QTemporaryDir downloads;
    const QString source = StorageTestFiles::write(downloads, "fw.tvq", "FRESH");
    WorkerRig rig;
    SimVolumeOptions options;
    options.files.insert(kHandOver, "STALE FROM AN EARLIER TRY");
    QVERIFY(rig.sim.mount(kUpd, 0, options));
    rig.downloadFinished(true, source, "fw.tvq");
    rig.deviceSetToTransferMode();
    QTRY_COMPARE(rig.transferResults, QList<bool>{true});
    const QDir root(rig.sim.rootPath(kUpd));
    QCOMPARE(root.entryList(QDir::Files), QStringList{kHandOver});
    QCOMPARE(StorageTestFiles::read(root.filePath(kHandOver)), QByteArray("FRESH"));
}

void TestFileManager::downloadAlreadyNamedLikeHandOver()
{
    // Removing a "stale" hand-over file must not remove the file just copied.
    QTemporaryDir downloads;
    const QString source = StorageTestFiles::write(downloads, kHandOver, "NEW");
    WorkerRig rig;
    SimVolumeOptions options;
    options.files.insert(kHandOver, "OLD");
    QVERIFY(rig.sim.mount(kUpd, 0, options));
    rig.downloadFinished(true, source, kHandOver);
    rig.deviceSetToTransferMode();
    QTRY_COMPARE(rig.transferResults, QList<bool>{true});
    QCOMPARE(StorageTestFiles::read(QDir(rig.sim.rootPath(kUpd)).filePath(kHandOver)), QByteArray("NEW"));
}

void TestFileManager::plantedLinkIsNotWrittenThrough()
{
    // A link planted on the volume under the temporary name is removed before the copy, never
    // written through: the copy lands on the volume itself, and the link's target is untouched.
    QTemporaryDir downloads;
    const QString source = StorageTestFiles::write(downloads, "fw.tvq", StorageTestFiles::pattern(5000));
    const QString target = StorageTestFiles::write(downloads, "elsewhere", "KEEP");
    WorkerRig rig;
    QVERIFY(rig.sim.mount(kUpd));
    QVERIFY(QFile::link(target, QDir(rig.sim.rootPath(kUpd)).filePath("fw.tvq")));
    rig.downloadFinished(true, source, "fw.tvq");
    rig.deviceSetToTransferMode();
    QTRY_COMPARE(rig.transferResults, QList<bool>{true});
    QCOMPARE(StorageTestFiles::read(target), QByteArray("KEEP"));
    QCOMPARE(StorageTestFiles::read(QDir(rig.sim.rootPath(kUpd)).filePath(kHandOver)),
             StorageTestFiles::pattern(5000));
}

void TestFileManager::fullDiskFails()
{
    if (!runningAsRoot())
        QSKIP("a size-limited simulated volume (tmpfs) needs root");
    QTemporaryDir downloads;
    const QString source = StorageTestFiles::write(downloads, "fw.tvq", StorageTestFiles::pattern(40000));
    WorkerRig rig;
    SimVolumeOptions options;
    options.capacityBytes = 16384;
    options.files.insert(kHandOver, QByteArray("OLD"));
    QVERIFY2(rig.sim.mount(kUpd, 0, options), qPrintable(rig.sim.lastError()));
    rig.downloadFinished(true, source, "fw.tvq");
    rig.deviceSetToTransferMode();
    QTRY_COMPARE(rig.transferResults, QList<bool>{false});
    // Refused before a byte is written: the file is larger than the whole volume.
    QVERIFY(rig.progress.isEmpty());
    const QDir root(rig.sim.rootPath(kUpd));
    QVERIFY(!root.exists("fw.tvq"));
    QCOMPARE(root.entryList(QDir::Files | QDir::Hidden), QStringList{kHandOver});
    QCOMPARE(StorageTestFiles::read(root.filePath(kHandOver)), QByteArray("OLD"));
    QVERIFY(rig.sim.isMounted(kUpd));
}

void TestFileManager::fileBeyondFreeSpaceIsRefused()
{
    if (!runningAsRoot())
        QSKIP("a size-limited simulated volume (tmpfs) needs root");
    QTemporaryDir downloads;
    // Fits the volume's size but not its free space once another file takes part of it.
    const QString source = StorageTestFiles::write(downloads, "fw.tvq", StorageTestFiles::pattern(48000));
    WorkerRig rig;
    SimVolumeOptions options;
    options.capacityBytes = 65536;
    options.files.insert(QStringLiteral("other.bin"), QByteArray(32768, 'o'));
    QVERIFY2(rig.sim.mount(kUpd, 0, options), qPrintable(rig.sim.lastError()));
    rig.downloadFinished(true, source, "fw.tvq");
    rig.deviceSetToTransferMode();
    QTRY_COMPARE(rig.transferResults, QList<bool>{false});
    QVERIFY(rig.progress.isEmpty());
    const QDir root(rig.sim.rootPath(kUpd));
    QVERIFY(!root.exists("fw.tvq"));
    QVERIFY(!root.exists(kHandOver));
    QVERIFY(rig.mounted(kUpd));
}

void TestFileManager::refusedEjectFailsTransfer()
{
    QTemporaryDir downloads;
    const QString source = StorageTestFiles::write(downloads, "fw.tvq", "DATA");
    WorkerRig rig;
    SimVolumeOptions options;
    options.busy = true;
    QVERIFY(rig.sim.mount(kUpd, 0, options));
    rig.downloadFinished(true, source, "fw.tvq");
    rig.deviceSetToTransferMode();
    QTRY_COMPARE(rig.transferResults, QList<bool>{false});
    QVERIFY(rig.sim.isMounted(kUpd));
    // The file is in place all the same; only the eject failed.
    QCOMPARE(StorageTestFiles::read(QDir(rig.sim.rootPath(kUpd)).filePath(kHandOver)), QByteArray("DATA"));
}

namespace {
// Large enough that the copy passes several of its checks for a vanished volume or a cancel.
constexpr qint64 kLargeUpdate = 16 * 1024 * 1024;
} // namespace

void TestFileManager::volumeVanishingMidCopyFails()
{
    QTemporaryDir downloads;
    const QString source = StorageTestFiles::write(downloads, "fw.tvq", StorageTestFiles::pattern(kLargeUpdate));
    WorkerRig rig;
    QStringList reasons;
    connect(rig.manager, &FileManager::transferFailureReason, &rig,
            [&](const QString& why) { reasons << why; });
    SimVolumeOptions options;
    options.files.insert(kHandOver, QByteArray("OLD")); // an old file must not survive either
    QVERIFY(rig.sim.mount(kUpd, 0, options));
    const QString root = rig.sim.rootPath(kUpd);
    bool pulled = false;
    connect(rig.manager, &FileManager::copyProgress, &rig, [&] {
        if (!pulled)
            rig.sim.unmount(kUpd); // the cable pulled while the copy runs
        pulled = true;
    });
    rig.downloadFinished(true, source, "fw.tvq");
    rig.deviceSetToTransferMode();
    QTRY_COMPARE_WITH_TIMEOUT(rig.transferResults, QList<bool>{false}, 20000);
    QCOMPARE(reasons, QStringList{StorageFailureText::volumeGoneDuringCopy()});
    QVERIFY(!rig.progress.isEmpty());
    const QStringList left = QDir(root).entryList(QDir::Files | QDir::Hidden);
    QVERIFY2(left.isEmpty(), qPrintable(left.join(' ')));
}

void TestFileManager::unplugCancelsCopyAndLeavesNothing()
{
    QTemporaryDir downloads;
    const QString source = StorageTestFiles::write(downloads, "fw.tvq", StorageTestFiles::pattern(kLargeUpdate));
    WorkerRig rig;
    QVERIFY(rig.sim.mount(kUpd));
    const QDir root(rig.sim.rootPath(kUpd));
    bool cancelled = false;
    QMetaObject::Connection onProgress = connect(rig.manager, &FileManager::copyProgress, &rig, [&] {
        if (!cancelled)
            rig.manager->cancelHandOver(); // from the main thread, while the worker copies
        cancelled = true;
    });
    rig.downloadFinished(true, source, "fw.tvq");
    rig.deviceSetToTransferMode();
    QTRY_VERIFY(cancelled);
    // The copy stops without a report, and removes what it wrote.
    QTRY_VERIFY_WITH_TIMEOUT(root.entryList(QDir::Files | QDir::Hidden).isEmpty(), 20000);
    QTest::qWait(200);
    QVERIFY(rig.transferResults.isEmpty());
    QVERIFY(rig.progress.last() < 100);

    // The next hand-over (after a replug) starts afresh and succeeds.
    disconnect(onProgress);
    rig.deviceSetToTransferMode();
    QTRY_COMPARE_WITH_TIMEOUT(rig.transferResults, QList<bool>{true}, 20000);
    QCOMPARE(QFileInfo(root.filePath(kHandOver)).size(), kLargeUpdate);
}

QTEST_GUILESS_MAIN(TestFileManager)
#include "tst_filemanager.moc"
