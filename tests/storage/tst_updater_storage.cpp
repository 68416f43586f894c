// The update-only edition's hand-over of the update file: the copy with its progress text,
// the volume left mounted and looked up once more after the rename.
#include "storage/updater/FileManager.h"
#include "SimulatedStorage.h"
#include "StorageTestFiles.h"
#include "StorageTestTimings.h"
#include "VolumeList.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

namespace {

const QString kLabel = QStringLiteral("tavloupd");

// The simulated volumes, except that a volume whose root holds "tvxxfer.tvq" is no longer
// listed: the instrument takes its volume away as soon as the file has its final name.
class VanishingAfterRename : public VolumeList
{
public:
    explicit VanishingAfterRename(std::shared_ptr<VolumeList> inner) : inner(std::move(inner)) {}
    QList<VolumeInfo> mountedVolumes() override
    {
        QList<VolumeInfo> list = inner->mountedVolumes();
        list.removeIf([](const VolumeInfo& v) {
            return QFile::exists(QDir(v.rootPath).filePath(QStringLiteral("tvxxfer.tvq")));
        });
        return list;
    }

private:
    std::shared_ptr<VolumeList> inner;
};

// The FileManager as the program runs it: on its own worker thread, driven by queued calls.
struct Rig
{
    SimulatedStorage sim;
    QTemporaryDir downloads;
    FileManager* manager = nullptr;
    QThread worker;
    QStringList progress;
    QList<bool> results;
    QStringList dismounted;

    explicit Rig(bool vanishing = false)
    {
        std::shared_ptr<VolumeList> volumes = sim.volumeList();
        if (vanishing)
            volumes = std::make_shared<VanishingAfterRename>(volumes);
        manager = new FileManager(volumes, StorageTestTimings::shortOnes());
        manager->moveToThread(&worker);
        worker.start();
        QObject::connect(manager, &FileManager::copyProgress, &sim,
                         [this](const QString& text) { progress << text; });
        QObject::connect(manager, &FileManager::fileTransferComplete, &sim,
                         [this](bool ok) { results << ok; });
        QObject::connect(&sim, &SimulatedStorage::volumeDismounted, &sim,
                         [this](const QString& label) { dismounted << label; });
    }
    ~Rig()
    {
        worker.quit();
        worker.wait();
        delete manager;
    }

    QString writeDownload(const QString& name, const QByteArray& data)
    {
        const QString path = QDir(downloads.path()).filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
            return {};
        return path;
    }

    void handOver(const QString& path, const QString& name)
    {
        QMetaObject::invokeMethod(
            manager, [m = manager, path, name] { m->onDownloadFinished(true, path, name); },
            Qt::QueuedConnection);
        QMetaObject::invokeMethod(manager, &FileManager::onDeviceSetToTransferMode, Qt::QueuedConnection);
    }
};

} // namespace

class TestStorage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void progressText_data();
    void progressText();
    void copiedAndLeftMounted();
    void volumeGoneAfterRename();
    void renameRefusedLeavesNoSuccess();
};

void TestStorage::progressText_data()
{
    QTest::addColumn<qint64>("copied");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<QString>("text");
    QTest::newRow("first chunk of 10000") << qint64(4096) << qint64(10000) << "40%";
    QTest::newRow("second chunk of 10000") << qint64(8192) << qint64(10000) << "81%";
    QTest::newRow("all of 10000") << qint64(10000) << qint64(10000) << "100%";
    QTest::newRow("rounded down") << qint64(1) << qint64(3) << "33%";
    QTest::newRow("below one percent") << qint64(4096) << qint64(1000000) << "0%";
    // 64-bit arithmetic: copied * 100 passes 2^31 here.
    QTest::newRow("5 GB of 6 GB") << qint64(5000000000) << qint64(6000000000) << "83%";
    // Not clamped: a file that grew while it was copied reads over 100.
    QTest::newRow("grown file") << qint64(12288) << qint64(10000) << "122%";
}

void TestStorage::progressText()
{
    QFETCH(qint64, copied);
    QFETCH(qint64, total);
    QFETCH(QString, text);
    QCOMPARE(FileManager::progressText(copied, total), text);
}

void TestStorage::copiedAndLeftMounted()
{
    Rig rig;
    QVERIFY(rig.sim.mount(kLabel));
    const QByteArray data = StorageTestFiles::pattern(10000);
    const QString path = rig.writeDownload(QStringLiteral("tavlo-1.6.0.tvq"), data);
    QVERIFY(!path.isEmpty());
    rig.handOver(path, QStringLiteral("tavlo-1.6.0.tvq"));

    QTRY_COMPARE(rig.results.size(), 1);
    QCOMPARE(rig.results.at(0), true);
    QCOMPARE(rig.progress, (QStringList{"40%", "81%", "100%"}));
    // The names others read from the class.
    QCOMPARE(QString(FileManager::kUpdateVolumeLabel), kLabel);
    QCOMPARE(QString(FileManager::kTransferFileName), QStringLiteral("tvxxfer.tvq"));
    // The volume stays mounted with the file under its hand-over name, and only that.
    QVERIFY(rig.sim.isMounted(kLabel));
    QVERIFY(rig.dismounted.isEmpty());
    const QDir root(rig.sim.rootPath(kLabel));
    QCOMPARE(root.entryList(QDir::Files), QStringList{QStringLiteral("tvxxfer.tvq")});
    QFile copy(root.filePath(QStringLiteral("tvxxfer.tvq")));
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), data);
}

void TestStorage::volumeGoneAfterRename()
{
    Rig rig(true);
    QVERIFY(rig.sim.mount(kLabel));
    const QString path = rig.writeDownload(QStringLiteral("update.tvq"), StorageTestFiles::pattern(5000));
    rig.handOver(path, QStringLiteral("update.tvq"));

    QTRY_COMPARE(rig.results.size(), 1);
    QCOMPARE(rig.results.at(0), false);
    // The file did reach the volume before it went.
    QVERIFY(QFile::exists(QDir(rig.sim.rootPath(kLabel)).filePath(QStringLiteral("tvxxfer.tvq"))));
    QCOMPARE(rig.progress, (QStringList{"81%", "100%"}));
}

void TestStorage::renameRefusedLeavesNoSuccess()
{
    // A directory of the hand-over name cannot be replaced: the copy is there, the rename is
    // not, and no success is reported.
    Rig rig;
    QVERIFY(rig.sim.mount(kLabel));
    QVERIFY(QDir(rig.sim.rootPath(kLabel)).mkdir(QStringLiteral("tvxxfer.tvq")));
    const QString path = rig.writeDownload(QStringLiteral("update.tvq"), StorageTestFiles::pattern(3000));
    rig.handOver(path, QStringLiteral("update.tvq"));
    QTRY_COMPARE(rig.results.size(), 1);
    QCOMPARE(rig.results.at(0), false);
    QVERIFY(rig.sim.isMounted(kLabel));
}

QTEST_GUILESS_MAIN(TestStorage)
#include "tst_updater_storage.moc"
