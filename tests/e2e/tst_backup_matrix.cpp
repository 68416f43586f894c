// Backups and restores through the whole full edition (its wiring, the storage worker, the
// simulated instrument in transfer mode with a used instrument's content), one fault per
// row. Each row checks where the user ends up (the flow's end and the sentence it says),
// that the instrument is back in normal mode, and that nothing half-written is left: no
// unfinished backup folder, and on the instrument every file either as it was or as in the
// backup. One more test goes the whole way: back up, change a project, restore it, and back
// up again without copying what did not change.
#include "BackupWorker.h"
#include "EndToEndRig.h"
#include "SimTransferContent.h"
#include "SysExMessages.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QScopeGuard>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

const QString kProject = QStringLiteral("projects/Grüße an Zoë.tvp");

// A sentence says one of these ("a|b").
bool saysOneOf(const QString& text, const QString& alternatives)
{
    for (const QString& part : alternatives.split(QLatin1Char('|')))
        if (text.contains(part))
            return true;
    return false;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

bool runMount(const QStringList& arguments)
{
    return QProcess::execute(QStringLiteral("mount"), arguments) == 0;
}

// Every file below root with its bytes' hash, by relative path.
QMap<QString, QByteArray> tree(const QString& root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("?");
        files.insert(QDir(root).relativeFilePath(path), QCryptographicHash::hash(bytes, QCryptographicHash::Sha256));
    }
    return files;
}

QStringList partialFolders(const QString& root)
{
    QStringList names;
    for (const QString& name : QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden))
        if (!QFile::exists(root + QLatin1Char('/') + name + QStringLiteral("/manifest.json")))
            names << name;
    return names;
}

} // namespace

class BackupMatrix : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(!ReleaseServer::caCertificatePath().isEmpty()); }
    void init() { qputenv("TMPDIR", QFile::encodeName(processTemp.path())); }
    void backupFaults_data();
    void backupFaults();
    void restoreFaults_data();
    void restoreFaults();
    void backUpChangeRestoreAndBackUpAgain();

private:
    // The rig with the instrument plugged in and connected (firmware 1.5.2), backups under
    // root.
    bool startRig(EndToEndRig& rig, const QString& root);
    bool backUp(EndToEndRig& rig);
    QTemporaryDir processTemp;
};

bool BackupMatrix::startRig(EndToEndRig& rig, const QString& root)
{
    if (!rig.serve() || !rig.start(false))
        return false;
    rig.program().setBackupsRoot(root);
    rig.instrument().plugIn();
    return QTest::qWaitFor([&rig] { return rig.program().backupFlow().offered(); }, 10000);
}

bool BackupMatrix::backUp(EndToEndRig& rig)
{
    BackupFlow& flow = rig.program().backupFlow();
    flow.backUpNow();
    if (!QTest::qWaitFor([&flow] { return flow.ended(); }, 30000))
        return false;
    const bool done = flow.state() == BackupFlow::State::Done;
    flow.close();
    return done;
}

void BackupMatrix::backupFaults_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("needsRoot");
    QTest::addColumn<BackupFlow::State>("end");
    QTest::addColumn<QString>("says");

    const auto failed = BackupFlow::State::Failed;
    // Which is heard first, the drive gone or the MIDI port gone, is the computer's.
    QTest::newRow("unplugged while backing up") << "unplug" << false << failed
                                                << "disconnected during the backup|If Tavlo was disconnected";
    QTest::newRow("a file on Tavlo unreadable") << "unreadable" << false << failed << "broken.tvp";
    QTest::newRow("backup folder full") << "full" << true << failed << "full";
    QTest::newRow("backup folder read-only") << "readonly" << true << failed << "Tavlo Backups";
    QTest::newRow("cancelled") << "cancel" << false << BackupFlow::State::Cancelled << "Nothing was kept.";
    QTest::newRow("before an update: the update does not start")
        << "beforeUpdate" << false << failed << "The update was not started.";
}

void BackupMatrix::backupFaults()
{
    QFETCH(QString, fault);
    QFETCH(bool, needsRoot);
    QFETCH(BackupFlow::State, end);
    QFETCH(QString, says);
    if (needsRoot && ::geteuid() != 0)
        QSKIP("a full or read-only folder of limited size (tmpfs) needs root");

    QTemporaryDir home;
    QString root = home.path() + QStringLiteral("/Tavlo Backups");
    QString mounted;
    if (fault == QLatin1String("full") || fault == QLatin1String("readonly")) {
        mounted = home.path() + QStringLiteral("/disk");
        QDir().mkpath(mounted);
        const QString options = fault == QLatin1String("full") ? QStringLiteral("size=64k")
                                                               : QStringLiteral("size=1m,ro");
        QVERIFY(runMount({QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"), options,
                          QStringLiteral("tmpfs"), mounted}));
        root = mounted + QStringLiteral("/Tavlo Backups");
        if (fault == QLatin1String("full"))
            QDir().mkpath(root);
    }
    const auto unmount = qScopeGuard([&mounted] {
        if (!mounted.isEmpty())
            QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), mounted});
    });

    EndToEndRig rig;
    rig.instrument().setStorageContent(SimTransferContent::Scale::Tiny,
                                       fault == QLatin1String("unreadable") || fault == QLatin1String("beforeUpdate"));
    QVERIFY2(startRig(rig, root), "the backup was never offered");
    const QMap<QString, QByteArray> before = tree(rig.instrument().storageFolder());
    BackupFlow& flow = rig.program().backupFlow();
    UpdateFlow& update = rig.program().updateFlow();
    const QMetaObject::Connection strike = connect(&flow, &BackupFlow::stateChanged, this, [&](BackupFlow::State state) {
        if (state != BackupFlow::State::Copying)
            return;
        if (fault == QLatin1String("unplug"))
            rig.instrument().unplug();
        else if (fault == QLatin1String("cancel"))
            flow.cancel();
    });

    if (fault == QLatin1String("beforeUpdate")) {
        update.open();
        QTRY_VERIFY(flow.optionOffered());
        flow.startUpdate();
    } else {
        flow.backUpNow();
    }
    QTRY_VERIFY_WITH_TIMEOUT(flow.ended(), 30000);
    QCOMPARE(flow.state(), end);
    QVERIFY2(saysOneOf(flow.statusText(), says), qPrintable(flow.statusText()));
    QVERIFY2(partialFolders(root).isEmpty(), qPrintable(partialFolders(root).join(", ")));
    if (fault == QLatin1String("beforeUpdate"))
        QCOMPARE(update.state(), UpdateFlow::State::Choosing);

    // The instrument is in normal mode (after a replug where it was pulled), its files as
    // they were, and a backup goes through once the fault is gone.
    disconnect(strike);
    if (fault == QLatin1String("unplug"))
        rig.instrument().plugIn();
    flow.close();
    if (fault == QLatin1String("beforeUpdate")) {
        // Back on the update screen, the option offered again.
        QTRY_VERIFY_WITH_TIMEOUT(flow.optionOffered(), 15000);
        QCOMPARE(update.state(), UpdateFlow::State::Choosing);
        return;
    }
    QTRY_VERIFY_WITH_TIMEOUT(rig.program().transferFlow().offered(), 15000);
    QCOMPARE(tree(rig.instrument().storageFolder()), before);
    if (needsRoot || fault == QLatin1String("unreadable") || fault == QLatin1String("beforeUpdate"))
        return;
    QVERIFY(backUp(rig));
    QCOMPARE(QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 1);
}

void BackupMatrix::restoreFaults_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("needsRoot");
    QTest::addColumn<QString>("says");

    QTest::newRow("a changed backup is refused") << "tampered" << false << "Zoë";
    QTest::newRow("unplugged while restoring") << "unplug" << false
                                               << "disconnected during the restore|If Tavlo was disconnected";
    QTest::newRow("Tavlo's drive full") << "full" << true << "full";
}

void BackupMatrix::restoreFaults()
{
    QFETCH(QString, fault);
    QFETCH(bool, needsRoot);
    QFETCH(QString, says);
    if (needsRoot && ::geteuid() != 0)
        QSKIP("a simulated volume of limited size (tmpfs) needs root");

    QTemporaryDir home;
    const QString root = home.path() + QStringLiteral("/Tavlo Backups");
    EndToEndRig rig;
    rig.instrument().setStorageContent(SimTransferContent::Scale::Tiny);
    // The project is large, so that putting it back needs room that a full drive lacks.
    const QString storage = rig.instrument().storageFolder();
    QVERIFY(writeFile(storage + QLatin1Char('/') + kProject, QByteArray(256 * 1024, 'p')));
    QVERIFY2(startRig(rig, root), "the backup was never offered");
    QVERIFY(backUp(rig));
    const QString backup = QDir(root).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot).value(0).absoluteFilePath();
    const QMap<QString, QByteArray> backedUp = tree(storage);

    // The project changes on the instrument after the backup (and shrinks).
    QVERIFY(writeFile(storage + QLatin1Char('/') + kProject, QByteArray(100, 'x')));
    const QMap<QString, QByteArray> changed = tree(storage);
    if (fault == QLatin1String("tampered")) {
        QFile copy(backup + QLatin1Char('/') + kProject);
        copy.setPermissions(copy.permissions() | QFileDevice::WriteOwner);
        QVERIFY(copy.open(QIODevice::ReadWrite));
        copy.seek(0);
        copy.write("!");
        copy.close();
    } else if (fault == QLatin1String("full")) {
        qint64 used = 0;
        for (QDirIterator it(storage, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
            used += QFileInfo(it.next()).size();
        // Room for the content and a little more, not for the project's old size.
        rig.instrument().setTransferVolumeCapacity(used + 64 * 1024);
    }

    RestoreFlow& flow = rig.program().restoreFlow();
    const QByteArray transferStart(reinterpret_cast<const char*>(SysEx::MIDI_SYSEX_TRANSFER_START.data()),
                                   int(SysEx::MIDI_SYSEX_TRANSFER_START.size()));
    const int switches = rig.sentCount(transferStart);
    connect(&flow, &RestoreFlow::stateChanged, this, [&](RestoreFlow::State state) {
        if (state == RestoreFlow::State::Asking)
            QMetaObject::invokeMethod(&flow, &RestoreFlow::confirm, Qt::QueuedConnection);
        else if (state == RestoreFlow::State::Writing && fault == QLatin1String("unplug"))
            rig.instrument().unplug();
    });
    flow.chooseFolder(backup);
    QTRY_VERIFY_WITH_TIMEOUT(flow.ended(), 30000);
    QCOMPARE(flow.state(), RestoreFlow::State::Failed);
    QVERIFY2(saysOneOf(flow.statusText(), says), qPrintable(flow.statusText()));
    if (fault == QLatin1String("tampered"))
        QCOMPARE(rig.sentCount(transferStart), switches);

    // Every file is as it was or as in the backup, and nothing else is on the instrument.
    if (fault == QLatin1String("unplug"))
        rig.instrument().plugIn();
    flow.close();
    QTRY_VERIFY_WITH_TIMEOUT(rig.program().transferFlow().offered(), 15000);
    const QMap<QString, QByteArray> after = tree(storage);
    for (auto it = after.cbegin(); it != after.cend(); ++it)
        QVERIFY2(it.value() == changed.value(it.key()) || it.value() == backedUp.value(it.key()),
                 qPrintable(it.key()));
    QCOMPARE(after.keys(), changed.keys());
}

void BackupMatrix::backUpChangeRestoreAndBackUpAgain()
{
    QTemporaryDir home;
    const QString root = home.path() + QStringLiteral("/Tavlo Backups");
    EndToEndRig rig;
    rig.instrument().setStorageContent(SimTransferContent::Scale::Tiny);
    QVERIFY2(startRig(rig, root), "the backup was never offered");
    const QString storage = rig.instrument().storageFolder();
    const QMap<QString, QByteArray> original = tree(storage);
    QVERIFY(backUp(rig));

    // A project changed and another deleted after the backup.
    QVERIFY(writeFile(storage + QLatin1Char('/') + kProject, "changed after the backup"));
    const QString removed = original.keys().constLast();
    QVERIFY(QFile::remove(storage + QLatin1Char('/') + removed));

    RestoreFlow& restore = rig.program().restoreFlow();
    QTRY_VERIFY(restore.offered());
    restore.open();
    QCOMPARE(restore.backupRows().size(), 1);
    restore.choose(0);
    QTRY_COMPARE_WITH_TIMEOUT(restore.state(), RestoreFlow::State::Asking, 30000);
    QCOMPARE(restore.changedFiles(), QStringList{kProject});
    QCOMPARE(restore.missingFiles(), QStringList{removed});
    restore.confirm();
    QTRY_VERIFY_WITH_TIMEOUT(restore.ended(), 30000);
    QCOMPARE(restore.state(), RestoreFlow::State::Done);
    QCOMPARE(restore.written(), 2);
    restore.close();
    QTRY_VERIFY_WITH_TIMEOUT(rig.program().backupFlow().offered(), 15000);
    QCOMPARE(tree(storage), original);

    // Nothing changed since: the second backup takes every file over from the first.
    QSignalSpy finished(rig.program().fileManager()->findChild<BackupWorker*>(), &BackupWorker::backupFinished);
    QVERIFY(backUp(rig));
    QCOMPARE(finished.size(), 1);
    // (ok, cancelled, folder, files, bytes, linked bytes, why)
    QCOMPARE(finished.at(0).at(5).toLongLong(), finished.at(0).at(4).toLongLong());
}

QTEST_MAIN(BackupMatrix)
#include "tst_backup_matrix.moc"
