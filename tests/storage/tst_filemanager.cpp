// The FileManager on its worker thread against the simulated instrument's storage: lookup,
// the update hand-over, its failures and mended faults, eject and folder opening.
#include "WorkerRig.h"

#include <ChunkCopier.h>
#include <RecordingFolderOpener.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <unistd.h>

namespace {
const QString kUpd = QStringLiteral("tavloupd");
const QString kTransfer = QStringLiteral("TAVLO");
const QString kHandOver = QStringLiteral("tvxxfer.tvq");

QByteArray pattern(qint64 size)
{
    QByteArray data(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i)
        data[i] = static_cast<char>((i * 131 + 7) % 251);
    return data;
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& content)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        return {};
    return path;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Takes fewer bytes than offered once its budget is used up, as a device that runs out of
// room in the middle of a write.
class ShortWritingDevice : public QIODevice
{
public:
    explicit ShortWritingDevice(qint64 budget) : budget(budget) {}
    QByteArray written;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 len) override
    {
        const qint64 taken = qMin(len, budget);
        written.append(data, taken);
        budget -= taken;
        return taken;
    }

private:
    qint64 budget;
};

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
    void shortWriteIsFailure_data();
    void shortWriteIsFailure();
    void percentage_data();
    void percentage();
    void unsyncableDestinationIsFailure();
    void fullDiskFails();
    void volumeVanishingMidCopyFails();
    void refusedEjectFailsTransfer();
    void eject_data();
    void eject();
    void openFolder_data();
    void openFolder();
    void requestsRunInOrderOnWorkerThread();
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
    QTest::newRow("two writable: first wins") << QStringList{"TAVLO|", "TAVLO|"} << kTransfer << 0;
    QTest::newRow("read-only first, writable second") << QStringList{"TAVLO|r", "TAVLO|"} << kTransfer << 1;
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
        SimVolumeOptions options;
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
    const QByteArray content = pattern(size);
    const QString source = writeFile(downloads, "tavlo-fw-2.0.1.tvq", content);
    QVERIFY(!source.isEmpty());

    WorkerRig rig;
    QString dismountedRoot;
    QByteArray leftOnVolume;
    QStringList leftNames;
    connect(&rig.sim, &SimulatedStorage::volumeDismounted, &rig,
            [&](const QString&, const QString& root) {
                dismountedRoot = root;
                leftOnVolume = readFile(QDir(root).filePath(kHandOver));
                leftNames = QDir(root).entryList(QDir::Files);
            });
    QVERIFY(rig.sim.mount(kUpd));
    rig.downloadFinished(true, source, "tavlo-fw-2.0.1.tvq");
    rig.deviceSetToTransferMode();

    QTRY_COMPARE(rig.transferResults, QList<bool>{true});
    QCOMPARE(rig.progress, expected);
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
    const QString good = writeFile(downloads, "good.tvq", "GOOD");
    const QString bad = writeFile(downloads, "bad.tvq", "BAD");

    WorkerRig rig;
    QVERIFY(rig.sim.mount(kUpd));
    rig.downloadFinished(true, good, "good.tvq");
    rig.downloadFinished(false, bad, "bad.tvq");
    rig.deviceSetToTransferMode();
    QTRY_COMPARE(rig.transferResults, QList<bool>{true});
    QCOMPARE(readFile(QDir(rig.sim.rootPath(kUpd)).filePath(kHandOver)), QByteArray("GOOD"));
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
    const QString source = writeFile(downloads, "fw.tvq", "DATA");
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
    const QString source = writeFile(downloads, "fw.tvq", "FRESH");
    WorkerRig rig;
    SimVolumeOptions options;
    options.files.insert(kHandOver, "STALE FROM AN EARLIER TRY");
    QVERIFY(rig.sim.mount(kUpd, 0, options));
    rig.downloadFinished(true, source, "fw.tvq");
    rig.deviceSetToTransferMode();
    QTRY_COMPARE(rig.transferResults, QList<bool>{true});
    const QDir root(rig.sim.rootPath(kUpd));
    QCOMPARE(root.entryList(QDir::Files), QStringList{kHandOver});
    QCOMPARE(readFile(root.filePath(kHandOver)), QByteArray("FRESH"));
}

void TestFileManager::downloadAlreadyNamedLikeHandOver()
{
    // Removing a "stale" hand-over file must not remove the file just copied.
    QTemporaryDir downloads;
    const QString source = writeFile(downloads, kHandOver, "NEW");
    WorkerRig rig;
    SimVolumeOptions options;
    options.files.insert(kHandOver, "OLD");
    QVERIFY(rig.sim.mount(kUpd, 0, options));
    rig.downloadFinished(true, source, kHandOver);
    rig.deviceSetToTransferMode();
    QTRY_COMPARE(rig.transferResults, QList<bool>{true});
    QCOMPARE(readFile(QDir(rig.sim.rootPath(kUpd)).filePath(kHandOver)), QByteArray("NEW"));
}

void TestFileManager::shortWriteIsFailure_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<qint64>("budget");
    QTest::addColumn<bool>("expected");
    QTest::addColumn<int>("reports");

    QTest::newRow("room for all") << qint64(10000) << qint64(10000) << true << 3;
    QTest::newRow("short in the first chunk") << qint64(10000) << qint64(100) << false << 0;
    QTest::newRow("short in the last chunk") << qint64(10000) << qint64(9999) << false << 2;
    QTest::newRow("nothing taken at the chunk boundary") << qint64(10000) << qint64(8192) << false << 2;
}

void TestFileManager::shortWriteIsFailure()
{
    QFETCH(qint64, size);
    QFETCH(qint64, budget);
    QFETCH(bool, expected);
    QFETCH(int, reports);

    QByteArray data = pattern(size);
    QBuffer source(&data);
    QVERIFY(source.open(QIODevice::ReadOnly));
    ShortWritingDevice destination(budget);
    QVERIFY(destination.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    QList<int> progress;
    QCOMPARE(ChunkCopier::copy(source, destination, size, [&](int p) { progress.append(p); }), expected);
    QCOMPARE(progress.size(), reports);
    if (expected)
        QCOMPARE(destination.written, data);
}

void TestFileManager::percentage_data()
{
    QTest::addColumn<qint64>("copied");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<int>("expected");

    QTest::newRow("rounds down") << qint64(4096) << qint64(10000) << 40;
    QTest::newRow("complete") << qint64(10000) << qint64(10000) << 100;
    QTest::newRow("no total") << qint64(4096) << qint64(0) << 0;
    QTest::newRow("negative total") << qint64(4096) << qint64(-1) << 0;
    QTest::newRow("source grew: clamped") << qint64(20000) << qint64(10000) << 100;
    QTest::newRow("beyond 32 bits") << qint64(3) * 1024 * 1024 * 1024 << qint64(6) * 1024 * 1024 * 1024 << 50;
    QTest::newRow("huge file, no overflow") << qint64(1) << (qint64(1) << 60) << 0;
}

void TestFileManager::percentage()
{
    QFETCH(qint64, copied);
    QFETCH(qint64, total);
    QFETCH(int, expected);
    QCOMPARE(ChunkCopier::percentage(copied, total), expected);
}

void TestFileManager::unsyncableDestinationIsFailure()
{
    // A destination that cannot confirm the data reached the device (fsync refused) must not
    // count as a good copy. Here the volume's file is a link to a sink without sync.
    if (!QFile::exists("/dev/null"))
        QSKIP("needs /dev/null");
    QTemporaryDir downloads;
    const QString source = writeFile(downloads, "fw.tvq", pattern(5000));
    WorkerRig rig;
    QVERIFY(rig.sim.mount(kUpd));
    QVERIFY(QFile::link("/dev/null", QDir(rig.sim.rootPath(kUpd)).filePath("fw.tvq")));
    rig.downloadFinished(true, source, "fw.tvq");
    rig.deviceSetToTransferMode();
    QTRY_COMPARE(rig.transferResults, QList<bool>{false});
    QCOMPARE(rig.progress, (QList<int>{81, 100}));
    QVERIFY(!QFile::exists(QDir(rig.sim.rootPath(kUpd)).filePath(kHandOver)));
    QVERIFY(rig.sim.isMounted(kUpd));
}

void TestFileManager::fullDiskFails()
{
    if (!runningAsRoot())
        QSKIP("a size-limited simulated volume (tmpfs) needs root");
    QTemporaryDir downloads;
    const QString source = writeFile(downloads, "fw.tvq", pattern(40000));
    WorkerRig rig;
    SimVolumeOptions options;
    options.capacityBytes = 16384;
    QVERIFY2(rig.sim.mount(kUpd, 0, options), qPrintable(rig.sim.lastError()));
    rig.downloadFinished(true, source, "fw.tvq");
    rig.deviceSetToTransferMode();
    QTRY_COMPARE(rig.transferResults, QList<bool>{false});
    QVERIFY(!rig.progress.isEmpty());
    QVERIFY(rig.progress.last() < 100);
    const QDir root(rig.sim.rootPath(kUpd));
    QVERIFY(!root.exists(kHandOver));
    QVERIFY(root.exists("fw.tvq")); // the partial copy stays, under its own name
    QVERIFY(rig.sim.isMounted(kUpd));
}

void TestFileManager::volumeVanishingMidCopyFails()
{
    if (!runningAsRoot())
        QSKIP("a size-limited simulated volume (tmpfs) needs root");
    QTemporaryDir downloads;
    const QString source = writeFile(downloads, "fw.tvq", pattern(200000));
    WorkerRig rig;
    QStringList removed;
    connect(&rig.sim, &SimulatedStorage::volumeRemoved, &rig,
            [&](const QString& label, const QString&) { removed.append(label); });
    SimVolumeOptions options;
    options.capacityBytes = 65536;
    options.vanishWhenFull = true;
    QVERIFY2(rig.sim.mount(kUpd, 0, options), qPrintable(rig.sim.lastError()));
    rig.downloadFinished(true, source, "fw.tvq");
    rig.deviceSetToTransferMode();
    QTRY_COMPARE(rig.transferResults, QList<bool>{false});
    QVERIFY(!rig.progress.isEmpty());
    QVERIFY(rig.progress.last() < 100);
    QTRY_COMPARE(removed, QStringList{kUpd});
    QVERIFY(!rig.mounted(kUpd));
}

void TestFileManager::refusedEjectFailsTransfer()
{
    QTemporaryDir downloads;
    const QString source = writeFile(downloads, "fw.tvq", "DATA");
    WorkerRig rig;
    SimVolumeOptions options;
    options.busy = true;
    QVERIFY(rig.sim.mount(kUpd, 0, options));
    rig.downloadFinished(true, source, "fw.tvq");
    rig.deviceSetToTransferMode();
    QTRY_COMPARE(rig.transferResults, QList<bool>{false});
    QVERIFY(rig.sim.isMounted(kUpd));
    // The file is in place all the same; only the eject failed.
    QCOMPARE(readFile(QDir(rig.sim.rootPath(kUpd)).filePath(kHandOver)), QByteArray("DATA"));
}

void TestFileManager::eject_data()
{
    QTest::addColumn<bool>("mountIt");
    QTest::addColumn<bool>("busy");
    QTest::addColumn<bool>("goneBeforeRequest");
    QTest::addColumn<bool>("expected");

    QTest::newRow("mounted") << true << false << false << true;
    QTest::newRow("never mounted") << false << false << false << false;
    QTest::newRow("already gone") << true << false << true << false;
    QTest::newRow("busy: refused") << true << true << false << false;
}

void TestFileManager::eject()
{
    QFETCH(bool, mountIt);
    QFETCH(bool, busy);
    QFETCH(bool, goneBeforeRequest);
    QFETCH(bool, expected);

    WorkerRig rig;
    if (mountIt) {
        SimVolumeOptions options = SimulatedStorage::transferVolumeOptions();
        options.busy = busy;
        QVERIFY(rig.sim.mount(kTransfer, 0, options));
    }
    if (goneBeforeRequest)
        rig.sim.unmount(kTransfer);
    rig.requestEject(kTransfer);
    QTRY_COMPARE(rig.ejectResults, QList<bool>{expected});
    if (expected)
        QTRY_VERIFY(rig.events.contains("dismounted:TAVLO"));
    if (busy)
        QVERIFY(rig.sim.isMounted(kTransfer));
}

void TestFileManager::openFolder_data()
{
    QTest::addColumn<QString>("relative");
    QTest::addColumn<QString>("expectedRelative"); // joined with the root; "*" = unchanged

    QTest::newRow("projects") << "projects" << "projects";
    QTest::newRow("missing folder still asked") << "no_such_folder" << "no_such_folder";
    QTest::newRow("MIDI_Clips") << "MIDI_Clips" << "MIDI_Clips";
    QTest::newRow("absolute path unchanged") << "/tmp" << "*";
}

void TestFileManager::openFolder()
{
    QFETCH(QString, relative);
    QFETCH(QString, expectedRelative);

    WorkerRig rig;
    QVERIFY(rig.sim.mount(kTransfer, 0, SimulatedStorage::transferVolumeOptions()));
    rig.requestOpenFolder(kTransfer, relative);
    QTRY_COMPARE(rig.sim.openedFolders().size(), 1);
    const QString expected = expectedRelative == "*" ? relative
                                                     : QDir(rig.sim.rootPath(kTransfer)).filePath(expectedRelative);
    QCOMPARE(rig.sim.openedFolders().constFirst(), QUrl::fromLocalFile(expected));
    QVERIFY(rig.ejectResults.isEmpty() && rig.transferResults.isEmpty());
}

void TestFileManager::requestsRunInOrderOnWorkerThread()
{
    WorkerRig rig;
    auto recorder = std::dynamic_pointer_cast<RecordingFolderOpener>(rig.sim.folderOpener());
    QVERIFY(recorder);
    std::atomic<QThread*> openerThread{nullptr};
    connect(recorder.get(), &RecordingFolderOpener::folderOpened, recorder.get(),
            [&](const QUrl&) { openerThread = QThread::currentThread(); }, Qt::DirectConnection);

    // A folder request on a missing volume does nothing; then the volume comes.
    rig.requestOpenFolder(kTransfer, "grooves");
    QVERIFY(!rig.mounted(kTransfer)); // the request above has run by now
    QVERIFY(rig.sim.mount(kTransfer, 0, SimulatedStorage::transferVolumeOptions()));
    rig.requestOpenFolder(kTransfer, "projects");
    rig.requestEject(kTransfer);
    rig.requestOpenFolder(kTransfer, "MIDI_Clips"); // after the eject: volume gone
    rig.requestEject(kTransfer);

    QTRY_COMPARE(rig.ejectResults, (QList<bool>{true, false}));
    const QString root = rig.sim.rootPath(kTransfer);
    QTRY_VERIFY(rig.events.contains("dismounted:TAVLO"));
    QCOMPARE(rig.sim.openedFolders(), QList<QUrl>{QUrl::fromLocalFile(QDir(root).filePath("projects"))});
    QCOMPARE(openerThread.load(), rig.worker);
    QCOMPARE(rig.events.indexOf("opened:" + QDir(root).filePath("projects")) < rig.events.indexOf("eject:1"), true);
}

QTEST_GUILESS_MAIN(TestFileManager)
#include "tst_filemanager.moc"
