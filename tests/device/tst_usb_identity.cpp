// The USB identity behind a MIDI port: the pure name and hardware-ID steps of the Windows
// lookup, its Qt adapter, and the Linux lookup through sysfs.
#include "LinuxUsbIdentityLookup.h"
#include "device/full/MidiHandler.h"
#include "UsbNameCases.h"
#include "UsbNameMatching.h"
#include "WindowsUsbIdentityLookup.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <limits>
#include <map>

class TestUsbIdentity : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void normalizedName_data();
    void normalizedName();
    void hardwareId_data();
    void hardwareId();
    void propertyBuffer_data();
    void propertyBuffer();
    void propertyBufferHugeSizes();
    void deviceMatch_data();
    void deviceMatch();
    void windowsAdapter();
    void linuxLookup_data();
    void linuxLookup();
    void linuxClientNumber_data();
    void linuxClientNumber();
};

void TestUsbIdentity::normalizedName_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    for (const auto& c : kNormalizeCases)
        QTest::newRow(c.label) << QString::fromStdWString(c.input) << QString::fromStdWString(c.expected);
}

void TestUsbIdentity::normalizedName()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromStdWString(UsbNameMatching::normalizedDeviceName(input.toStdWString())), expected);
    // The handler's form is the same function.
    QCOMPARE(MidiHandler::normalizedDeviceName(input), expected);
}

void TestUsbIdentity::hardwareId_data()
{
    QTest::addColumn<QString>("hardwareId");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("vendor");
    QTest::addColumn<QString>("product");
    for (const auto& c : kHardwareIdCases) {
        QTest::newRow(c.label) << QString::fromStdWString(c.hardwareId) << c.found
                               << QString::fromStdWString(c.vendor) << QString::fromStdWString(c.product);
    }
}

void TestUsbIdentity::hardwareId()
{
    QFETCH(QString, hardwareId);
    QFETCH(bool, found);
    QFETCH(QString, vendor);
    QFETCH(QString, product);
    const auto r = UsbNameMatching::splitHardwareId(hardwareId.toStdWString());
    QCOMPARE(r.found, found);
    QCOMPARE(QString::fromStdWString(r.vendorId), vendor);
    QCOMPARE(QString::fromStdWString(r.productId), product);
}

void TestUsbIdentity::propertyBuffer_data()
{
    QTest::addColumn<int>("units"); // text length without the terminating NUL
    QTest::addColumn<bool>("fits");
    QTest::newRow("short") << 10 << true;
    QTest::newRow("255 units and NUL fill 512 bytes") << 255 << true;
    QTest::newRow("256 units do not fit") << 256 << false;
    QTest::newRow("much longer") << 1000 << false;
}

void TestUsbIdentity::propertyBuffer()
{
    QFETCH(int, units);
    QFETCH(bool, fits);
    QCOMPARE(UsbNameMatching::fitsPropertyBuffer(static_cast<std::size_t>(units) + 1), fits);
}

void TestUsbIdentity::propertyBufferHugeSizes()
{
    // Sizes whose byte count does not fit a size_t never fit the buffer (they once wrapped
    // round to a small byte count).
    const std::size_t max = std::numeric_limits<std::size_t>::max();
    QVERIFY(!UsbNameMatching::fitsPropertyBuffer(max / 2 + 1));
    QVERIFY(!UsbNameMatching::fitsPropertyBuffer(max / 2 + 100));
    QVERIFY(!UsbNameMatching::fitsPropertyBuffer(max));
}

void TestUsbIdentity::deviceMatch_data()
{
    QTest::addColumn<QString>("portName");
    QTest::addColumn<bool>("hasFriendlyName");
    QTest::addColumn<QString>("friendlyName");
    QTest::addColumn<bool>("hasHardwareId");
    QTest::addColumn<QString>("hardwareId");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("vendor");

    const QString id = QStringLiteral("USB\\VID_1D6B&PID_0104&MI_01");
    QTest::newRow("port number suffix matches plain name")
        << "Tavlo MIDI 2" << true << "Tavlo MIDI" << true << id << true << "1D6B";
    QTest::newRow("friendly name case and spacing ignored")
        << "tavlo  midi 0" << true << " TAVLO MIDI " << true << id << true << "1D6B";
    QTest::newRow("friendly name ending in digits no longer matches its port")
        << "Tavlo MIDI 2 0" << true << "Tavlo MIDI 2" << true << id << false << "";
    QTest::newRow("other device") << "Tavlo MIDI 0" << true << "Other Synth" << true << id << false << "";
    QTest::newRow("friendly name unreadable (too long)")
        << "Tavlo MIDI 0" << false << "" << true << id << false << "";
    QTest::newRow("hardware ID unreadable") << "Tavlo MIDI 0" << true << "Tavlo MIDI" << false << "" << false << "";
    QTest::newRow("hardware ID without second part")
        << "Tavlo MIDI 0" << true << "Tavlo MIDI" << true << "ROOT" << false << "";
    QTest::newRow("lower-case vendor prefix: found without vendor")
        << "Tavlo MIDI 0" << true << "Tavlo MIDI" << true << "USB\\vid_1d6b&PID_0104" << true << "";
}

void TestUsbIdentity::deviceMatch()
{
    QFETCH(QString, portName);
    QFETCH(bool, hasFriendlyName);
    QFETCH(QString, friendlyName);
    QFETCH(bool, hasHardwareId);
    QFETCH(QString, hardwareId);
    QFETCH(bool, found);
    QFETCH(QString, vendor);

    UsbNameMatching::DeviceEntry entry;
    entry.hasFriendlyName = hasFriendlyName;
    entry.friendlyName = friendlyName.toStdWString();
    entry.hasHardwareId = hasHardwareId;
    entry.hardwareId = hardwareId.toStdWString();
    const auto r = UsbNameMatching::matchDevice(
        UsbNameMatching::normalizedDeviceName(portName.toStdWString()), entry);
    QCOMPARE(r.found, found);
    QCOMPARE(QString::fromStdWString(r.vendorId), vendor);
}

void TestUsbIdentity::windowsAdapter()
{
    std::wstring asked;
    WindowsUsbIdentityLookup lookup([&asked](const std::wstring& name) {
        asked = name;
        UsbNameMatching::Result r;
        r.found = true;
        r.vendorId = L"1D6B";
        r.productId = L"0104";
        return r;
    });
    const QString name = QStringLiteral("Tavlo \u00E9 MIDI 3");
    const UsbIds ids = lookup.lookUp(name);
    QCOMPARE(QString::fromStdWString(asked), name);
    QVERIFY(ids.found);
    QCOMPARE(ids.vendorId, QStringLiteral("1D6B"));
    QCOMPARE(ids.productId, QStringLiteral("0104"));

    WindowsUsbIdentityLookup notFound([](const std::wstring&) { return UsbNameMatching::Result{}; });
    QVERIFY(!notFound.lookUp(name).found);
    WindowsUsbIdentityLookup noWalk({});
    QVERIFY(!noWalk.lookUp(name).found);
}

namespace {

void writeFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

} // namespace

void TestUsbIdentity::linuxLookup_data()
{
    QTest::addColumn<QString>("portName");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("vendor");
    QTest::addColumn<QString>("product");
    QTest::newRow("USB card, lower-case IDs upper-cased")
        << "Tavlo:Tavlo MIDI 1 24:0" << true << "1D6B" << "0104";
    QTest::newRow("second port of the same client") << "Tavlo:Tavlo MIDI 2 24:1" << true << "1D6B" << "0104";
    QTest::newRow("virtual card without USB parent") << "Dummy:Dummy MIDI 25:0" << false << "" << "";
    QTest::newRow("card missing in sysfs") << "Gone:Gone 26:0" << false << "" << "";
    QTest::newRow("user-space client without card") << "Midi Through:Midi Through Port-0 14:0" << false << "" << "";
    QTest::newRow("IDs only above the sysfs root") << "Stray:Stray 27:0" << false << "" << "";
    QTest::newRow("no client suffix") << "Tavlo MIDI 1" << false << "" << "";
    QTest::newRow("unknown client") << "Who:Who 99:0" << false << "" << "";
}

void TestUsbIdentity::linuxLookup()
{
    QFETCH(QString, portName);
    QFETCH(bool, found);
    QFETCH(QString, vendor);
    QFETCH(QString, product);

    QTemporaryDir temp;
    QVERIFY(temp.isValid());
    // IDs in the directory above the sysfs root must never be picked up.
    writeFile(temp.filePath("idVendor"), "ffff\n");
    writeFile(temp.filePath("idProduct"), "ffff\n");
    const QString root = temp.filePath("sys");
    const QString usbDevice = root + "/devices/pci0000:00/0000:00:14.0/usb1/1-2";
    writeFile(usbDevice + "/idVendor", "1d6b\n");
    writeFile(usbDevice + "/idProduct", "0104\n");
    QDir().mkpath(usbDevice + "/1-2:1.1/sound/card1");
    QDir().mkpath(root + "/devices/platform/snd_dummy.0/sound/card2");
    QDir().mkpath(root + "/devices/virtual/stray");
    QDir().mkpath(root + "/class/sound/card1");
    QDir().mkpath(root + "/class/sound/card2");
    QDir().mkpath(root + "/class/sound/card4");
    QVERIFY(QFile::link("../../../devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.1",
                        root + "/class/sound/card1/device"));
    QVERIFY(QFile::link("../../../devices/platform/snd_dummy.0", root + "/class/sound/card2/device"));
    QVERIFY(QFile::link("../../../devices/virtual/stray", root + "/class/sound/card4/device"));

    const std::map<int, int> cards{{24, 1}, {25, 2}, {26, 3}, {14, -1}, {27, 4}};
    LinuxUsbIdentityLookup lookup(root, [&cards](int client) {
        const auto it = cards.find(client);
        return it == cards.end() ? -1 : it->second;
    });
    const UsbIds ids = lookup.lookUp(portName);
    QCOMPARE(ids.found, found);
    QCOMPARE(ids.vendorId, vendor);
    QCOMPARE(ids.productId, product);
}

void TestUsbIdentity::linuxClientNumber_data()
{
    QTest::addColumn<QString>("portName");
    QTest::addColumn<int>("client");
    QTest::newRow("usual") << "Tavlo:Tavlo MIDI 1 24:0" << 24;
    QTest::newRow("three digits") << "X:Y 128:3" << 128;
    QTest::newRow("no suffix") << "Tavlo MIDI 1" << -1;
    QTest::newRow("trailing space") << "Tavlo:Tavlo 24:0 " << -1;
    QTest::newRow("no space before client") << "Tavlo:Tavlo24:0" << -1;
}

void TestUsbIdentity::linuxClientNumber()
{
    QFETCH(QString, portName);
    QFETCH(int, client);
    QCOMPARE(LinuxUsbIdentityLookup::sequencerClientOf(portName), client);
}

QTEST_GUILESS_MAIN(TestUsbIdentity)
#include "tst_usb_identity.moc"
