// The USB device behind a volume's block device on Linux, read from a fake sysfs tree in a
// temporary folder: partitions and whole disks of the instrument and of another maker's
// stick, disks on no USB at all, and names and links that must not lead anywhere.
#include <InstrumentUsbIdentity.h>
#include <SysfsUsbDevice.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void writeFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

void link(const QString& target, const QString& at)
{
    QDir().mkpath(QFileInfo(at).path());
    QVERIFY2(QFile::link(target, at), qPrintable(at));
}

// A USB mass-storage disk with one partition below the USB device usbDir, as the kernel lays
// it out, with class/block entries for both.
void usbDisk(const QString& root, const QString& usbDir, const QString& disk, const QByteArray& vendor,
             const QByteArray& product)
{
    writeFile(root + "/devices/" + usbDir + "/idVendor", vendor + "\n");
    writeFile(root + "/devices/" + usbDir + "/idProduct", product + "\n");
    const QString scsi = usbDir + "/" + QFileInfo(usbDir).fileName() + ":1.0/host6/target6:0:0/6:0:0:0";
    const QString blockDir = scsi + "/block/" + disk;
    QDir().mkpath(root + "/devices/" + blockDir + "/" + disk + "1");
    link("../../../" + QFileInfo(scsi).fileName(), root + "/devices/" + blockDir + "/device");
    link("../../devices/" + blockDir, root + "/class/block/" + disk);
    link("../../devices/" + blockDir + "/" + disk + "1", root + "/class/block/" + disk + "1");
}

} // namespace

class TestBlockDeviceUsb : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void blockDevice_data();
    void blockDevice();
    void instrumentIdentityMatches();

private:
    QTemporaryDir temp;
    QString root;
};

void TestBlockDeviceUsb::initTestCase()
{
    QVERIFY(temp.isValid());
    root = temp.filePath("sys");
    // An identity above the tree's root and one outside it: never to be reported.
    writeFile(temp.filePath("idVendor"), "1d6b\n");
    writeFile(temp.filePath("idProduct"), "0104\n");
    writeFile(temp.filePath("outside/idVendor"), "1d6b\n");
    writeFile(temp.filePath("outside/idProduct"), "0104\n");
    QDir().mkpath(temp.filePath("outside/disk"));

    usbDisk(root, "pci0000:00/0000:00:14.0/usb2/2-1", "sdb", "1d6b", "0104");
    usbDisk(root, "pci0000:00/0000:00:14.0/usb2/2-2", "sdc", "0781", "5567");
    // Only a vendor file: not an identity.
    writeFile(root + "/devices/pci0000:00/0000:00:14.0/usb2/2-3/idVendor", "1d6b\n");
    QDir().mkpath(root + "/devices/pci0000:00/0000:00:14.0/usb2/2-3/2-3:1.0/block/sdd");
    link("../../devices/pci0000:00/0000:00:14.0/usb2/2-3/2-3:1.0/block/sdd", root + "/class/block/sdd");
    // A SATA disk and a loop device: no USB device above them.
    QDir().mkpath(root + "/devices/pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0/block/sda/sda1");
    link("../../devices/pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0/block/sda/sda1",
         root + "/class/block/sda1");
    QDir().mkpath(root + "/devices/virtual/block/loop0");
    link("../../devices/virtual/block/loop0", root + "/class/block/loop0");
    // Links that leave the tree, as entry and as its device link.
    link(temp.filePath("outside/disk"), root + "/class/block/away");
    QDir().mkpath(root + "/devices/virtual/block/sde");
    link("../../devices/virtual/block/sde", root + "/class/block/sde");
    link(temp.filePath("outside/disk"), root + "/devices/virtual/block/sde/device");
    // An identity with blanks and lower case around it, and an empty product file.
    usbDisk(root, "pci0000:00/0000:00:14.0/usb3/3-1", "sdf", "  1d6b \n", "0104\t");
    usbDisk(root, "pci0000:00/0000:00:14.0/usb3/3-2", "sdg", "1d6b", "");
}

void TestBlockDeviceUsb::blockDevice_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("identity"); // "" when not found

    QTest::newRow("instrument's partition") << "/dev/sdb1" << "1D6B:0104";
    QTest::newRow("instrument's whole disk, by its device link") << "/dev/sdb" << "1D6B:0104";
    QTest::newRow("another maker's stick") << "/dev/sdc1" << "0781:5567";
    QTest::newRow("vendor file without product") << "/dev/sdd" << "";
    QTest::newRow("SATA partition") << "/dev/sda1" << "";
    QTest::newRow("loop device, up to the root") << "/dev/loop0" << "";
    QTest::newRow("entry linking out of the tree") << "/dev/away" << "";
    QTest::newRow("device link out of the tree") << "/dev/sde" << "";
    QTest::newRow("blanks around the IDs") << "/dev/sdf1" << "1D6B:0104";
    QTest::newRow("empty product file") << "/dev/sdg1" << "";
    QTest::newRow("name the tree does not hold") << "/dev/sdz1" << "";
    QTest::newRow("not below /dev") << "tavlosim" << "";
    QTest::newRow("bare name") << "sdb1" << "";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("nothing after /dev/") << "/dev/" << "";
    QTest::newRow("a folder below /dev") << "/dev/mapper/sdb1" << "";
    QTest::newRow("dot-dot") << "/dev/.." << "";
    QTest::newRow("dot") << "/dev/." << "";
    QTest::newRow("network share") << "server:/export" << "";
}

void TestBlockDeviceUsb::blockDevice()
{
    QFETCH(QString, device);
    QFETCH(QString, identity);
    const UsbIds ids = SysfsUsbDevice::ofBlockDevice(root, device);
    QCOMPARE(ids.found, !identity.isEmpty());
    QCOMPARE(ids.found ? ids.vendorId + ":" + ids.productId : QString(), identity);
}

void TestBlockDeviceUsb::instrumentIdentityMatches()
{
    // What the walk reports is what the volume rule and the MIDI ports compare against.
    QVERIFY(InstrumentUsbIdentity::matches(SysfsUsbDevice::ofBlockDevice(root, "/dev/sdb1")));
    QVERIFY(!InstrumentUsbIdentity::matches(SysfsUsbDevice::ofBlockDevice(root, "/dev/sdc1")));
    // A tree root that does not exist finds nothing.
    QVERIFY(!SysfsUsbDevice::ofBlockDevice(temp.filePath("nosys"), "/dev/sdb1").found);
}

QTEST_GUILESS_MAIN(TestBlockDeviceUsb)
#include "tst_block_device_usb.moc"
