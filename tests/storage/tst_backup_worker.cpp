// A backup of the simulated instrument's volume into a real temporary folder: what the volume
// holds arrives byte for byte with its times, a second backup links what did not change, links
// on the volume are not followed, and on its own thread it waits for the volume and reports
// as it goes.
#include "BackupTestRig.h"

#include <BackupCopier.h>
#include <BackupManifest.h>
#include <BackupWorker.h>

#include <QtTest>
#include <QDirIterator>
#include <QSignalSpy>
#include <QThread>

namespace {
const QString kLabel = BackupTestRig::kLabel;
using Tree = BackupTestRig::Tree;
using Outcome = BackupTestRig::Outcome;
QByteArray bytesOf(qsizetype size, char seed) { return BackupTestRig::bytesOf(size, seed); }
void writeTree(const QString& root, const Tree& tree) { QVERIFY(BackupTestRig::writeTree(root, tree)); }
ino_t inodeOf(const QString& path) { return BackupTestRig::inodeOf(path); }
QStringList entriesOf(const QString& root) { return BackupTestRig::entriesOf(root); }
} // namespace

class TestBackupWorker : public QObject
{
    Q_OBJECT

private slots:
    void init() { rig = std::make_unique<BackupTestRig>(); QVERIFY(!rig->volume.isEmpty()); }
    void cleanup() { rig.reset(); }
    void copiesTheTree_data();
    void copiesTheTree();
    void secondBackup_data();
    void secondBackup();
    void linksAreNotFollowed();
    void onItsThread_data();
    void onItsThread();

private:
    std::unique_ptr<BackupTestRig> rig;
};

void TestBackupWorker::copiesTheTree_data()
{
    QTest::addColumn<Tree>("tree");

    QTest::newRow("names with blanks and letters beyond ASCII")
        << Tree{{"projects/Live set 3/pattern 01.tvp", "abc"}, {"grooves/Überblick – 2.tvg", "ü"},
                {"MIDI_Clips/日本 clip.mid", "MThd"}};
    QTest::newRow("nested folders")
        << Tree{{"projects/a/b/c/d/e.tvp", "deep"}, {"projects/a/top.tvp", "top"}, {"instrument_definitions/x.tvi", "x"}};
    QTest::newRow("empty files and folders")
        << Tree{{"projects/empty.tvp", ""}, {"projects/empty folder/", ""}, {"grooves/inner/deeper/", ""}};
    QTest::newRow("files of many blocks")
        << Tree{{"projects/big.tvs", bytesOf(2 * BackupCopier::kBlockSize + 1, 3)},
                {"projects/exact.tvs", bytesOf(BackupCopier::kBlockSize, 5)}};
    QTest::newRow("hidden files and a manifest-like name inside a folder")
        << Tree{{"projects/.hidden", "h"}, {"projects/manifest.json", "{}"}};
}

void TestBackupWorker::copiesTheTree()
{
    QFETCH(Tree, tree);
    writeTree(rig->volume, tree);
    const QDateTime old = QDateTime::fromMSecsSinceEpoch(1600000000123LL, Qt::UTC);
    for (auto it = tree.begin(); it != tree.end(); ++it) {
        QFile file(rig->volume + QLatin1Char('/') + it.key());
        if (!it.key().endsWith(QLatin1Char('/')) && file.open(QIODevice::ReadWrite))
            file.setFileTime(old, QFileDevice::FileModificationTime);
    }

    const Outcome outcome = rig->backUp();
    QVERIFY2(outcome.ok, qPrintable(outcome.why));
    QCOMPARE(entriesOf(rig->backupsRoot), QStringList{QFileInfo(outcome.folder).fileName()});
    QVERIFY(QFileInfo(outcome.folder).fileName().endsWith(QLatin1String(" firmware 1.5.2")));

    QFile manifestFile(outcome.folder + QStringLiteral("/manifest.json"));
    QVERIFY(manifestFile.open(QIODevice::ReadOnly));
    const std::optional<BackupManifest> manifest = BackupManifest::parse(manifestFile.readAll());
    QVERIFY(manifest.has_value());
    QCOMPARE(manifest->firmware, QStringLiteral("1.5.2"));
    int files = 0;
    for (auto it = tree.begin(); it != tree.end(); ++it) {
        const QString copy = outcome.folder + QLatin1Char('/') + it.key();
        if (it.key().endsWith(QLatin1Char('/'))) {
            QVERIFY2(QFileInfo(copy).isDir(), qPrintable(it.key()));
            continue;
        }
        ++files;
        QFile file(copy);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(it.key()));
        QCOMPARE(file.readAll(), it.value());
        QCOMPARE(QFileInfo(copy).lastModified().toMSecsSinceEpoch(), old.toMSecsSinceEpoch());
        const BackupManifest::Entry* entry = manifest->find(it.key());
        QVERIFY2(entry, qPrintable(it.key()));
        QCOMPARE(entry->size, it.value().size());
        QCOMPARE(entry->modifiedMs, old.toMSecsSinceEpoch());
        QCOMPARE(entry->sha256, QCryptographicHash::hash(it.value(), QCryptographicHash::Sha256).toHex());
    }
    QCOMPARE(manifest->entries.size(), files);
}

void TestBackupWorker::secondBackup_data()
{
    QTest::addColumn<QString>("change"); // what happens between the two backups
    QTest::addColumn<bool>("linked");    // whether "projects/a.tvp" is linked to the first copy

    QTest::newRow("unchanged") << "none" << true;
    QTest::newRow("changed on the instrument") << "instrument" << false;
    QTest::newRow("same size, other time on the instrument") << "instrument time" << false;
    QTest::newRow("earlier copy altered") << "copy" << false;
    QTest::newRow("earlier copy removed") << "copy removed" << false;
    QTest::newRow("earlier manifest broken") << "manifest" << false;
}

void TestBackupWorker::secondBackup()
{
    QFETCH(QString, change);
    QFETCH(bool, linked);
    const QByteArray first = bytesOf(3 * 1024 * 1024, 1);
    writeTree(rig->volume, {{"projects/a.tvp", first}, {"grooves/b.tvg", "b"}});
    const Outcome one = rig->backUp();
    QVERIFY2(one.ok, qPrintable(one.why));
    const QString firstCopy = one.folder + QStringLiteral("/projects/a.tvp");

    QByteArray expected = first;
    if (change == QLatin1String("instrument")) {
        expected = bytesOf(first.size(), 2);
        writeTree(rig->volume, {{"projects/a.tvp", expected}});
        QFile file(rig->volume + QStringLiteral("/projects/a.tvp"));
        QVERIFY(file.open(QIODevice::ReadWrite));
        file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(5), QFileDevice::FileModificationTime);
    } else if (change == QLatin1String("instrument time")) {
        QFile file(rig->volume + QStringLiteral("/projects/a.tvp"));
        QVERIFY(file.open(QIODevice::ReadWrite));
        file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-3600), QFileDevice::FileModificationTime);
    } else if (change == QLatin1String("copy")) {
        QFile file(firstCopy);
        QVERIFY(file.open(QIODevice::ReadWrite));
        file.write("X");
    } else if (change == QLatin1String("copy removed")) {
        QVERIFY(QFile::remove(firstCopy));
    } else if (change == QLatin1String("manifest")) {
        QFile file(one.folder + QStringLiteral("/manifest.json"));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("{\"format\": 1, \"files\": [{\"path\": \"../a\"}]}");
    }

    const Outcome two = rig->backUp();
    QVERIFY2(two.ok, qPrintable(two.why));
    QVERIFY(two.folder != one.folder);
    const QString secondCopy = two.folder + QStringLiteral("/projects/a.tvp");
    QCOMPARE(inodeOf(secondCopy) == inodeOf(firstCopy), linked);
    QCOMPARE(two.linkedBytes >= first.size(), linked);
    QFile copy(secondCopy);
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), expected);
    // The small file never changed: linked whenever the earlier manifest reads.
    QCOMPARE(inodeOf(two.folder + QStringLiteral("/grooves/b.tvg")) == inodeOf(one.folder + QStringLiteral("/grooves/b.tvg")),
             change != QLatin1String("manifest"));
}

void TestBackupWorker::linksAreNotFollowed()
{
    QTemporaryDir outside;
    writeTree(outside.path(), {{"secret.txt", "secret"}, {"folder/inner.txt", "inner"}});
    writeTree(rig->volume, {{"projects/real.tvp", "real"}});
    QVERIFY(QFile::link(outside.path() + QStringLiteral("/secret.txt"), rig->volume + QStringLiteral("/projects/to file")));
    QVERIFY(QFile::link(outside.path() + QStringLiteral("/folder"), rig->volume + QStringLiteral("/projects/to folder")));
    QVERIFY(QFile::link(QStringLiteral("/nowhere"), rig->volume + QStringLiteral("/projects/broken")));
    QVERIFY(QDir(rig->volume).mkdir(QStringLiteral(".Trashes")));
    writeTree(rig->volume, {{".Trashes/501/thrown.tvp", "thrown"}});

    const Outcome outcome = rig->backUp();
    QVERIFY2(outcome.ok, qPrintable(outcome.why));
    QStringList copied;
    QDirIterator it(outcome.folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        copied << QDir(outcome.folder).relativeFilePath(it.next());
    copied.sort();
    QStringList expected = {"MIDI_Clips", "grooves", "instrument_definitions", "manifest.json", "projects",
                            "projects/real.tvp"};
    expected.sort();
    QCOMPARE(copied, expected);
}

void TestBackupWorker::onItsThread_data()
{
    QTest::addColumn<int>("mountAfterMs"); // -1: already mounted
    QTest::addColumn<bool>("ok");

    QTest::newRow("rig->volume there") << -1 << true;
    QTest::newRow("rig->volume appears while waited for") << 400 << true;
    QTest::newRow("rig->volume appears too late") << 3000 << false;
}

// On the storage worker's thread, as the program runs it: the rig->volume waited for, the size
// reported first, progress that only grows and ends at the whole, one report at the end.
void TestBackupWorker::onItsThread()
{
    QFETCH(int, mountAfterMs);
    QFETCH(bool, ok);
    SimVolumeOptions options = SimulatedStorage::transferVolumeOptions();
    options.files = {{QStringLiteral("big.tvs"), bytesOf(24 * 1024 * 1024, 4)}, {QStringLiteral("small.tvp"), "s"}};
    if (mountAfterMs >= 0) {
        rig->storage.unmount(kLabel);
        QVERIFY(rig->storage.mount(kLabel, mountAfterMs, options));
    } else {
        writeTree(rig->volume, {{"big.tvs", bytesOf(24 * 1024 * 1024, 4)}, {"small.tvp", "s"}});
    }
    QThread thread;
    auto* worker = new BackupWorker(rig->storage.volumeList(), std::make_shared<SimReadableFiles>(), 1500);
    worker->moveToThread(&thread);
    connect(&thread, &QThread::finished, worker, &QObject::deleteLater);
    QSignalSpy sized(worker, &BackupWorker::backupSized);
    QSignalSpy progress(worker, &BackupWorker::backupProgress);
    QSignalSpy finished(worker, &BackupWorker::backupFinished);
    thread.start();
    QMetaObject::invokeMethod(worker, "backUp", Qt::QueuedConnection, Q_ARG(QString, kLabel),
                              Q_ARG(QString, rig->backupsRoot), Q_ARG(QString, QStringLiteral("1.5.2")));
    QVERIFY(finished.wait(30000));
    thread.quit();
    thread.wait();
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.at(0).at(0).toBool(), ok);
    if (!ok) {
        QVERIFY(finished.at(0).at(6).toString().contains(QLatin1String("did not appear")));
        QCOMPARE(sized.size(), 0);
        return;
    }
    const qint64 total = 24 * 1024 * 1024 + 1;
    QCOMPARE(sized.size(), 1);
    QCOMPARE(sized.at(0).at(0).toInt(), 2);
    QCOMPARE(sized.at(0).at(1).toLongLong(), total);
    QVERIFY(!progress.isEmpty());
    qint64 before = 0;
    for (const QList<QVariant>& report : progress) {
        QVERIFY(report.at(0).toLongLong() >= before);
        QCOMPARE(report.at(1).toLongLong(), total);
        before = report.at(0).toLongLong();
    }
    QCOMPARE(before, total);
    QCOMPARE(finished.at(0).at(4).toLongLong(), total);
}

QTEST_GUILESS_MAIN(TestBackupWorker)
#include "tst_backup_worker.moc"
