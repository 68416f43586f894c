// Real volumes on Linux: a small ext4 image labelled "tavloupd" on a loop device, found,
// written, renamed and ejected through the real QStorageInfo list and the real dismount.
// Needs root and loop devices; skipped elsewhere.
#include "storage/full/FileManager.h"
#include <ProductionStorage.h>
#include <StorageTestTimings.h>

#include <FolderOpener.h>
#include <InstrumentUsbIdentity.h>
#include <StorageFailureText.h>
#include <VolumeDismounter.h>
#include <VolumeList.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <sys/mount.h>
#include <unistd.h>

namespace {
const QString kLabelDir = QStringLiteral("/dev/disk/by-label");
const QString kLabel = QStringLiteral("tavloupd");

bool run(const QString& program, const QStringList& args, QByteArray* output = nullptr)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(30000))
        return false;
    if (output)
        *output = process.readAllStandardOutput();
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool isMountPoint(const QString& path)
{
    const QString clean = QDir::cleanPath(path);
    for (const QStorageInfo& info : QStorageInfo::mountedVolumes()) {
        if (QDir::cleanPath(info.rootPath()) == clean)
            return true;
    }
    return false;
}

// A labelled ext4 volume on a loop device, torn down in every case.
class LoopVolume
{
public:
    QString error;
    QString device;
    QString mountPoint;
    QString checkPoint;

    bool setUp(const QTemporaryDir& work)
    {
        const QString image = work.filePath("volume.img");
        {
            QFile file(image);
            if (!file.open(QIODevice::WriteOnly) || !file.resize(8 * 1024 * 1024))
                return fail("cannot make the image file");
        }
        if (!run("mkfs.ext4", {"-q", "-F", "-L", kLabel, image}))
            return fail("mkfs.ext4 failed");
        QByteArray out;
        if (!run("losetup", {"--find", "--show", image}, &out))
            return fail("losetup could not attach the image");
        device = QString::fromLocal8Bit(out).trimmed();
        mountPoint = work.filePath("mnt");
        checkPoint = work.filePath("check");
        QDir().mkpath(mountPoint);
        QDir().mkpath(checkPoint);
        if (!run("mount", {device, mountPoint}))
            return fail("mount failed");
        // The link udev would add for the label.
        if (QFileInfo::exists(kLabelDir + "/" + kLabel) || QFileInfo(kLabelDir + "/" + kLabel).isSymLink())
            return fail("a volume labelled tavloupd is present already");
        if (!QDir(kLabelDir).exists()) {
            madeDiskDir = !QDir("/dev/disk").exists();
            if (!QDir().mkpath(kLabelDir))
                return fail("cannot create " + kLabelDir);
            madeLabelDir = true;
        }
        if (!QFile::link(device, kLabelDir + "/" + kLabel))
            return fail("cannot create the label link");
        madeLink = true;
        return true;
    }

    ~LoopVolume()
    {
        if (!mountPoint.isEmpty() && isMountPoint(mountPoint))
            ::umount2(QFile::encodeName(mountPoint).constData(), MNT_DETACH);
        if (!checkPoint.isEmpty() && isMountPoint(checkPoint))
            ::umount2(QFile::encodeName(checkPoint).constData(), MNT_DETACH);
        if (!device.isEmpty())
            run("losetup", {"-d", device});
        if (madeLink)
            QFile::remove(kLabelDir + "/" + kLabel);
        if (madeLabelDir)
            QDir().rmdir(kLabelDir);
        if (madeDiskDir)
            QDir().rmdir("/dev/disk");
    }

private:
    bool fail(const QString& why)
    {
        error = why;
        return false;
    }
    bool madeLink = false;
    bool madeLabelDir = false;
    bool madeDiskDir = false;
};

// The system's volume list, with the loop volume at one mount point standing in for the
// instrument's (a loop device is on no USB device, so the list itself calls it a stranger).
class LoopAsInstrument : public VolumeList
{
public:
    explicit LoopAsInstrument(QString mountPoint) : mountPoint(QDir::cleanPath(mountPoint)) {}
    QList<VolumeInfo> mountedVolumes() override
    {
        QList<VolumeInfo> volumes = system->mountedVolumes();
        for (VolumeInfo& volume : volumes) {
            if (QDir::cleanPath(volume.rootPath) == mountPoint) {
                volume.usb.found = true;
                volume.usb.vendorId = InstrumentUsbIdentity::vendorId();
                volume.usb.productId = InstrumentUsbIdentity::productId();
            }
        }
        return volumes;
    }

private:
    std::shared_ptr<VolumeList> system = createProductionVolumeList();
    QString mountPoint;
};

struct ProductionWorker
{
    FileManager* manager = nullptr;
    QThread* thread = nullptr;

    explicit ProductionWorker(const QString& instrumentMountPoint,
                              std::shared_ptr<VolumeList> list = nullptr)
    {
        if (!list)
            list = std::make_shared<LoopAsInstrument>(instrumentMountPoint);
        manager = new FileManager(list, createProductionVolumeDismounter(2, 1),
                                  createProductionFolderOpener(), StorageTestTimings::shortOnes());
        thread = new QThread;
        manager->moveToThread(thread);
        thread->start();
    }
    ~ProductionWorker()
    {
        thread->quit();
        thread->wait();
        delete manager;
        delete thread;
    }
    template <typename F>
    void onWorker(F f)
    {
        QMetaObject::invokeMethod(manager, f, Qt::BlockingQueuedConnection);
    }
};
} // namespace

class TestExt4 : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void updateOntoRealVolume();
    void busyVolumeIsNotEjected();

private:
    bool usable(QString& why);
};

bool TestExt4::usable(QString& why)
{
    if (::geteuid() != 0) {
        why = "needs root to attach and mount a loop device";
        return false;
    }
    if (!QFileInfo::exists("/dev/loop-control")) {
        why = "no loop devices on this machine";
        return false;
    }
    for (const char* tool : {"mkfs.ext4", "losetup", "mount"}) {
        if (QStandardPaths::findExecutable(tool).isEmpty()
            && QStandardPaths::findExecutable(tool, {"/sbin", "/usr/sbin", "/bin", "/usr/bin"}).isEmpty()) {
            why = QString("%1 is not installed").arg(tool);
            return false;
        }
    }
    return true;
}

void TestExt4::init()
{
    QString why;
    if (!usable(why))
        QSKIP(qPrintable("Real-volume test skipped: " + why));
}

void TestExt4::updateOntoRealVolume()
{
    QTemporaryDir work;
    LoopVolume volume;
    if (!volume.setUp(work))
        QSKIP(qPrintable("Real-volume test skipped: " + volume.error));

    QByteArray content(300000, Qt::Uninitialized);
    for (int i = 0; i < content.size(); ++i)
        content[i] = static_cast<char>(i * 7 + (i >> 9));
    const QString source = work.filePath("tavlo-fw-3.1.0.tvq");
    {
        QFile file(source);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(content), qint64(content.size()));
    }

    {
        // The system's own list sees the loop volume's block device and no USB device above
        // it: the volume is a stranger, found by its label and left alone.
        ProductionWorker plain(volume.mountPoint, createProductionVolumeList());
        QString path;
        QString refusal;
        plain.onWorker([&] {
            path = plain.manager->findDeviceMountPath(kLabel);
            refusal = plain.manager->volumeRefusal(kLabel);
        });
        QVERIFY(path.isEmpty());
        QCOMPARE(refusal, StorageFailureText::strangerVolume(kLabel));
    }

    ProductionWorker worker(volume.mountPoint);
    QString found;
    bool upperFound = true;
    worker.onWorker([&] {
        found = worker.manager->findDeviceMountPath(kLabel);
        upperFound = worker.manager->isDeviceMounted("TAVLOUPD");
    });
    QCOMPARE(QDir::cleanPath(found), QDir::cleanPath(volume.mountPoint));
    QVERIFY(!upperFound);

    QList<int> progress;
    QList<bool> results;
    connect(worker.manager, &FileManager::copyProgress, this, [&](int p) { progress.append(p); });
    connect(worker.manager, &FileManager::fileTransferComplete, this, [&](bool ok) { results.append(ok); });
    QMetaObject::invokeMethod(worker.manager, [&] { worker.manager->onDownloadFinished(true, source, "tavlo-fw-3.1.0.tvq"); },
                              Qt::QueuedConnection);
    QMetaObject::invokeMethod(worker.manager, &FileManager::onDeviceSetToTransferMode, Qt::QueuedConnection);
    QTRY_COMPARE_WITH_TIMEOUT(results, QList<bool>{true}, 30000);
    QCOMPARE(progress.size(), (content.size() + 4095) / 4096);
    QCOMPARE(progress.last(), 100);

    // Ejected: no longer mounted. Mount it again elsewhere and read what it holds.
    QVERIFY(!isMountPoint(volume.mountPoint));
    QVERIFY(run("mount", {"-o", "ro", volume.device, volume.checkPoint}));
    const QDir check(volume.checkPoint);
    QCOMPARE(check.entryList(QDir::Files), QStringList{"tvxxfer.tvq"});
    QFile copied(check.filePath("tvxxfer.tvq"));
    QVERIFY(copied.open(QIODevice::ReadOnly));
    QVERIFY(copied.readAll() == content);
}

void TestExt4::busyVolumeIsNotEjected()
{
    QTemporaryDir work;
    LoopVolume volume;
    if (!volume.setUp(work))
        QSKIP(qPrintable("Real-volume test skipped: " + volume.error));

    ProductionWorker worker(volume.mountPoint);
    QList<bool> results;
    connect(worker.manager, &FileManager::ejectCompleted, this, [&](bool ok) { results.append(ok); });

    {
        QFile open(QDir(volume.mountPoint).filePath("in-use"));
        QVERIFY(open.open(QIODevice::WriteOnly));
        open.write("x");
        QMetaObject::invokeMethod(worker.manager, [&] { worker.manager->ejectDeviceAndEmit(kLabel); },
                                  Qt::QueuedConnection);
        QTRY_COMPARE_WITH_TIMEOUT(results, QList<bool>{false}, 30000);
        QVERIFY(isMountPoint(volume.mountPoint)); // still there: no lazy detach
        // What holds it is this process, with its open file.
        const QString self = QFileInfo(QCoreApplication::applicationFilePath()).fileName().left(15);
        QCOMPARE(createProductionVolumeDismounter(1, 0)->holders(volume.mountPoint), QStringList{self});
    }
    QMetaObject::invokeMethod(worker.manager, [&] { worker.manager->ejectDeviceAndEmit(kLabel); },
                              Qt::QueuedConnection);
    QTRY_COMPARE_WITH_TIMEOUT(results, (QList<bool>{false, true}), 30000);
    QVERIFY(!isMountPoint(volume.mountPoint));
}

QTEST_GUILESS_MAIN(TestExt4)
#include "tst_ext4.moc"
