// A backup that cannot be made, or is cancelled: the sentence names the cause (the file on
// Tavlo that could not be read, Tavlo gone, the backup disk full or read-only), and no folder
// is left behind, final or partial.
#include "BackupTestRig.h"

#include <BackupManifest.h>
#include <BackupWorker.h>

#include <QtTest>
#include <QSignalSpy>

#include <unistd.h>

namespace {
const QString kLabel = BackupTestRig::kLabel;
using Tree = BackupTestRig::Tree;
using Outcome = BackupTestRig::Outcome;
QByteArray bytesOf(qsizetype size, char seed) { return BackupTestRig::bytesOf(size, seed); }
void writeTree(const QString& root, const Tree& tree) { QVERIFY(BackupTestRig::writeTree(root, tree)); }
ino_t inodeOf(const QString& path) { return BackupTestRig::inodeOf(path); }
QStringList entriesOf(const QString& root) { return BackupTestRig::entriesOf(root); }
} // namespace

class TestBackupFailures : public QObject
{
    Q_OBJECT

private slots:
    void init() { rig = std::make_unique<BackupTestRig>(); QVERIFY(!rig->volume.isEmpty()); }
    void cleanup() { rig.reset(); }
    void failure_data();
    void failure();

private:
    std::unique_ptr<BackupTestRig> rig;
};

void TestBackupFailures::failure_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("cancelled");
    QTest::addColumn<QString>("whyContains");

    QTest::newRow("unreadable file") << "unreadable" << false << "\"projects/Live set 3/a.tvp\" could not be read (Permission denied)";
    QTest::newRow("rig->volume never appears") << "no volume" << false << "did not appear";
    QTest::newRow("rig->volume taken away during the copy") << "unplug" << false << "went away";
    QTest::newRow("cancelled") << "cancel" << true << "";
    QTest::newRow("cancelled before it began") << "cancel early" << true << "";
    QTest::newRow("target read-only") << "read-only" << false << "read-only disk";
    QTest::newRow("target full") << "full" << false << "is full";
    QTest::newRow("target fills up during the copy") << "fills" << false << "is full";
    QTest::newRow("target is a file") << "file" << false << "could not be written to";
}

void TestBackupFailures::failure()
{
    QFETCH(QString, fault);
    QFETCH(bool, cancelled);
    QFETCH(QString, whyContains);
    const bool root = ::geteuid() == 0;
    const bool smallDisk = fault == QLatin1String("read-only") || fault == QLatin1String("full") || fault == QLatin1String("fills");
    if (smallDisk && !root)
        QSKIP("making a small or read-only disk needs root");

    writeTree(rig->volume, {{"projects/Live set 3/a.tvp", bytesOf(4 * 1024 * 1024, 1)},
                       {"projects/Live set 3/b.tvp", bytesOf(20 * 1024 * 1024, 2)},
                       {"grooves/c.tvg", "c"}});
    std::function<void(BackupWorker&)> during;
    int waitMs = 2000;
    if (fault == QLatin1String("unreadable")) {
        QVERIFY(QFile::setPermissions(rig->volume + QStringLiteral("/projects/Live set 3/a.tvp"), {}));
    } else if (fault == QLatin1String("no volume")) {
        rig->storage.unmount(kLabel);
        waitMs = 300;
    } else if (fault == QLatin1String("unplug")) {
        during = [this](BackupWorker&) { rig->storage.unmount(kLabel); };
    } else if (fault == QLatin1String("cancel")) {
        during = [](BackupWorker& worker) { worker.cancel(); };
    } else if (smallDisk) {
        const QString options = fault == QLatin1String("full")    ? QStringLiteral("size=2m")
                                : fault == QLatin1String("fills") ? QStringLiteral("size=64m")
                                                                  : QStringLiteral("ro,size=64m");
        QVERIFY(rig->mountSmallDisk(options));
        if (fault == QLatin1String("fills")) {
            // Room enough when the backup begins; another program takes it during the copy.
            during = [this](BackupWorker&) {
                QFile filler(rig->backupsRoot + QStringLiteral("/filler"));
                if (filler.exists() || !filler.open(QIODevice::WriteOnly))
                    return;
                const QByteArray block(1024 * 1024, 'f');
                while (filler.write(block) > 0 && filler.flush()) {
                }
            };
        }
    } else if (fault == QLatin1String("file")) {
        QFile blocker(rig->backupsRoot);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    }

    Outcome outcome;
    if (fault == QLatin1String("cancel early")) {
        BackupWorker worker(rig->storage.volumeList(), std::make_shared<SimReadableFiles>(), waitMs);
        QSignalSpy finished(&worker, &BackupWorker::backupFinished);
        worker.cancel(); // asked while the queued call has not run yet
        worker.backUp(kLabel, rig->backupsRoot, QStringLiteral("1.5.2"));
        QCOMPARE(finished.size(), 1);
        outcome.ok = finished.at(0).at(0).toBool();
        outcome.cancelled = finished.at(0).at(1).toBool();
        outcome.why = finished.at(0).at(6).toString();
        // Forgotten once reported: the next backup runs.
        writeTree(rig->volume, {});
        worker.backUp(kLabel, rig->backupsRoot, QStringLiteral("1.5.2"));
        QCOMPARE(finished.size(), 2);
        QVERIFY(finished.at(1).at(0).toBool());
        QVERIFY(QDir(finished.at(1).at(2).toString()).removeRecursively());
    } else {
        outcome = rig->backUp(during, waitMs);
    }
    QVERIFY(!outcome.ok);
    QCOMPARE(outcome.cancelled, cancelled);
    if (whyContains.isEmpty())
        QVERIFY(outcome.why.isEmpty());
    else
        QVERIFY2(outcome.why.contains(whyContains), qPrintable(outcome.why));
    QVERIFY(outcome.folder.isEmpty());
    // Nothing left behind: no folder, final or partial.
    if (QFileInfo(rig->backupsRoot).isDir())
        QCOMPARE(entriesOf(rig->backupsRoot).filter(QStringLiteral("firmware")), QStringList());
}

QTEST_GUILESS_MAIN(TestBackupFailures)
#include "tst_backup_failures.moc"
