// The macOS answer to "which USB device is behind this volume": system_profiler's property
// list read into disks and the device identities they belong to, on canned output, and the
// lookup that reads the list once per listing of the volumes.
#include <MacUsbMedia.h>
#include <MacVolumeUsb.h>
#include <ProcessRunner.h>

#include <QtTest>

namespace {

// A device dictionary; keys in the order system_profiler writes them (sorted, so "Media"
// comes before the identity).
QByteArray device(const QByteArray& name, const QByteArray& vendor, const QByteArray& product,
                  const QByteArray& inner)
{
    return "<dict><key>Media</key><array>" + inner + "</array><key>_name</key><string>" + name
        + "</string><key>product_id</key><string>" + product
        + "</string><key>vendor_id</key><string>" + vendor + "</string></dict>";
}

QByteArray media(const QByteArray& disk, const QByteArray& volumes)
{
    return "<dict><key>_name</key><string>File-Stor Gadget</string><key>bsd_name</key><string>"
        + disk + "</string><key>removable_media</key><string>yes</string>"
                 "<key>size_in_bytes</key><integer>67108864</integer><key>volumes</key><array>"
        + volumes + "</array></dict>";
}

QByteArray volume(const QByteArray& disk, const QByteArray& label)
{
    return "<dict><key>_name</key><string>" + label + "</string><key>bsd_name</key><string>" + disk
        + "</string><key>mount_point</key><string>/Volumes/" + label + "</string></dict>";
}

QByteArray hub(const QByteArray& devices)
{
    return "<dict><key>_items</key><array>" + devices
        + "</array><key>_name</key><string>USB2.0 Hub</string><key>product_id</key>"
          "<string>0x0610</string><key>vendor_id</key><string>0x05e3  (Genesys Logic, Inc.)"
          "</string></dict>";
}

QByteArray listing(const QByteArray& devices)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE plist PUBLIC \"-//Apple//DTD "
           "PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n<plist "
           "version=\"1.0\"><array><dict><key>_SPCommandLineArguments</key><array><string>"
           "/usr/sbin/system_profiler</string></array><key>_items</key><array><dict>"
           "<key>_items</key><array>"
        + devices + "</array><key>_name</key><string>USB31Bus</string></dict></array></dict>"
                    "</array></plist>\n";
}

const QByteArray kTavlo = device("Tavlo-Host", "0x1d6b  (Linux Foundation)", "0x0104",
                                 media("disk4", volume("disk4s1", "tavloupd")));
const QByteArray kStick = device("Flash Disk", "0x0951  (Kingston)", "0x1666",
                                 media("disk5", volume("disk5s1", "tavloupd")));

class CountingTools : public ProcessRunner
{
public:
    std::optional<Result> answer;
    int runs = 0;
    std::vector<std::string> lastCall;

    std::optional<Result> run(const std::string& program, const std::vector<std::string>& arguments) override
    {
        ++runs;
        lastCall = {program};
        lastCall.insert(lastCall.end(), arguments.begin(), arguments.end());
        return answer;
    }
};

} // namespace

class TestMacUsb : public QObject
{
    Q_OBJECT

private slots:
    void disksOf_data();
    void disksOf();
    void usbIdOf_data();
    void usbIdOf();
    void lookUpReadsTheListOncePerListing();
    void lookUpFindsNothingWithoutTheList_data();
    void lookUpFindsNothingWithoutTheList();
};

// Each disk as "name vendor:product", in the order listed.
void TestMacUsb::disksOf_data()
{
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<QStringList>("disks");

    const QStringList tavlo{"disk4 1D6B:0104", "disk4s1 1D6B:0104"};
    QTest::newRow("the instrument") << listing(kTavlo) << tavlo;
    QTest::newRow("the instrument and a stick with its label")
        << listing(kStick + kTavlo)
        << QStringList{"disk5 0951:1666", "disk5s1 0951:1666", "disk4 1D6B:0104", "disk4s1 1D6B:0104"};
    QTest::newRow("behind a hub: the hub's identity stays the hub's")
        << listing(hub(kTavlo)) << tavlo;
    QTest::newRow("identity before the media")
        << listing("<dict><key>vendor_id</key><string>0x1d6b</string><key>product_id</key>"
                   "<string>0x104</string><key>Media</key><array>"
                   + media("disk4", volume("disk4s1", "tavloupd")) + "</array></dict>")
        << tavlo;
    QTest::newRow("a device without a readable vendor")
        << listing(device("Keyboard", "apple_vendor_id", "0x0342", media("disk6", "")))
        << QStringList();
    QTest::newRow("a disk name that is no disk identifier is dropped")
        << listing(device("Tavlo-Host", "0x1d6b", "0x0104", media("../disk4", volume("disk4s1", "x"))))
        << QStringList{"disk4s1 1D6B:0104"};
    QTest::newRow("a disk on the bus, under no device") << listing(media("disk7", "")) << QStringList();
    QTest::newRow("cut off half-way") << listing(kTavlo).left(400) << QStringList();
    QTest::newRow("the text form, not the list")
        << QByteArray("USB:\n  Tavlo-Host:\n    Vendor ID: 0x1d6b\n    BSD Name: disk4\n") << QStringList();
    QTest::newRow("empty") << QByteArray() << QStringList();
    QTest::newRow("nested past any real bus")
        << listing(QByteArray("<array>").repeated(60) + kTavlo + QByteArray("</array>").repeated(60))
        << QStringList();
    QTest::newRow("nested as deep as a real bus of hubs")
        << listing(hub(hub(hub(hub(hub(kTavlo)))))) << tavlo;
}

void TestMacUsb::disksOf()
{
    QFETCH(QByteArray, output);
    QFETCH(QStringList, disks);
    QStringList found;
    for (const MacUsbMedia::Disk& disk : MacUsbMedia::disksOf(output.toStdString()))
        found << QString::fromStdString(disk.bsdName + ' ' + disk.vendorId + ':' + disk.productId);
    QCOMPARE(found, disks);
}

void TestMacUsb::usbIdOf_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("id");
    QTest::newRow("with the vendor's name") << "0x1d6b  (Linux Foundation)" << "1D6B";
    QTest::newRow("short") << "0x104" << "0104";
    QTest::newRow("upper-case prefix and blanks") << " 0X1D6B " << "1D6B";
    QTest::newRow("five digits") << "0x1d6b0" << "";
    QTest::newRow("no prefix") << "1d6b" << "";
    QTest::newRow("prefix alone") << "0x" << "";
    QTest::newRow("not hex") << "0xzz" << "";
    QTest::newRow("a letter after the digits") << "0x1d6bq" << "";
    QTest::newRow("a name") << "apple_vendor_id" << "";
}

void TestMacUsb::usbIdOf()
{
    QFETCH(QString, field);
    QFETCH(QString, id);
    QCOMPARE(QString::fromStdString(MacUsbMedia::usbIdOf(field.toStdString())), id);
}

void TestMacUsb::lookUpReadsTheListOncePerListing()
{
    auto tools = std::make_shared<CountingTools>();
    tools->answer = ProcessRunner::Result{0, listing(kStick + kTavlo).toStdString()};
    MacVolumeUsb usb(tools, 60000);

    const UsbIds own = usb.lookUp("/dev/disk4s1");
    QVERIFY(own.found);
    QCOMPARE(own.vendorId + ':' + own.productId, QStringLiteral("1D6B:0104"));
    const UsbIds stick = usb.lookUp("/dev/disk5s1");
    QCOMPARE(stick.vendorId + ':' + stick.productId, QStringLiteral("0951:1666"));
    QVERIFY(!usb.lookUp("/dev/disk1s1").found); // the built-in disk
    QCOMPARE(tools->runs, 1);
    QCOMPARE(tools->lastCall, (std::vector<std::string>{"system_profiler", "-xml", "SPUSBDataType"}));

    MacVolumeUsb everyTime(tools, 0);
    everyTime.lookUp("/dev/disk4s1");
    everyTime.lookUp("/dev/disk4s1");
    QCOMPARE(tools->runs, 3);
}

void TestMacUsb::lookUpFindsNothingWithoutTheList_data()
{
    QTest::addColumn<bool>("runs");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("device");
    QTest::addColumn<int>("toolRuns");
    QTest::newRow("the tool cannot run") << false << 0 << "/dev/disk4s1" << 1;
    QTest::newRow("the tool fails") << true << 1 << "/dev/disk4s1" << 1;
    QTest::newRow("not a disk device") << true << 0 << "map auto_home" << 0;
    QTest::newRow("a path past /dev") << true << 0 << "/dev/disk4s1/../x" << 0;
}

void TestMacUsb::lookUpFindsNothingWithoutTheList()
{
    QFETCH(bool, runs);
    QFETCH(int, exitCode);
    QFETCH(QString, device);
    QFETCH(int, toolRuns);
    auto tools = std::make_shared<CountingTools>();
    if (runs)
        tools->answer = ProcessRunner::Result{exitCode, listing(kTavlo).toStdString()};
    MacVolumeUsb usb(tools, 60000);
    QVERIFY(!usb.lookUp(device.toStdString()).found);
    QCOMPARE(tools->runs, toolRuns);
}

QTEST_GUILESS_MAIN(TestMacUsb)
#include "tst_mac_usb.moc"
