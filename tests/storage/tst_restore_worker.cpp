// The restore as the program runs it: the worker on a thread of its own, the simulated
// instrument's volume found by its label (also when it comes late; never a stranger's), the
// backup checked, the volume compared with it, the files written; a volume pulled or a cancel
// while it runs ends it with the files as they were.
#include "RestoreFailureText.h"
#include "RestoreWorker.h"
#include "TestBackup.h"

#include <SimReadableFiles.h>
#include <SimulatedStorage.h>
#include <StorageFailureText.h>

#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

namespace {

const QString kLabel = QStringLiteral("TAVLO");
const QString kBig = QStringLiteral("big.bin");
const QString kGroove = QStringLiteral("grooves/Grüße ø.tvg");
const QString kPattern = QStringLiteral("projects/Live set 3/pattern 01.tvp");
const QString kOwn = QStringLiteral("projects/own.tvp");

QMap<QString, QByteArray> backupFiles()
{
    return {{kBig, QByteArray(2 * 1024 * 1024, 'b')}, {kGroove, "swing"}, {kPattern, "pattern"}};
}

// The worker on its thread, as the FileManager runs it; its reports arrive queued here.
class Rig : public QObject
{
  public:
    explicit Rig(int volumeWaitMs)
    {
        worker =
            new RestoreWorker(sim.volumeList(), std::make_shared<SimReadableFiles>(), volumeWaitMs);
        worker->moveToThread(&thread);
        connect(worker, &RestoreWorker::backupChecked, this,
                [this](bool ok, const QStringList& bad, const QString& why) {
                    checked = ok;
                    badFiles = bad;
                    reason = why;
                    ++reports;
                });
        connect(worker, &RestoreWorker::restorePlanned, this,
                [this](bool ok, const QStringList& c, const QStringList& m, int only, qint64 b,
                       const QString& why) {
                    planned = ok;
                    changed = c;
                    missing = m;
                    onlyOnInstrument = only;
                    bytes = b;
                    reason = why;
                    ++reports;
                });
        connect(worker, &RestoreWorker::restoreProgress, this, [this](qint64 done, qint64 total) {
            progress = {done, total};
        });
        connect(worker, &RestoreWorker::restoreFinished, this,
                [this](bool ok, bool wasCancelled, int files, const QString& why) {
                    finished = ok;
                    cancelled = wasCancelled;
                    written = files;
                    reason = why;
                    ++reports;
                });
        thread.start();
    }
    ~Rig() override
    {
        thread.quit();
        thread.wait();
        delete worker;
    }

    // Runs the call on the worker's thread and waits for its report.
    bool run(const std::function<void()>& call)
    {
        const int before = reports;
        QMetaObject::invokeMethod(worker, call, Qt::QueuedConnection);
        return QTest::qWaitFor([&] { return reports > before; }, 10000);
    }

    SimulatedStorage sim;
    QThread thread;
    RestoreWorker* worker = nullptr;
    int reports = 0;
    bool checked = false, planned = false, finished = false, cancelled = false;
    QStringList badFiles, changed, missing;
    int onlyOnInstrument = -1;
    int written = -1;
    qint64 bytes = -1;
    QPair<qint64, qint64> progress{-1, -1};
    QString reason;
};

} // namespace

class TestRestoreWorker : public QObject
{
    Q_OBJECT

  private slots:
    void restore_data();
    void restore();
    void restoreWithoutPlan();
    void tamperedBackup();
};

void TestRestoreWorker::restore_data()
{
    QTest::addColumn<int>("mountDelayMs"); // -1: the instrument's volume never comes
    QTest::addColumn<bool>("stranger");    // a user's drive with the label is there too
    // "", "pull" (the volume), "cancel": as it begins; "edit": a file the plan found the same
    // is edited on the instrument after the plan was shown
    QTest::addColumn<QString>("interrupt");
    QTest::addColumn<QString>("planWhy"); // empty: planned
    QTest::addColumn<QString>("why");

    QTest::newRow("restored") << 0 << false << ""
                              << ""
                              << "";
    QTest::newRow("the volume comes late") << 300 << false << ""
                                           << ""
                                           << "";
    QTest::newRow("the instrument's volume beside a stranger") << 0 << true << ""
                                                               << ""
                                                               << "";
    QTest::newRow("no volume") << -1 << false << "" << RestoreFailureText::volumeNotFound() << "";
    QTest::newRow("only a stranger")
        << -1 << true << "" << StorageFailureText::strangerVolume(kLabel) << "";
    QTest::newRow("the volume pulled") << 0 << false << "pull"
                                       << "" << RestoreFailureText::disconnected({});
    QTest::newRow("a file edited after the plan is left alone") << 0 << false << "edit"
                                                                << ""
                                                                << "";
    QTest::newRow("cancelled") << 0 << false << "cancel"
                               << ""
                               << "";
}

void TestRestoreWorker::restore()
{
    QFETCH(int, mountDelayMs);
    QFETCH(bool, stranger);
    QFETCH(QString, interrupt);
    QFETCH(QString, planWhy);
    QFETCH(QString, why);

    Rig rig(800);
    QTemporaryDir backup;
    const QMap<QString, QByteArray> files = backupFiles();
    QVERIFY(TestBackup::make(backup.path(), files));
    if (stranger) {
        SimVolumeOptions options = SimulatedStorage::strangerVolumeOptions();
        options.files.insert(kPattern.section('/', -1), "the user's");
        QVERIFY(rig.sim.mount(kLabel, 0, options));
    }
    // On the instrument: big.bin differs, the groove is missing, the pattern is the same, and
    // one file is the instrument's own.
    const QMap<QString, QByteArray> before{
        {kBig, QByteArray(2 * 1024 * 1024, 'o')}, {kPattern, "pattern"}, {kOwn, "own"}};
    // In place before the volume is listed, also when it comes late.
    SimVolumeOptions options = SimulatedStorage::transferVolumeOptions();
    options.folders.append(kPattern.section('/', 0, -2));
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        options.files.insert(it.key(), it.value());
    if (mountDelayMs >= 0)
        QVERIFY(rig.sim.mount(kLabel, mountDelayMs, options));

    QVERIFY(rig.run([&] { rig.worker->checkBackup(backup.path()); }));
    QVERIFY(rig.checked);
    QVERIFY(rig.run([&] { rig.worker->planRestore(backup.path(), kLabel); }));
    QCOMPARE(rig.reason, planWhy);
    QCOMPARE(rig.planned, planWhy.isEmpty());
    if (!rig.planned)
        return;
    QCOMPARE(rig.changed, QStringList{kBig});
    QCOMPARE(rig.missing, QStringList{kGroove});
    QCOMPARE(rig.onlyOnInstrument, 1);
    QCOMPARE(rig.bytes, qint64(files.value(kBig).size() + files.value(kGroove).size()));

    // Taken away or cancelled as the restore reports its start, on the worker's thread.
    const QString table = rig.sim.mountTableDirectory();
    connect(
        rig.worker, &RestoreWorker::restoreProgress, rig.worker,
        [&, table] {
            if (interrupt == QLatin1String("pull")) {
                for (const QString& entry :
                     QDir(table).entryList({QStringLiteral("*.json")}, QDir::Files))
                    QFile::remove(QDir(table).filePath(entry));
            } else if (interrupt == QLatin1String("cancel")) {
                rig.worker->cancel();
            }
        },
        Qt::DirectConnection);
    const bool edit = interrupt == QLatin1String("edit");
    if (edit)
        QVERIFY(TestBackup::writeFile(rig.sim.rootPath(kLabel), kPattern, "edited"));
    QVERIFY(rig.run([&] { rig.worker->restore(backup.path(), kLabel); }));
    QCOMPARE(rig.reason, why);
    QCOMPARE(rig.cancelled, interrupt == QLatin1String("cancel"));
    QCOMPARE(rig.finished, interrupt.isEmpty() || edit);

    const QString root = rig.sim.rootPath(kLabel);
    const QStringList present = TestBackup::filesUnder(root);
    if (interrupt.isEmpty() || edit) {
        QCOMPARE(rig.written, 2);
        QCOMPARE(rig.progress, qMakePair(rig.bytes, rig.bytes));
        for (auto it = files.cbegin(); it != files.cend(); ++it)
            QCOMPARE(TestBackup::read(QDir(root).filePath(it.key())),
                     edit && it.key() == kPattern ? QByteArray("edited") : it.value());
    } else {
        QCOMPARE(rig.written, 0);
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            QCOMPARE(TestBackup::read(QDir(root).filePath(it.key())), it.value());
        QVERIFY2(!present.contains(kGroove), qPrintable(present.join(' ')));
    }
    QCOMPARE(TestBackup::read(QDir(root).filePath(kOwn)), QByteArray("own"));
    if (stranger)
        QCOMPARE(
            TestBackup::read(
                QDir(rig.sim.strangerRootPath(kLabel)).filePath(QStringLiteral("pattern 01.tvp"))),
            QByteArray("the user's"));
}

// Without a plan shown first, the restore compares for itself and writes what differs.
void TestRestoreWorker::restoreWithoutPlan()
{
    Rig rig(800);
    QTemporaryDir backup;
    const QMap<QString, QByteArray> files = backupFiles();
    QVERIFY(TestBackup::make(backup.path(), files));
    SimVolumeOptions options;
    options.files.insert(kBig, "old");
    QVERIFY(rig.sim.mount(kLabel, 0, options));
    QVERIFY(rig.run([&] { rig.worker->restore(backup.path(), kLabel); }));
    QVERIFY2(rig.finished, qPrintable(rig.reason));
    QCOMPARE(rig.written, 3);
    const QString root = rig.sim.rootPath(kLabel);
    QCOMPARE(TestBackup::filesUnder(root), files.keys());
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        QCOMPARE(TestBackup::read(QDir(root).filePath(it.key())), it.value());
}

// A backup changed since it was made is refused by name, before any volume is looked for.
void TestRestoreWorker::tamperedBackup()
{
    Rig rig(100);
    QTemporaryDir backup;
    QVERIFY(TestBackup::make(backup.path(), backupFiles()));
    QVERIFY(TestBackup::writeFile(backup.path(), kGroove, "swung"));
    QVERIFY(QFile::remove(QDir(backup.path()).filePath(kPattern)));
    QVERIFY(rig.run([&] { rig.worker->checkBackup(backup.path()); }));
    QVERIFY(!rig.checked);
    QCOMPARE(rig.badFiles, (QStringList{kGroove, kPattern}));
    QCOMPARE(rig.reason, RestoreFailureText::filesDoNotMatch({kGroove, kPattern}));
}

QTEST_GUILESS_MAIN(TestRestoreWorker)
#include "tst_restore_worker.moc"
