// The USB identity of a Windows disk from the instance IDs of its device and its parents, as
// the configuration manager gives them going up the device tree.
#include <UsbDeviceChain.h>

#include <QtTest>

#include <string>
#include <vector>

Q_DECLARE_METATYPE(std::vector<std::wstring>)

class TestUsbDeviceChain : public QObject
{
    Q_OBJECT

private slots:
    void chain_data();
    void chain();
};

void TestUsbDeviceChain::chain_data()
{
    using Chain = std::vector<std::wstring>;
    QTest::addColumn<Chain>("ids");
    QTest::addColumn<QString>("identity"); // "" when not found

    const std::wstring disk = L"USBSTOR\\DISK&VEN_TAVLO&PROD_STORAGE&REV_1.00\\7&2A4F&0";
    const std::wstring hub = L"USB\\ROOT_HUB30\\4&1B2C&0&0";
    const std::wstring pci = L"PCI\\VEN_8086&DEV_A36D&SUBSYS_00000000&REV_10\\3&11583659&0&A0";
    const std::wstring root = L"HTREE\\ROOT\\0";
    QTest::newRow("mass storage on the instrument")
        << Chain{disk, L"USB\\VID_1D6B&PID_0104\\0123456789", hub, pci, root} << "1D6B:0104";
    QTest::newRow("interface of a composite device first")
        << Chain{disk, L"USB\\VID_1D6B&PID_0104&MI_01\\6&3F&0&0001", L"USB\\VID_1D6B&PID_0104\\SN", hub}
        << "1D6B:0104";
    QTest::newRow("another maker's stick")
        << Chain{disk, L"USB\\VID_0781&PID_5567\\4C530001", hub, pci} << "0781:5567";
    QTest::newRow("prefix in lower case") << Chain{disk, L"usb\\VID_1D6B&PID_0104\\1"} << "1D6B:0104";
    QTest::newRow("hub without IDs before the device is passed")
        << Chain{disk, hub, L"USB\\VID_05E3&PID_0610\\5&1"} << "05E3:0610";
    QTest::newRow("SATA disk") << Chain{L"SCSI\\DISK&VEN_&PROD_SAMSUNG\\4&1", pci, root} << "";
    QTest::newRow("NVMe disk") << Chain{L"SCSI\\DISK&VEN_NVME&PROD_X\\5&2", L"PCI\\VEN_144D&DEV_A808\\4&1", root} << "";
    QTest::newRow("virtual disk") << Chain{L"STORAGE\\VOLUME\\{A}", L"ROOT\\VOLMGR\\0000", root} << "";
    QTest::newRow("no chain") << Chain{} << "";
    QTest::newRow("only the vendor") << Chain{disk, L"USB\\VID_1D6B\\1"} << "";
    QTest::newRow("empty product") << Chain{disk, L"USB\\VID_1D6B&PID_\\1"} << "";
    QTest::newRow("USB with nothing after it") << Chain{disk, L"USB\\"} << "";
    QTest::newRow("USBSTOR is not USB") << Chain{L"USBSTOR\\VID_1D6B&PID_0104\\1"} << "";
    QTest::newRow("vendor pieces in lower case are not read")
        << Chain{disk, L"USB\\vid_1d6b&pid_0104\\1"} << "";
}

void TestUsbDeviceChain::chain()
{
    QFETCH(std::vector<std::wstring>, ids);
    QFETCH(QString, identity);
    const UsbNameMatching::Result found = UsbDeviceChain::identityOf(ids);
    QCOMPARE(found.found, !identity.isEmpty());
    QCOMPARE(found.found ? QString::fromStdWString(found.vendorId + L":" + found.productId) : QString(),
             identity);
}

QTEST_GUILESS_MAIN(TestUsbDeviceChain)
#include "tst_usb_device_chain.moc"
