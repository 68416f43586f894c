// The update hand-over on its own, against a volume list the test sets directly and a
// finishing step that records what it saw: the states, the retry timeline taken from the
// timings it is given, overlapping requests, and which failures skip the finishing step.
#include <FakeVolumes.h>
#include <HandOverFinish.h>
#include <StorageTestFiles.h>
#include <StorageTestTimings.h>
#include <UpdateHandOver.h>
#include <VolumeUpdateWriter.h>

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

namespace {
const QString kUpd = QStringLiteral("tavloupd");

class RecordingFinish : public HandOverFinish
{
public:
    bool answer = true;
    QStringList labels;
    QList<UpdateHandOver::State> statesSeen;
    const UpdateHandOver* handOver = nullptr;

    bool finishHandOver(const QString& label) override
    {
        labels.append(label);
        statesSeen.append(handOver->state());
        return answer;
    }
};

StorageTimings timingsWith(int intervalMs, int maxRetries, int pollMs = 0)
{
    StorageTimings timings = StorageTestTimings::shortOnes();
    timings.volumeRetryIntervalMs = intervalMs;
    timings.maxVolumeRetries = maxRetries;
    timings.volumePollIntervalMs = pollMs;
    return timings;
}

struct Bench
{
    QTemporaryDir volume;
    QTemporaryDir downloads;
    std::shared_ptr<FakeVolumes> volumes = std::make_shared<FakeVolumes>();
    RecordingFinish finish;
    QList<qint64> copied;
    QList<qint64> totals;
    QList<UpdateHandOver::State> progressStates;
    QList<bool> results;
    std::unique_ptr<UpdateHandOver> handOver;

    explicit Bench(const StorageTimings& timings)
    {
        handOver = std::make_unique<UpdateHandOver>(
            volumes, finish, timings,
            [this](qint64 done, qint64 total) {
                copied.append(done);
                totals.append(total);
                progressStates.append(handOver->state());
            },
            [this](bool ok) { results.append(ok); });
        finish.handOver = handOver.get();
    }
    void mount() { volumes->volumes = {FakeVolumes::writable(kUpd, volume.path())}; }
    QString download(const QString& name, qint64 size)
    {
        const QString path = StorageTestFiles::write(downloads, name, StorageTestFiles::pattern(size));
        handOver->downloadFinished(true, path, name);
        return path;
    }
};
} // namespace

class TestUpdateHandOver : public QObject
{
    Q_OBJECT

private slots:
    void statesThroughOneHandOver();
    void finishingStepDecides_data();
    void finishingStepDecides();
    void failedStepsSkipFinishing_data();
    void failedStepsSkipFinishing();
    void retriesFollowTheTimings_data();
    void retriesFollowTheTimings();
    void volumeArrivingWhileWaiting();
    void overlappingRequestsShareTheCount();
    void chunkSizes_data();
    void chunkSizes();
    void largerFileReportsEachPercentOnce_data();
    void largerFileReportsEachPercentOnce();
    void pollEndsTheWait_data();
    void pollEndsTheWait();
    void pollKeepsTheOuterLimit();
    void pollRunsOnTheWorkerThread();
    void failedDownloadKeepsEarlierOne();
};

void TestUpdateHandOver::statesThroughOneHandOver()
{
    Bench bench(timingsWith(20, 5));
    bench.mount();
    bench.download("fw.tvq", 10000);
    QCOMPARE(bench.handOver->state(), UpdateHandOver::State::Idle);
    bench.handOver->attempt();

    QCOMPARE(bench.results, QList<bool>{true});
    QCOMPARE(bench.copied, (QList<qint64>{4096, 8192, 10000}));
    QCOMPARE(bench.totals, (QList<qint64>{10000, 10000, 10000}));
    QCOMPARE(bench.progressStates, QList<UpdateHandOver::State>(3, UpdateHandOver::State::Copying));
    QCOMPARE(bench.finish.labels, QStringList{kUpd});
    QCOMPARE(bench.finish.statesSeen, QList<UpdateHandOver::State>{UpdateHandOver::State::Finishing});
    QCOMPARE(bench.handOver->state(), UpdateHandOver::State::Idle);
    QCOMPARE(QDir(bench.volume.path()).entryList(QDir::Files), QStringList{"tvxxfer.tvq"});
}

void TestUpdateHandOver::finishingStepDecides_data()
{
    QTest::addColumn<bool>("answer");
    QTest::newRow("finished") << true;
    QTest::newRow("refused") << false;
}

void TestUpdateHandOver::finishingStepDecides()
{
    QFETCH(bool, answer);
    Bench bench(timingsWith(20, 5));
    bench.finish.answer = answer;
    bench.mount();
    bench.download("fw.tvq", 100);
    bench.handOver->attempt();
    QCOMPARE(bench.results, QList<bool>{answer});
    // The file is in place either way: the finishing step comes after the rename.
    QVERIFY(QFile::exists(QDir(bench.volume.path()).filePath("tvxxfer.tvq")));
    QCOMPARE(bench.handOver->state(), UpdateHandOver::State::Idle);
}

void TestUpdateHandOver::failedStepsSkipFinishing_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("no download") << "no download";
    QTest::newRow("source gone") << "source gone";
    QTest::newRow("hand-over name taken by a folder") << "folder";
    QTest::newRow("volume without a root") << "no root";
}

void TestUpdateHandOver::failedStepsSkipFinishing()
{
    QFETCH(QString, fault);
    Bench bench(timingsWith(20, 0));
    bench.mount();
    if (fault != "no download") {
        const QString path = bench.download("fw.tvq", 5000);
        if (fault == "source gone")
            QVERIFY(QFile::remove(path));
    }
    if (fault == "folder")
        QVERIFY(QDir(bench.volume.path()).mkdir("tvxxfer.tvq"));
    if (fault == "no root")
        bench.volumes->volumes.first().rootPath.clear();
    bench.handOver->attempt();
    QCOMPARE(bench.results, QList<bool>{false});
    QVERIFY(bench.finish.labels.isEmpty());
    QCOMPARE(bench.handOver->state(), UpdateHandOver::State::Idle);
}

void TestUpdateHandOver::retriesFollowTheTimings_data()
{
    QTest::addColumn<int>("maxRetries");
    QTest::newRow("no retries") << 0;
    QTest::newRow("one retry") << 1;
    QTest::newRow("three retries") << 3;
}

void TestUpdateHandOver::retriesFollowTheTimings()
{
    QFETCH(int, maxRetries);
    const int interval = 40;
    Bench bench(timingsWith(interval, maxRetries));
    bench.download("fw.tvq", 10);
    QElapsedTimer clock;
    clock.start();
    bench.handOver->attempt();
    if (maxRetries == 0) {
        QCOMPARE(bench.results, QList<bool>{false}); // at once, no timer
    } else {
        QVERIFY(bench.results.isEmpty());
        QCOMPARE(bench.handOver->state(), UpdateHandOver::State::WaitingForVolume);
        QCOMPARE(bench.handOver->retryCount(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(bench.results, QList<bool>{false}, interval * maxRetries * 10);
        QVERIFY2(clock.elapsed() >= interval * maxRetries, qPrintable(QString::number(clock.elapsed())));
    }
    // One look-up per attempt: the first and one per retry.
    QCOMPARE(bench.volumes->calls, maxRetries + 1);
    QCOMPARE(bench.handOver->retryCount(), maxRetries);
    QCOMPARE(bench.handOver->state(), UpdateHandOver::State::Idle);

    // Used up: the next request fails at once and the count stays.
    bench.handOver->attempt();
    QCOMPARE(bench.results.size(), 2);
    QCOMPARE(bench.handOver->retryCount(), maxRetries);
}

void TestUpdateHandOver::volumeArrivingWhileWaiting()
{
    Bench bench(timingsWith(30, 5));
    bench.download("fw.tvq", 10);
    bench.handOver->attempt();
    QTRY_COMPARE(bench.handOver->retryCount(), 2);
    bench.mount();
    QTRY_COMPARE(bench.results, QList<bool>{true});
    QCOMPARE(bench.handOver->retryCount(), 0);
    QCOMPARE(bench.handOver->state(), UpdateHandOver::State::Idle);
}

void TestUpdateHandOver::overlappingRequestsShareTheCount()
{
    // Each request that finds the volume missing starts its own chain of look-ups; the chains
    // share the one count, and each request gets its own result.
    Bench bench(timingsWith(30, 2));
    bench.download("fw.tvq", 10);
    bench.handOver->attempt();
    bench.handOver->attempt();
    QCOMPARE(bench.handOver->retryCount(), 2);
    QCOMPARE(bench.handOver->state(), UpdateHandOver::State::WaitingForVolume);
    QTRY_COMPARE(bench.results, (QList<bool>{false, false}));
    QCOMPARE(bench.handOver->state(), UpdateHandOver::State::Idle);
    QTest::qWait(100);
    QCOMPARE(bench.results.size(), 2); // no timer left behind
}

void TestUpdateHandOver::chunkSizes_data()
{
    QTest::addColumn<qint64>("total");
    QTest::addColumn<qint64>("chunk");
    QTest::newRow("empty") << qint64(0) << qint64(4096);
    QTest::newRow("small file: 4 KiB") << qint64(10000) << qint64(4096);
    QTest::newRow("one percent below 8 KiB") << qint64(819199) << qint64(4096);
    QTest::newRow("one percent, whole 4 KiB") << qint64(819200) << qint64(8192);
    QTest::newRow("64 MiB") << qint64(64) * 1024 * 1024 << qint64(667648);
    QTest::newRow("512 MiB: at most 1 MiB") << qint64(512) * 1024 * 1024 << qint64(1024 * 1024);
}

void TestUpdateHandOver::chunkSizes()
{
    QFETCH(qint64, total);
    QFETCH(qint64, chunk);
    QCOMPARE(VolumeUpdateWriter::chunkSizeFor(total), chunk);
}

void TestUpdateHandOver::largerFileReportsEachPercentOnce_data()
{
    QTest::addColumn<qint64>("size");
    QTest::newRow("1 MiB and a bit") << qint64(1024 * 1024 + 3);
    QTest::newRow("5 MiB, not a whole chunk at the end") << qint64(5 * 1024 * 1024 - 1000);
}

void TestUpdateHandOver::largerFileReportsEachPercentOnce()
{
    QFETCH(qint64, size);
    Bench bench(timingsWith(20, 0));
    bench.mount();
    const QString source = bench.download("fw.tvq", size);
    bench.handOver->attempt();
    QCOMPARE(bench.results, QList<bool>{true});
    QVERIFY(bench.copied.size() <= 101);
    QCOMPARE(bench.copied.last(), size);
    int last = -1;
    for (const qint64 done : bench.copied) {
        const int percent = int(done * 100 / size);
        QVERIFY2(percent > last, qPrintable(QStringLiteral("%1 after %2").arg(percent).arg(last)));
        last = percent;
    }
    QFile copy(QDir(bench.volume.path()).filePath(QStringLiteral("tvxxfer.tvq")));
    QFile original(source);
    QVERIFY(copy.open(QIODevice::ReadOnly) && original.open(QIODevice::ReadOnly));
    QVERIFY(copy.readAll() == original.readAll());
}

void TestUpdateHandOver::pollEndsTheWait_data()
{
    QTest::addColumn<bool>("writable");
    QTest::addColumn<int>("requests");
    QTest::addColumn<QList<bool>>("results");
    QTest::newRow("writable volume: copied at once") << true << 1 << QList<bool>{true};
    QTest::newRow("two waiting requests: one result each") << true << 2 << QList<bool>{true, true};
    QTest::newRow("read-only volume: fails at once") << false << 1 << QList<bool>{false};
}

void TestUpdateHandOver::pollEndsTheWait()
{
    // The retry interval is far longer than the test waits: only the poll can find the volume.
    QFETCH(bool, writable);
    QFETCH(int, requests);
    QFETCH(QList<bool>, results);
    const int pollMs = 20;
    Bench bench(timingsWith(60000, 5, pollMs));
    bench.download("fw.tvq", 10000);
    for (int i = 0; i < requests; ++i)
        bench.handOver->attempt();
    QCOMPARE(bench.handOver->state(), UpdateHandOver::State::WaitingForVolume);
    QTest::qWait(pollMs * 3);
    QVERIFY(bench.results.isEmpty());

    QElapsedTimer sinceMount;
    sinceMount.start();
    VolumeInfo info = FakeVolumes::writable(kUpd, bench.volume.path());
    info.readOnly = !writable;
    bench.volumes->volumes = {info};
    QTRY_COMPARE_WITH_TIMEOUT(bench.results, results, 5000);
    QVERIFY2(sinceMount.elapsed() < 2000, qPrintable(QString::number(sinceMount.elapsed())));
    QCOMPARE(bench.handOver->state(), UpdateHandOver::State::Idle);
    QCOMPARE(bench.handOver->retryCount(), writable ? 0 : 1);
    if (writable)
        QCOMPARE(bench.copied.last(), qint64(10000));
    else
        QVERIFY(bench.handOver->failureReason().contains(QStringLiteral("read-only")));

    // The poll has stopped and the void retry timers stay void: nothing more is looked up.
    const int calls = bench.volumes->calls;
    QTest::qWait(pollMs * 5);
    QCOMPARE(bench.volumes->calls, calls);
    QCOMPARE(bench.results, results);
}

void TestUpdateHandOver::pollRunsOnTheWorkerThread()
{
    // The program runs the hand-over on the storage worker's thread: its poll moves with it,
    // so the volume is found long before the next timed look-up. Everything the hand-over
    // touches is reached on that thread.
    Bench bench(timingsWith(60000, 5, 20));
    QThread worker;
    struct Stop
    {
        QThread& thread;
        ~Stop()
        {
            thread.quit();
            thread.wait();
        }
    } stop{worker}; // also when a check fails early
    worker.start();
    bench.handOver->moveToThread(&worker);
    const auto onWorker = [&](const std::function<void()>& step) {
        QMetaObject::invokeMethod(bench.handOver.get(), step, Qt::BlockingQueuedConnection);
    };
    onWorker([&] {
        bench.download("fw.tvq", 10000);
        bench.handOver->attempt();
    });
    QElapsedTimer sinceMount;
    sinceMount.start();
    onWorker([&] { bench.mount(); });
    QList<bool> results;
    QTRY_VERIFY_WITH_TIMEOUT((onWorker([&] { results = bench.results; }), !results.isEmpty()), 5000);
    QVERIFY2(sinceMount.elapsed() < 2000, qPrintable(QString::number(sinceMount.elapsed())));
    QCOMPARE(results, QList<bool>{true});
    QThread* const home = thread();
    onWorker([&] { bench.handOver->moveToThread(home); });
}

void TestUpdateHandOver::pollKeepsTheOuterLimit()
{
    // A volume that never comes: the poll runs between the timed look-ups, and the hand-over
    // still fails after the same retries and time as without it.
    const int interval = 40;
    const int maxRetries = 3;
    Bench bench(timingsWith(interval, maxRetries, 10));
    bench.download("fw.tvq", 10);
    QElapsedTimer clock;
    clock.start();
    bench.handOver->attempt();
    QTRY_COMPARE_WITH_TIMEOUT(bench.results, QList<bool>{false}, interval * maxRetries * 20);
    QVERIFY2(clock.elapsed() >= interval * maxRetries, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(bench.handOver->retryCount(), maxRetries);
    QCOMPARE(bench.handOver->state(), UpdateHandOver::State::Idle);
    QVERIFY(bench.volumes->calls > maxRetries + 1);
    const int calls = bench.volumes->calls;
    QTest::qWait(50);
    QCOMPARE(bench.volumes->calls, calls);
}

void TestUpdateHandOver::failedDownloadKeepsEarlierOne()
{
    Bench bench(timingsWith(20, 0));
    const QString good = bench.download("good.tvq", 10);
    bench.handOver->downloadFinished(false, "/elsewhere/bad.tvq", "bad.tvq");
    QCOMPARE(bench.handOver->updateFilePath(), good);
    QCOMPARE(bench.handOver->updateFileName(), QString("good.tvq"));
}

QTEST_GUILESS_MAIN(TestUpdateHandOver)
#include "tst_update_hand_over.moc"
