// The text handling of the update-only edition's macOS volume discovery: the disk name in
// "system_profiler SPUSBDataType" output.
#include "MacToolText.h"

#include <QTest>

class TestMacText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void diskIdentifier_data();
    void diskIdentifier();
    void diskName_data();
    void diskName();
};

namespace {
const char* const kListing =
    "USB:\n\n    USB 3.1 Bus:\n\n      Host Controller Driver: AppleT8112USBXHCI\n\n"
    "        Tavlo-Host:\n\n          Product ID: 0x0104\n          Vendor ID: 0x1d6b\n\n"
    "          File-Stor Gadget:\n\n            Capacity: 2 GB\n            Removable Media: Yes\n"
    "            BSD Name: disk4\n            Partition Map Type: Unknown\n";
} // namespace

void TestMacText::diskIdentifier_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("valid");
    QTest::newRow("whole disk") << "disk4" << true;
    QTest::newRow("slice") << "disk4s1" << true;
    QTest::newRow("many digits") << "disk12s10" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("prefix only") << "disk" << false;
    QTest::newRow("no digits before s") << "disks1" << false;
    QTest::newRow("s without digits") << "disk4s" << false;
    QTest::newRow("two slices") << "disk4s1s2" << false;
    QTest::newRow("command after") << "disk4s1$(reboot)" << false;
    QTest::newRow("semicolon") << "disk4;reboot" << false;
    QTest::newRow("blank after") << "disk4 " << false;
    QTest::newRow("line feed after") << "disk4\n" << false;
    QTest::newRow("path") << "/dev/disk4" << false;
    QTest::newRow("upper case") << "DISK4" << false;
    QTest::newRow("other letter") << "disk4p1" << false;
}

void TestMacText::diskIdentifier()
{
    QFETCH(QString, name);
    QFETCH(bool, valid);
    QCOMPARE(MacToolText::isDiskIdentifier(name.toStdString()), valid);
}

void TestMacText::diskName_data()
{
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray listing(kListing);
    QTest::newRow("instrument's disk") << listing << QByteArray("disk4");
    QTest::newRow("no instrument") << QByteArray(listing).replace("Tavlo-Host", "Other-Host") << QByteArray();
    QTest::newRow("no storage gadget") << QByteArray(listing).replace("File-Stor Gadget", "Audio") << QByteArray();
    QTest::newRow("no disk name") << QByteArray(listing).replace("BSD Name: disk4", "BSD Name:disk4") << QByteArray();
    QTest::newRow("name at the very end") << QByteArray("Tavlo-Host File-Stor Gadget BSD Name: disk7s1") << QByteArray("disk7s1");
    QTest::newRow("first of two names") << QByteArray(listing) + "BSD Name: disk9\n" << QByteArray("disk4");
    QTest::newRow("line ending CR LF") << QByteArray(listing).replace("disk4\n", "disk4\r\n") << QByteArray("disk4");
    QTest::newRow("empty name") << QByteArray(listing).replace("disk4", "") << QByteArray();
    // The name is put into shell commands: anything but a plain disk name is refused.
    QTest::newRow("shell command in the name") << QByteArray(listing).replace("disk4", "disk4; rm -rf ~") << QByteArray();
    QTest::newRow("quote in the name") << QByteArray(listing).replace("disk4", "disk4'") << QByteArray();
    QTest::newRow("markers in any order") << QByteArray("BSD Name: disk2\nFile-Stor Gadget\nTavlo-Host\n") << QByteArray("disk2");
    QTest::newRow("empty output") << QByteArray() << QByteArray();
}

void TestMacText::diskName()
{
    QFETCH(QByteArray, output);
    QFETCH(QByteArray, expected);
    QCOMPARE(QByteArray::fromStdString(MacToolText::diskNameFromSystemProfiler(output.toStdString())),
             expected);
}

QTEST_GUILESS_MAIN(TestMacText)
#include "tst_updater_mac_text.moc"
