// The full edition's transfer-mode volume through the FileManager on its worker thread:
// eject and folder opening, and the order in which their requests run.
#include "WorkerRig.h"

#include <RecordingFolderOpener.h>
#include <VolumeList.h>

#include <QDir>
#include <QtTest>

#include <atomic>

namespace {
const QString kTransfer = QStringLiteral("TAVLO");
} // namespace

class TestTransferVolume : public QObject
{
    Q_OBJECT

private slots:
    void eject_data();
    void eject();
    void openFolder_data();
    void openFolder();
    void requestsRunInOrderOnWorkerThread();
    void strangerNeverOpenedNorEjected_data();
    void strangerNeverOpenedNorEjected();
};

void TestTransferVolume::eject_data()
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

void TestTransferVolume::eject()
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

void TestTransferVolume::openFolder_data()
{
    QTest::addColumn<QString>("relative");
    QTest::addColumn<QString>("expectedRelative"); // joined with the root; "*" = unchanged

    QTest::newRow("projects") << "projects" << "projects";
    QTest::newRow("missing folder still asked") << "no_such_folder" << "no_such_folder";
    QTest::newRow("MIDI_Clips") << "MIDI_Clips" << "MIDI_Clips";
    QTest::newRow("absolute path unchanged") << "/tmp" << "*";
}

void TestTransferVolume::openFolder()
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

void TestTransferVolume::strangerNeverOpenedNorEjected_data()
{
    QTest::addColumn<bool>("instrumentToo");
    QTest::newRow("the stranger alone") << false;
    QTest::newRow("beside the instrument's volume") << true;
}

void TestTransferVolume::strangerNeverOpenedNorEjected()
{
    QFETCH(bool, instrumentToo);
    WorkerRig rig;
    SimVolumeOptions stick = SimulatedStorage::strangerVolumeOptions();
    stick.folders = SimulatedStorage::transferVolumeOptions().folders;
    QVERIFY(rig.sim.mount(kTransfer, 0, stick));
    const QString stickRoot = rig.sim.strangerRootPath(kTransfer);
    if (instrumentToo)
        QVERIFY(rig.sim.mount(kTransfer, 0, SimulatedStorage::transferVolumeOptions()));
    rig.requestOpenFolder(kTransfer, "projects");
    rig.requestEject(kTransfer);
    QTRY_COMPARE(rig.ejectResults, QList<bool>{instrumentToo});
    // The worker reported the opening and the dismount before the eject's result.
    for (const QUrl& url : rig.sim.openedFolders())
        QVERIFY2(!url.toLocalFile().startsWith(stickRoot), qPrintable(url.toLocalFile()));
    QCOMPARE(rig.sim.openedFolders().size(), instrumentToo ? 1 : 0);
    QCOMPARE(rig.events.count("dismounted:TAVLO"), instrumentToo ? 1 : 0);
    // The stick is still mounted and listed, the instrument's volume gone after its eject.
    QCOMPARE(rig.mountPath(kTransfer), QString());
    QCOMPARE(rig.sim.volumeList()->mountedVolumes().size(), 1);
    QCOMPARE(rig.sim.volumeList()->mountedVolumes().constFirst().rootPath, stickRoot);
    // Alone, the stick is named to the user for each request; beside the instrument, not.
    const QString refusal = "refused:A drive named TAVLO that is not Tavlo is connected; it was left alone.";
    QCOMPARE(rig.events.count(refusal), instrumentToo ? 0 : 2);
}

void TestTransferVolume::requestsRunInOrderOnWorkerThread()
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

QTEST_GUILESS_MAIN(TestTransferVolume)
#include "tst_transfer_volume.moc"
