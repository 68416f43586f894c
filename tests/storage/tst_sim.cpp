// The simulated instrument's storage: mounting on request and after delays, faults, the
// program's dismount reported on the main thread, and a worker reading the mount table while
// the main thread changes it.
#include <SimulatedStorage.h>

#include <FolderOpener.h>
#include <InstrumentUsbIdentity.h>
#include <VolumeDismounter.h>
#include <VolumeList.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <unistd.h>

class TestSim : public QObject
{
    Q_OBJECT

private slots:
    void mountsAfterDelay_data();
    void mountsAfterDelay();
    void unmountCancelsPendingMount();
    void transferVolumeHasFolders();
    void volumesCarryTheirUsbDevice();
    void initialFiles();
    void neverMounts();
    void programDismountReachesMainThread();
    void busyVolumeRefusesDismount();
    void dismountOfUnknownRootFails();
    void capacity();
    void failedMountIsReported_data();
    void failedMountIsReported();
    void rewrittenEntryReplacesTheOldOne();
    void concurrentReadsSeeWholeEntries();
};

void TestSim::mountsAfterDelay_data()
{
    QTest::addColumn<int>("delay");
    QTest::addColumn<int>("extra");
    QTest::newRow("at once") << 0 << 0;
    QTest::newRow("delayed") << 400 << 0;
    QTest::newRow("late fault") << 0 << 400;
    QTest::newRow("both") << 300 << 300;
}

void TestSim::mountsAfterDelay()
{
    QFETCH(int, delay);
    QFETCH(int, extra);
    SimulatedStorage sim;
    sim.setExtraMountDelay(extra);
    QElapsedTimer clock;
    clock.start();
    qint64 mountedAt = -1;
    connect(&sim, &SimulatedStorage::volumeMounted, this, [&] { mountedAt = clock.elapsed(); });
    QVERIFY(sim.mount("tavloupd", delay));
    if (delay + extra == 0) {
        QVERIFY(sim.isMounted("tavloupd"));
        QCOMPARE(sim.volumeList()->mountedVolumes().size(), 1);
        return;
    }
    QVERIFY(!sim.isMounted("tavloupd"));
    QVERIFY(sim.volumeList()->mountedVolumes().isEmpty());
    QTRY_VERIFY(sim.isMounted("tavloupd"));
    QVERIFY2(mountedAt >= delay + extra - 50 && mountedAt < delay + extra + 400,
             qPrintable(QString::number(mountedAt)));
    const QList<VolumeInfo> listed = sim.volumeList()->mountedVolumes();
    QCOMPARE(listed.size(), 1);
    QCOMPARE(listed.constFirst().displayName, QString("tavloupd"));
    QCOMPARE(listed.constFirst().rootPath, sim.rootPath("tavloupd"));
    QVERIFY(QFileInfo(listed.constFirst().rootPath).isDir());
}

void TestSim::unmountCancelsPendingMount()
{
    SimulatedStorage sim;
    QVERIFY(sim.mount("tavloupd", 200));
    sim.unmount("tavloupd");
    QTest::qWait(500);
    QVERIFY(!sim.isMounted("tavloupd"));
    QVERIFY(sim.volumeList()->mountedVolumes().isEmpty());
}

void TestSim::transferVolumeHasFolders()
{
    SimulatedStorage sim;
    QVERIFY(sim.mount("TAVLO", 0, SimulatedStorage::transferVolumeOptions()));
    QStringList folders = QDir(sim.rootPath("TAVLO")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    folders.sort();
    QCOMPARE(folders, (QStringList{"MIDI_Clips", "grooves", "instrument_definitions", "projects"}));
}

void TestSim::volumesCarryTheirUsbDevice()
{
    SimulatedStorage sim;
    QVERIFY(sim.mount("tavloupd", 0, SimulatedStorage::strangerVolumeOptions()));
    QVERIFY(sim.mount("tavloupd"));
    QVERIFY(sim.mount("tavloupd", 0, SimulatedStorage::strangerVolumeOptions("0781", "5567")));
    const QList<VolumeInfo> listed = sim.volumeList()->mountedVolumes();
    QCOMPARE(listed.size(), 3);
    for (const VolumeInfo& volume : listed)
        QVERIFY(volume.usbChecked);
    QVERIFY(!listed.at(0).usb.found);
    QVERIFY(InstrumentUsbIdentity::matches(listed.at(1).usb));
    QCOMPARE(sim.rootPath("tavloupd"), listed.at(1).rootPath); // the instrument's only
    QVERIFY(listed.at(2).usb.found);
    QCOMPARE(listed.at(2).usb.vendorId + ":" + listed.at(2).usb.productId, QString("0781:5567"));
    QCOMPARE(sim.strangerRootPath("tavloupd"), listed.at(2).rootPath);
    // The instrument leaving the bus takes its own volume; the user's drives stay.
    sim.unmount("tavloupd");
    const QList<VolumeInfo> left = sim.volumeList()->mountedVolumes();
    QCOMPARE(left.size(), 2);
    QCOMPARE(left.at(0).rootPath, listed.at(0).rootPath);
    QCOMPARE(left.at(1).rootPath, listed.at(2).rootPath);
    // Strangers alone: the instrument's volume counts as not mounted.
    QVERIFY(!sim.isMounted("tavloupd"));
}

void TestSim::initialFiles()
{
    SimulatedStorage sim;
    SimVolumeOptions options;
    options.files.insert("tvxxfer.tvq", "OLD");
    QVERIFY(sim.mount("tavloupd", 0, options));
    QFile file(QDir(sim.rootPath("tavloupd")).filePath("tvxxfer.tvq"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("OLD"));
}

void TestSim::neverMounts()
{
    SimulatedStorage sim;
    sim.setNeverMounts(true);
    QVERIFY(sim.mount("tavloupd", 0));
    QVERIFY(sim.mount("tavloupd", 100));
    QTest::qWait(300);
    QVERIFY(!sim.isMounted("tavloupd"));
    QVERIFY(sim.volumeList()->mountedVolumes().isEmpty());
}

void TestSim::programDismountReachesMainThread()
{
    SimulatedStorage sim;
    QVERIFY(sim.mount("tavloupd"));
    const QString root = sim.rootPath("tavloupd");
    QFile left(QDir(root).filePath("tvxxfer.tvq"));
    QVERIFY(left.open(QIODevice::WriteOnly));
    left.write("PAYLOAD");
    left.close();

    QThread* seenOn = nullptr;
    QByteArray seenContent;
    QString seenLabel;
    connect(&sim, &SimulatedStorage::volumeDismounted, this,
            [&](const QString& label, const QString& rootPath) {
                seenOn = QThread::currentThread();
                seenLabel = label;
                QFile f(QDir(rootPath).filePath("tvxxfer.tvq"));
                if (f.open(QIODevice::ReadOnly))
                    seenContent = f.readAll();
            });

    std::shared_ptr<VolumeDismounter> dismounter = sim.dismounter();
    QThread worker;
    worker.start();
    QObject context;
    context.moveToThread(&worker);
    bool result = false;
    QMetaObject::invokeMethod(&context, [&] { result = dismounter->dismount(root); },
                              Qt::BlockingQueuedConnection);
    QVERIFY(result);
    // The volume is gone from the computer's list at once.
    QVERIFY(sim.volumeList()->mountedVolumes().isEmpty());
    QTRY_COMPARE(seenLabel, QString("tavloupd"));
    QCOMPARE(seenOn, QThread::currentThread());
    QCOMPARE(seenContent, QByteArray("PAYLOAD"));
    QVERIFY(!sim.isMounted("tavloupd"));
    // A second dismount of the same volume fails.
    QMetaObject::invokeMethod(&context, [&] { result = dismounter->dismount(root); },
                              Qt::BlockingQueuedConnection);
    QVERIFY(!result);
    worker.quit();
    worker.wait();
}

void TestSim::busyVolumeRefusesDismount()
{
    SimulatedStorage sim;
    QVERIFY(sim.mount("TAVLO"));
    QVERIFY(sim.setBusy("TAVLO", true));
    QVERIFY(!sim.dismounter()->dismount(sim.rootPath("TAVLO")));
    QCOMPARE(sim.volumeList()->mountedVolumes().size(), 1);
    QVERIFY(sim.setBusy("TAVLO", false));
    QVERIFY(sim.dismounter()->dismount(sim.rootPath("TAVLO")));
    QVERIFY(sim.volumeList()->mountedVolumes().isEmpty());
    QTRY_VERIFY(!sim.isMounted("TAVLO"));
    QVERIFY(!sim.setBusy("TAVLO", true)); // nothing mounted to change
}

void TestSim::dismountOfUnknownRootFails()
{
    SimulatedStorage sim;
    QVERIFY(sim.mount("TAVLO"));
    QVERIFY(!sim.dismounter()->dismount("/no/such/root"));
    QVERIFY(sim.isMounted("TAVLO"));
}

void TestSim::capacity()
{
    SimulatedStorage sim;
    SimVolumeOptions options;
    options.capacityBytes = 8192;
    if (::geteuid() != 0) {
        QVERIFY(!sim.mount("tavloupd", 0, options));
        QVERIFY(!sim.lastError().isEmpty());
        QVERIFY(!sim.isMounted("tavloupd"));
        return;
    }
    QVERIFY2(sim.mount("tavloupd", 0, options), qPrintable(sim.lastError()));
    QFile file(QDir(sim.rootPath("tavloupd")).filePath("big"));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray chunk(4096, 'x');
    QCOMPARE(file.write(chunk), qint64(4096));
    QCOMPARE(file.write(chunk), qint64(4096));
    QVERIFY(file.write(chunk) != 4096); // the disk is full
}

void TestSim::failedMountIsReported_data()
{
    QTest::addColumn<int>("delay");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("sentence");
    for (int delay : {0, 100}) {
        const QString when = delay ? QStringLiteral(", after a delay") : QStringLiteral(", at once");
        QTest::addRow("unwritable mount table%s", qPrintable(when))
            << delay << "table" << "Could not write the mount table entry";
        QTest::addRow("file that cannot be placed%s", qPrintable(when))
            << delay << "file" << "Could not place no/such/folder/x.bin on the volume.";
    }
}

void TestSim::failedMountIsReported()
{
    // A mount that cannot be done is told (signal and lastError), at once or when its delay
    // is over, and leaves no volume behind, not even half a one in the table.
    QFETCH(int, delay);
    QFETCH(QString, fault);
    QFETCH(QString, sentence);
    SimulatedStorage sim;
    SimVolumeOptions options;
    if (fault == "table") {
        // The table's directory replaced by a file: no entry can be written, also as root.
        QVERIFY(QDir(sim.mountTableDirectory()).removeRecursively());
        QFile blocker(sim.mountTableDirectory());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    } else {
        options.files.insert("no/such/folder/x.bin", "x");
    }
    QStringList failed;
    connect(&sim, &SimulatedStorage::mountFailed, this,
            [&](const QString& label, const QString& message) { failed << label + ": " + message; });
    QCOMPARE(sim.mount("tavloupd", delay, options), delay > 0);
    QTRY_COMPARE(failed.size(), 1);
    QVERIFY2(failed.constFirst().startsWith("tavloupd: " + sentence), qPrintable(failed.constFirst()));
    QVERIFY(sim.lastError().startsWith(sentence));
    QVERIFY(!sim.isMounted("tavloupd"));
    QVERIFY(sim.volumeList()->mountedVolumes().isEmpty());
    QTest::qWait(150);
    QCOMPARE(failed.size(), 1);
}

void TestSim::rewrittenEntryReplacesTheOldOne()
{
    // An entry written again replaces the old one whole, and no file of the writing is left
    // beside the entries (a leftover would be listed by a reader, or pile up).
    SimulatedStorage sim;
    QVERIFY(sim.mount("TAVLO"));
    for (int i = 0; i < 20; ++i) {
        QVERIFY(sim.setReadOnly("TAVLO", i % 2 == 0));
        const QList<VolumeInfo> listed = sim.volumeList()->mountedVolumes();
        QCOMPARE(listed.size(), 1);
        QCOMPARE(listed.constFirst().readOnly, i % 2 == 0);
    }
    QCOMPARE(QDir(sim.mountTableDirectory()).entryList(QDir::Files | QDir::Hidden), QStringList{"00000001.json"});
}

void TestSim::concurrentReadsSeeWholeEntries()
{
    // The worker reads the table in a tight loop while the main thread keeps rewriting the
    // entry of one volume that stays mounted throughout, and mounts and unmounts another.
    // A rewrite that is not atomic would make the steady volume vanish or come out torn.
    SimulatedStorage sim;
    QVERIFY(sim.mount("TAVLO"));
    std::shared_ptr<VolumeList> list = sim.volumeList();
    std::atomic<bool> stop{false};
    std::atomic<int> reads{0};
    std::atomic<int> broken{0};
    std::unique_ptr<QThread> reader(QThread::create([&] {
        while (!stop.load()) {
            int steady = 0;
            for (const VolumeInfo& v : list->mountedVolumes()) {
                if (!v.valid || v.rootPath.isEmpty())
                    broken.fetch_add(1);
                else if (v.displayName == "TAVLO")
                    ++steady;
                else if (v.displayName != "tavloupd")
                    broken.fetch_add(1);
            }
            if (steady != 1)
                broken.fetch_add(1);
            reads.fetch_add(1);
        }
    }));
    reader->start();
    for (int i = 0; i < 300; ++i) {
        QVERIFY(sim.setReady("TAVLO", i % 3 != 0));
        QVERIFY(sim.setReadOnly("TAVLO", i % 5 == 0));
        if (i % 2)
            QVERIFY(sim.mount("tavloupd"));
        else
            sim.unmount("tavloupd");
    }
    stop = true;
    reader->wait();
    QVERIFY(reads.load() > 10);
    QCOMPARE(broken.load(), 0);
}

QTEST_GUILESS_MAIN(TestSim)
#include "tst_sim.moc"
