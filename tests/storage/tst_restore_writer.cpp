// The restore's writing when something goes wrong on the way: a cancel, the volume gone, the
// backup changed under it, a copy that does not read back, a folder on the volume that is a
// link, a full volume. Each ends at once, says why, and leaves every file either as it was or
// as in the backup: no temporary file, no file written through a link.
#include "RestoreFailureText.h"
#include "RestorePlan.h"
#include "RestoreWriter.h"
#include "TestBackup.h"

#include <PlainReadableFiles.h>
#include <SimulatedStorage.h>

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using Verdict = RestoreWriter::Verdict;

namespace {

const QString kFirst = QStringLiteral("1 first.tvp");
const QString kSecond = QStringLiteral("2 sub/second folder/zweite ü.bin");
const QString kBig = QStringLiteral("3 big.bin");
const QString kKeep = QStringLiteral("keep.txt");
const QString kOnly = QStringLiteral("only.txt");
const qint64 kBigSize = 3 * 1024 * 1024 + 100; // passes several checks while it is copied

QMap<QString, QByteArray> backupFiles()
{
    QByteArray big(kBigSize, Qt::Uninitialized);
    for (qint64 i = 0; i < kBigSize; ++i)
        big[i] = char((i * 131 + 7) % 251);
    return {{kFirst, QByteArray(1000, 'n')}, {kSecond, "zweite"}, {kBig, big}, {kKeep, "same"}};
}

// The volume before the restore: first and big differ, second is missing, keep is the same,
// only is the instrument's own.
QMap<QString, QByteArray> volumeFiles()
{
    return {{kFirst, QByteArray(1000, 'o')},
            {kBig, QByteArray(kBigSize, 'o')},
            {kKeep, "same"},
            {kOnly, "only here"}};
}

QDateTime modified(const QString& path)
{
    return QFileInfo(path).fileTime(QFileDevice::FileModificationTime);
}

bool noTemporaryLeft(const QString& root)
{
    for (const QString& file : TestBackup::filesUnder(root)) {
        if (file.contains(QLatin1String(".tavlo-restore")))
            return false;
    }
    return true;
}

} // namespace

class TestRestoreWriter : public QObject
{
    Q_OBJECT

  private slots:
    void faults_data();
    void faults();
    void linkAtTheFile();
    void emptyFiles();
    void volumeFull_data();
    void volumeFull();
};

void TestRestoreWriter::faults_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<qint64>("after"); // bytes written before the fault shows; -1: at once
    QTest::addColumn<QStringList>("written");
    QTest::addColumn<QString>("why");

    const qint64 inBig = 1000 + 6 + 1;
    const QStringList firstTwo{kFirst, kSecond};
    QTest::newRow("none") << "" << qint64(0) << QStringList{kFirst, kSecond, kBig} << QString();
    QTest::newRow("cancelled before the first file")
        << "cancel" << qint64(-1) << QStringList() << QString();
    QTest::newRow("cancelled in the big file") << "cancel" << inBig << firstTwo << QString();
    QTest::newRow("volume gone before the first file")
        << "vanish" << qint64(-1) << QStringList() << RestoreFailureText::disconnected({});
    QTest::newRow("volume gone in the big file")
        << "vanish" << inBig << firstTwo << RestoreFailureText::disconnected(firstTwo);
    QTest::newRow("backup changed during the restore")
        << "backup" << inBig << firstTwo << RestoreFailureText::backupChangedDuringRestore(kBig);
    QTest::newRow("the copy does not read back")
        << "readback" << qint64(0) << firstTwo << RestoreFailureText::readBackMismatch(kBig);
    QTest::newRow("a folder on the way is a link")
        << "linkdir" << qint64(0) << QStringList{kFirst} << RestoreFailureText::notAFolder(kSecond);
    QTest::newRow("a folder on the way is a file")
        << "filedir" << qint64(0) << QStringList{kFirst} << RestoreFailureText::notAFolder(kSecond);
}

void TestRestoreWriter::faults()
{
    QFETCH(QString, fault);
    QFETCH(qint64, after);
    QFETCH(QStringList, written);
    QFETCH(QString, why);

    QTemporaryDir backup;
    QTemporaryDir volume;
    QTemporaryDir outside;
    const QMap<QString, QByteArray> files = backupFiles();
    QVERIFY(TestBackup::make(backup.path(), files));
    const QMap<QString, QByteArray> before = volumeFiles();
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        QVERIFY(TestBackup::writeFile(volume.path(), it.key(), it.value()));
    const QDateTime keepTime = modified(QDir(volume.path()).filePath(kKeep));
    const QString sub = QDir(volume.path()).filePath(QStringLiteral("2 sub"));
    if (fault == QLatin1String("linkdir"))
        QVERIFY(QFile::link(outside.path(), sub));
    if (fault == QLatin1String("filedir"))
        QVERIFY(TestBackup::writeFile(volume.path(), QStringLiteral("2 sub"), "a file"));

    const RestorePlan plan =
        RestorePlan::make(volume.path(), TestBackup::manifestOf(files), PlainReadableFiles());
    QCOMPARE(plan.toWrite.size(), 3);

    bool faultShows = after < 0;
    RestoreWriter::Hooks hooks;
    hooks.progress = [&](qint64 done, qint64) {
        if (after >= 0 && done >= after && !faultShows) {
            faultShows = true;
            if (fault == QLatin1String("backup")) { // the end of the big file, not read yet
                QFile changed(QDir(backup.path()).filePath(kBig));
                QVERIFY(changed.open(QIODevice::ReadWrite) && changed.seek(kBigSize - 1) &&
                        changed.putChar('x'));
            }
        }
    };
    hooks.check = [&] {
        if (!faultShows)
            return Verdict::Continue;
        if (fault == QLatin1String("cancel"))
            return Verdict::Cancelled;
        return fault == QLatin1String("vanish") ? Verdict::Vanished : Verdict::Continue;
    };
    hooks.syncFile = [&](int fd) {
        struct stat info;
        if (fault == QLatin1String("readback") && ::fstat(fd, &info) == 0 &&
            info.st_size == kBigSize) {
            const char flipped = 'y';
            if (::pwrite(fd, &flipped, 1, kBigSize / 2) != 1)
                return false;
        }
        return ::fsync(fd) == 0;
    };

    const RestoreWriter::Result result =
        RestoreWriter::write(volume.path(), backup.path(), plan, hooks);
    QCOMPARE(result.written, written);
    QCOMPARE(result.ok, written.size() == 3);
    QCOMPARE(result.cancelled, fault == QLatin1String("cancel"));
    QCOMPARE(result.why, why);

    // Each file of the plan is the backup's (with its time) or as it was; the others untouched.
    for (const QString& file : {kFirst, kSecond, kBig}) {
        const QString path = QDir(volume.path()).filePath(file);
        if (written.contains(file)) {
            QCOMPARE(TestBackup::read(path), files.value(file));
            QCOMPARE(modified(path).toMSecsSinceEpoch(), TestBackup::kModifiedMs);
        } else if (before.contains(file)) {
            QCOMPARE(TestBackup::read(path), before.value(file));
        } else if (fault != QLatin1String("filedir")) {
            QVERIFY2(!QFileInfo::exists(path), qPrintable(file));
        }
    }
    QCOMPARE(TestBackup::read(QDir(volume.path()).filePath(kOnly)), before.value(kOnly));
    QCOMPARE(modified(QDir(volume.path()).filePath(kKeep)), keepTime);
    QVERIFY2(noTemporaryLeft(volume.path()),
             qPrintable(TestBackup::filesUnder(volume.path()).join(' ')));
    // Nothing went through the link; a folder made for a file not written is gone again.
    QCOMPARE(TestBackup::filesUnder(outside.path()), QStringList());
    if (!written.contains(kSecond) && fault != QLatin1String("linkdir") &&
        fault != QLatin1String("filedir"))
        QVERIFY(!QFileInfo::exists(sub));
}

// A link under a file's name is replaced by the file; what it points to stays as it was.
void TestRestoreWriter::linkAtTheFile()
{
    QTemporaryDir backup;
    QTemporaryDir volume;
    QTemporaryDir outside;
    const QMap<QString, QByteArray> files{{kFirst, "from the backup"}};
    QVERIFY(TestBackup::make(backup.path(), files));
    QVERIFY(TestBackup::writeFile(outside.path(), QStringLiteral("target"), "the user's own"));
    const QString link = QDir(volume.path()).filePath(kFirst);
    QVERIFY(QFile::link(QDir(outside.path()).filePath(QStringLiteral("target")), link));

    const RestorePlan plan =
        RestorePlan::make(volume.path(), TestBackup::manifestOf(files), PlainReadableFiles());
    QCOMPARE(plan.changed, QStringList{kFirst});
    const RestoreWriter::Result result = RestoreWriter::write(volume.path(), backup.path(), plan);
    QVERIFY2(result.ok, qPrintable(result.why));
    QVERIFY(!QFileInfo(link).isSymLink());
    QCOMPARE(TestBackup::read(link), QByteArray("from the backup"));
    QCOMPARE(TestBackup::read(QDir(outside.path()).filePath(QStringLiteral("target"))),
             QByteArray("the user's own"));
}

// Empty files are files too: one missing and one that has bytes on the volume come back empty.
void TestRestoreWriter::emptyFiles()
{
    QTemporaryDir backup;
    QTemporaryDir volume;
    const QMap<QString, QByteArray> files{{QStringLiteral("empty a"), QByteArray()},
                                          {QStringLiteral("sub/empty b"), QByteArray()}};
    QVERIFY(TestBackup::make(backup.path(), files));
    QVERIFY(TestBackup::writeFile(volume.path(), QStringLiteral("sub/empty b"), "not empty"));

    const RestorePlan plan =
        RestorePlan::make(volume.path(), TestBackup::manifestOf(files), PlainReadableFiles());
    QCOMPARE(plan.changed, QStringList{QStringLiteral("sub/empty b")});
    QCOMPARE(plan.missing, QStringList{QStringLiteral("empty a")});
    const RestoreWriter::Result result = RestoreWriter::write(volume.path(), backup.path(), plan);
    QVERIFY2(result.ok, qPrintable(result.why));
    QCOMPARE(TestBackup::filesUnder(volume.path()), files.keys());
    for (const QString& file : files.keys())
        QCOMPARE(QFileInfo(QDir(volume.path()).filePath(file)).size(), qint64(0));
}

void TestRestoreWriter::volumeFull_data()
{
    QTest::addColumn<bool>("fillsDuringCopy"); // else: too little room from the start
    QTest::newRow("fills up during the copy") << true;
    QTest::newRow("too little room for the file") << false;
}

void TestRestoreWriter::volumeFull()
{
    QFETCH(bool, fillsDuringCopy);
    if (::geteuid() != 0)
        QSKIP("A simulated volume with a capacity needs root rights (tmpfs).");

    const qint64 capacity = 2 * 1024 * 1024;
    const QByteArray old(600 * 1024, 'o');
    const QMap<QString, QByteArray> files{
        {kFirst, QByteArray(fillsDuringCopy ? 600 * 1024 : 1800 * 1024, 'n')}};
    SimulatedStorage sim;
    SimVolumeOptions options;
    options.capacityBytes = capacity;
    options.files.insert(kFirst, old);
    QVERIFY2(sim.mount(QStringLiteral("TAVLO"), 0, options), qPrintable(sim.lastError()));
    const QString root = sim.rootPath(QStringLiteral("TAVLO"));
    QTemporaryDir backup;
    QVERIFY(TestBackup::make(backup.path(), files));
    const RestorePlan plan =
        RestorePlan::make(root, TestBackup::manifestOf(files), PlainReadableFiles());
    QCOMPARE(plan.changed, QStringList{kFirst});

    // Another program fills the volume once the copy has begun.
    const QString filler = QDir(root).filePath(QStringLiteral("filler"));
    RestoreWriter::Hooks hooks;
    hooks.progress = [&](qint64 done, qint64) {
        if (!fillsDuringCopy || done == 0 || QFileInfo::exists(filler))
            return;
        QFile fill(filler);
        QVERIFY(fill.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'f');
        while (fill.write(block) == block.size() && fill.flush()) {
        }
    };
    const RestoreWriter::Result result = RestoreWriter::write(root, backup.path(), plan, hooks);
    QVERIFY(!result.ok);
    QVERIFY(result.written.isEmpty());
    QVERIFY2(result.why.startsWith(
                 RestoreFailureText::volumeFull(files.first().size(), 0).section(':', 0, 0)),
             qPrintable(result.why));
    // Names what the restore needs.
    QVERIFY2(
        result.why.contains(fillsDuringCopy ? QStringLiteral("0.6 MB") : QStringLiteral("1.8 MB")),
        qPrintable(result.why));
    QCOMPARE(TestBackup::read(QDir(root).filePath(kFirst)), old);
    QVERIFY(noTemporaryLeft(root));
}

QTEST_GUILESS_MAIN(TestRestoreWriter)
#include "tst_restore_writer.moc"
