// A backup of the simulated instrument's volume into a real temporary folder: what the volume
// holds arrives byte for byte with its times, a second backup links what did not change, and
// every failure or cancel names its cause and leaves no folder behind.
#include <BackupManifest.h>
#include <BackupWorker.h>
#include <SimReadableFiles.h>
#include <SimulatedStorage.h>

#include <QDirIterator>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kLabel = QStringLiteral("TAVLO");
using Tree = QMap<QString, QByteArray>; // path -> bytes; a path ending in "/" is an empty folder

QByteArray bytesOf(qsizetype size, char seed)
{
    QByteArray data(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        data[i] = char(seed + i * 7 + i / 4096);
    return data;
}

void writeTree(const QString& root, const Tree& tree)
{
    for (auto it = tree.begin(); it != tree.end(); ++it) {
        const QString path = root + QLatin1Char('/') + it.key();
        QDir().mkpath(it.key().endsWith(QLatin1Char('/')) ? path : QFileInfo(path).path());
        if (it.key().endsWith(QLatin1Char('/')))
            continue;
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(it.value());
    }
}

ino_t inodeOf(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

// SimReadableFiles, with a file of mode 0 refused also when the test runs as root: the
// simulation's own check reads Qt's user permissions, which for root always include reading.
class WornFiles : public SimReadableFiles
{
public:
    bool openForReading(QFile& file, QString* reason) const override
    {
        struct stat info {};
        if (::stat(QFile::encodeName(file.fileName()).constData(), &info) == 0 && (info.st_mode & 0777) == 0) {
            if (reason)
                *reason = QStringLiteral("Permission denied");
            return false;
        }
        return SimReadableFiles::openForReading(file, reason);
    }
};

bool runMount(const QStringList& arguments)
{
    QProcess mount;
    mount.start(QStringLiteral("mount"), arguments);
    return mount.waitForFinished(10000) && mount.exitStatus() == QProcess::NormalExit && mount.exitCode() == 0;
}

QStringList entriesOf(const QString& root)
{
    return QDir(root).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

} // namespace

class TestBackupWorker : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void copiesTheTree_data();
    void copiesTheTree();
    void secondBackup_data();
    void secondBackup();
    void failure_data();
    void failure();
    void linksAreNotFollowed();

private:
    struct Outcome
    {
        bool ok = false;
        bool cancelled = false;
        QString folder;
        qint64 linkedBytes = 0;
        QString why;
    };
    Outcome backUp(const std::function<void(BackupWorker&)>& duringProgress = {}, int waitMs = 2000);

    std::unique_ptr<SimulatedStorage> storage;
    std::unique_ptr<QTemporaryDir> home;
    QString backupsRoot;
    QString volume;
    QString mountedDisk;
};

void TestBackupWorker::init()
{
    storage = std::make_unique<SimulatedStorage>();
    home = std::make_unique<QTemporaryDir>();
    backupsRoot = home->path() + QStringLiteral("/Tavlo Backups");
    QVERIFY(storage->mount(kLabel, 0, SimulatedStorage::transferVolumeOptions()));
    volume = storage->rootPath(kLabel);
}

void TestBackupWorker::cleanup()
{
    if (!mountedDisk.isEmpty())
        QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), mountedDisk});
    mountedDisk.clear();
    storage.reset();
    home.reset();
}

TestBackupWorker::Outcome TestBackupWorker::backUp(const std::function<void(BackupWorker&)>& duringProgress, int waitMs)
{
    BackupWorker worker(storage->volumeList(), std::make_shared<WornFiles>(), waitMs);
    Outcome outcome;
    int finished = 0;
    connect(&worker, &BackupWorker::backupFinished, this,
            [&](bool ok, bool cancelled, const QString& folder, int, qint64, qint64 linked, const QString& why) {
                ++finished;
                outcome = {ok, cancelled, folder, linked, why};
            });
    if (duringProgress)
        connect(&worker, &BackupWorker::backupProgress, this, [&] { duringProgress(worker); });
    worker.backUp(kLabel, backupsRoot, QStringLiteral("1.5.2"));
    [&] { QCOMPARE(finished, 1); }();
    return outcome;
}

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
        << Tree{{"projects/big.tvs", bytesOf(9 * 1024 * 1024 + 1, 3)}, {"projects/exact.tvs", bytesOf(1024 * 1024, 5)}};
    QTest::newRow("hidden files and a manifest-like name inside a folder")
        << Tree{{"projects/.hidden", "h"}, {"projects/manifest.json", "{}"}};
}

void TestBackupWorker::copiesTheTree()
{
    QFETCH(Tree, tree);
    writeTree(volume, tree);
    const QDateTime old = QDateTime::fromMSecsSinceEpoch(1600000000123LL, Qt::UTC);
    for (auto it = tree.begin(); it != tree.end(); ++it) {
        QFile file(volume + QLatin1Char('/') + it.key());
        if (!it.key().endsWith(QLatin1Char('/')) && file.open(QIODevice::ReadWrite))
            file.setFileTime(old, QFileDevice::FileModificationTime);
    }

    const Outcome outcome = backUp();
    QVERIFY2(outcome.ok, qPrintable(outcome.why));
    QCOMPARE(entriesOf(backupsRoot), QStringList{QFileInfo(outcome.folder).fileName()});
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
    writeTree(volume, {{"projects/a.tvp", first}, {"grooves/b.tvg", "b"}});
    const Outcome one = backUp();
    QVERIFY2(one.ok, qPrintable(one.why));
    const QString firstCopy = one.folder + QStringLiteral("/projects/a.tvp");

    QByteArray expected = first;
    if (change == QLatin1String("instrument")) {
        expected = bytesOf(first.size(), 2);
        writeTree(volume, {{"projects/a.tvp", expected}});
        QFile file(volume + QStringLiteral("/projects/a.tvp"));
        QVERIFY(file.open(QIODevice::ReadWrite));
        file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(5), QFileDevice::FileModificationTime);
    } else if (change == QLatin1String("instrument time")) {
        QFile file(volume + QStringLiteral("/projects/a.tvp"));
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

    const Outcome two = backUp();
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

void TestBackupWorker::failure_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("cancelled");
    QTest::addColumn<QString>("whyContains");

    QTest::newRow("unreadable file") << "unreadable" << false << "\"projects/Live set 3/a.tvp\" could not be read (Permission denied)";
    QTest::newRow("volume never appears") << "no volume" << false << "did not appear";
    QTest::newRow("volume taken away during the copy") << "unplug" << false << "went away";
    QTest::newRow("cancelled") << "cancel" << true << "";
    QTest::newRow("cancelled before it began") << "cancel early" << true << "";
    QTest::newRow("target read-only") << "read-only" << false << "read-only disk";
    QTest::newRow("target full") << "full" << false << "is full";
    QTest::newRow("target fills up during the copy") << "fills" << false << "is full";
    QTest::newRow("target is a file") << "file" << false << "could not be written to";
}

void TestBackupWorker::failure()
{
    QFETCH(QString, fault);
    QFETCH(bool, cancelled);
    QFETCH(QString, whyContains);
    const bool root = ::geteuid() == 0;
    const bool smallDisk = fault == QLatin1String("read-only") || fault == QLatin1String("full") || fault == QLatin1String("fills");
    if (smallDisk && !root)
        QSKIP("making a small or read-only disk needs root");

    writeTree(volume, {{"projects/Live set 3/a.tvp", bytesOf(4 * 1024 * 1024, 1)},
                       {"projects/Live set 3/b.tvp", bytesOf(20 * 1024 * 1024, 2)},
                       {"grooves/c.tvg", "c"}});
    std::function<void(BackupWorker&)> during;
    int waitMs = 2000;
    if (fault == QLatin1String("unreadable")) {
        QVERIFY(QFile::setPermissions(volume + QStringLiteral("/projects/Live set 3/a.tvp"), {}));
    } else if (fault == QLatin1String("no volume")) {
        storage->unmount(kLabel);
        waitMs = 300;
    } else if (fault == QLatin1String("unplug")) {
        during = [this](BackupWorker&) { storage->unmount(kLabel); };
    } else if (fault == QLatin1String("cancel")) {
        during = [](BackupWorker& worker) { worker.cancel(); };
    } else if (smallDisk) {
        QVERIFY(QDir().mkpath(backupsRoot));
        const QString options = fault == QLatin1String("full")    ? QStringLiteral("size=2m")
                                : fault == QLatin1String("fills") ? QStringLiteral("size=64m")
                                                                  : QStringLiteral("ro,size=64m");
        QVERIFY(runMount({QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"), options,
                          QStringLiteral("tavlo-test"), backupsRoot}));
        mountedDisk = backupsRoot;
        if (fault == QLatin1String("fills")) {
            // Room enough when the backup begins; another program takes it during the copy.
            during = [this](BackupWorker&) {
                QFile filler(backupsRoot + QStringLiteral("/filler"));
                if (filler.exists() || !filler.open(QIODevice::WriteOnly))
                    return;
                const QByteArray block(1024 * 1024, 'f');
                while (filler.write(block) > 0 && filler.flush()) {
                }
            };
        }
    } else if (fault == QLatin1String("file")) {
        QFile blocker(backupsRoot);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    }

    Outcome outcome;
    if (fault == QLatin1String("cancel early")) {
        BackupWorker worker(storage->volumeList(), std::make_shared<WornFiles>(), waitMs);
        QSignalSpy finished(&worker, &BackupWorker::backupFinished);
        worker.cancel(); // asked while the queued call has not run yet
        worker.backUp(kLabel, backupsRoot, QStringLiteral("1.5.2"));
        QCOMPARE(finished.size(), 1);
        outcome.ok = finished.at(0).at(0).toBool();
        outcome.cancelled = finished.at(0).at(1).toBool();
        outcome.why = finished.at(0).at(6).toString();
        // Forgotten once reported: the next backup runs.
        writeTree(volume, {});
        worker.backUp(kLabel, backupsRoot, QStringLiteral("1.5.2"));
        QCOMPARE(finished.size(), 2);
        QVERIFY(finished.at(1).at(0).toBool());
        QVERIFY(QDir(finished.at(1).at(2).toString()).removeRecursively());
    } else {
        outcome = backUp(during, waitMs);
    }
    QVERIFY(!outcome.ok);
    QCOMPARE(outcome.cancelled, cancelled);
    if (whyContains.isEmpty())
        QVERIFY(outcome.why.isEmpty());
    else
        QVERIFY2(outcome.why.contains(whyContains), qPrintable(outcome.why));
    QVERIFY(outcome.folder.isEmpty());
    // Nothing left behind: no folder, final or partial.
    if (QFileInfo(backupsRoot).isDir())
        QCOMPARE(entriesOf(backupsRoot).filter(QStringLiteral("firmware")), QStringList());
}

void TestBackupWorker::linksAreNotFollowed()
{
    QTemporaryDir outside;
    writeTree(outside.path(), {{"secret.txt", "secret"}, {"folder/inner.txt", "inner"}});
    writeTree(volume, {{"projects/real.tvp", "real"}});
    QVERIFY(QFile::link(outside.path() + QStringLiteral("/secret.txt"), volume + QStringLiteral("/projects/to file")));
    QVERIFY(QFile::link(outside.path() + QStringLiteral("/folder"), volume + QStringLiteral("/projects/to folder")));
    QVERIFY(QFile::link(QStringLiteral("/nowhere"), volume + QStringLiteral("/projects/broken")));
    QVERIFY(QDir(volume).mkdir(QStringLiteral(".Trashes")));
    writeTree(volume, {{".Trashes/501/thrown.tvp", "thrown"}});

    const Outcome outcome = backUp();
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

QTEST_GUILESS_MAIN(TestBackupWorker)
#include "tst_backup_worker.moc"
