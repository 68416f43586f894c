// The real storage seams' pure parts, and what of them can run on any machine.
#include <DesktopFolderOpener.h>
#include <MacToolText.h>
#include <ProductionStorage.h>
#include <StorageInfoVolumeList.h>
#include <WindowsDevicePath.h>

#include <FolderOpener.h>
#include <VolumeDismounter.h>
#include <VolumeList.h>

#include <QDesktopServices>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <string>

#ifdef Q_OS_LINUX
#include <LinuxVolumeDismounter.h>
#endif

class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;
    QList<QThread*> threads;

public slots:
    void handle(const QUrl& url)
    {
        urls.append(url);
        threads.append(QThread::currentThread());
    }
};

class TestPlatform : public QObject
{
    Q_OBJECT

private slots:
    void devicePath_data();
    void devicePath();
    void ioregBsdName_data();
    void ioregBsdName();
    void diskutilListName_data();
    void diskutilListName();
    void trimmed_data();
    void trimmed();
    void toolOutputFields_data();
    void toolOutputFields();
#ifdef Q_OS_LINUX
    void udisksMountPoints_data();
    void udisksMountPoints();
    void storageInfoListsRoot();
    void linuxDismountOfPlainFolderFails();
#endif
    void desktopOpenerRunsOnMainThread();
};

void TestPlatform::devicePath_data()
{
    QTest::addColumn<QString>("root");
    QTest::addColumn<QString>("expected");

    QTest::newRow("E:/") << "E:/" << R"(\\.\E:)";
    QTest::newRow("F:/") << "F:/" << R"(\\.\F:)";
    QTest::newRow("backslash root") << R"(G:\)" << R"(\\.\G:)";
    QTest::newRow("bare drive") << "H:" << R"(\\.\H:)";
    QTest::newRow("lower-case letter") << "e:/" << R"(\\.\e:)";
    // Not drive roots: never turned into the device path of a whole drive.
    QTest::newRow("folder mount") << "C:/mnt/tavlo/" << "";
    QTest::newRow("folder mount, backslashes") << R"(C:\mnt\tavlo\)" << "";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("unix path") << "/media/tavloupd" << "";
    QTest::newRow("UNC share") << R"(\\server\share\)" << "";
    QTest::newRow("digit instead of letter") << "1:/" << "";
    QTest::newRow("doubled separator") << "E://" << "";
}

void TestPlatform::devicePath()
{
    QFETCH(QString, root);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromStdWString(WindowsDevicePath::fromRoot(root.toStdWString())), expected);
}

void TestPlatform::ioregBsdName_data()
{
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("expected");

    const QString sample = QStringLiteral(
        "    | |   \"USB Product Name\" = \"Tavlo-Host\"\n"
        "    | |   \"Removable\" = Yes\n"
        "    | |   \"BSD Name\" = \"disk4\"\n"
        "    | |   \"BSD Name\" = \"disk4s1\"\n");
    QTest::newRow("first of two") << sample << "disk4";
    QTest::newRow("no marker") << "\"USB Product Name\" = \"File-Stor Gadget\"\n" << "";
    QTest::newRow("empty output") << "" << "";
    QTest::newRow("no closing quote") << "\"BSD Name\" = \"disk5" << "";
    QTest::newRow("empty name") << "\"BSD Name\" = \"\"" << "";
    QTest::newRow("marker without blanks is not it") << "\"BSD Name\"=\"disk6\"" << "";
}

void TestPlatform::ioregBsdName()
{
    QFETCH(QString, output);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromStdString(MacToolText::bsdNameFromIoreg(output.toStdString())), expected);
}

void TestPlatform::diskutilListName_data()
{
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("expected");

    const QString list = QStringLiteral(
        "/dev/disk0 (internal, physical):\n"
        "   #:                       TYPE NAME                    SIZE       IDENTIFIER\n"
        "   0:      GUID_partition_scheme                        *500.3 GB   disk0\n"
        "/dev/disk4 (external, physical):\n"
        "   1:                 DOS_FAT_32 TAVLO                   7.9 GB     disk4s1\n");
    QTest::newRow("volume line") << list << "disk4s1";
    QTest::newRow("host name, tab after the disk")
        << "Tavlo-Host media\tdisk7\tmore\n" << "disk7";
    QTest::newRow("line end after the disk") << "  TAVLO 1 GB disk3s2" << "disk3s2";
    QTest::newRow("CR LF line end") << "  TAVLO 1 GB disk3s2\r\nnext\r\n" << "disk3s2";
    QTest::newRow("first matching line wins") << "TAVLO disk2\nTAVLO disk9\n" << "disk2";
    QTest::newRow("matching line without disk") << "TAVLO nothing here\nTAVLO disk9\n" << "";
    QTest::newRow("lower-case label is not it") << "tavlo disk3\n" << "";
    QTest::newRow("nothing") << "" << "";
}

void TestPlatform::diskutilListName()
{
    QFETCH(QString, output);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromStdString(MacToolText::diskNameFromDiskutilList(output.toStdString())), expected);
}

void TestPlatform::trimmed_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("line feed") << "Yes\n" << "Yes";
    QTest::newRow("all kinds") << " \t\r\nTAVLO UPD \r\n\t " << "TAVLO UPD";
    QTest::newRow("only blanks") << " \n\t\r " << "";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("inner blanks kept") << "a  b" << "a  b";
}

void TestPlatform::trimmed()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromStdString(MacToolText::trimmed(text.toStdString())), expected);
}

// What the discovery reads from the output of ioreg and "diskutil info": the instrument's
// part of ioreg, and the fields of the lines naming a key.
void TestPlatform::toolOutputFields_data()
{
    QTest::addColumn<QString>("function");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    const QString ioreg = "+-o Root\n  BSD Name a\n+-o Tavlo-Host\n  | one\n+-o Other\n";
    QTest::newRow("ioreg: the instrument's lines only") << "section" << ioreg << "+-o Tavlo-Host\n  | one\n+-o Other\n";
    QString far = "File-Stor Gadget\n";
    for (int i = 1; i <= 22; ++i)
        far += QString::number(i) + "\n";
    QString kept = "File-Stor Gadget\n";
    for (int i = 1; i <= 20; ++i)
        kept += QString::number(i) + "\n";
    QTest::newRow("ioreg: 20 lines after the marker") << "section" << far << kept;
    QTest::newRow("ioreg: a second marker extends it") << "section" << "Tavlo-Host\nTavlo-Host\nx" << "Tavlo-Host\nTavlo-Host\nx\n";
    QTest::newRow("ioreg: no marker") << "section" << "a\nb\n" << "";
    QTest::newRow("lines: each naming the key") << "lines" << "Mounted: Yes\nMount Point: /V\n  Mounted: No" << "Mounted: Yes|  Mounted: No";
    QTest::newRow("lines: none") << "lines" << "Device: disk4\n" << "";
    QTest::newRow("last field") << "last" << "   Mounted:   Yes  \t" << "Yes";
    QTest::newRow("last field of one word") << "last" << "Yes" << "Yes";
    QTest::newRow("last field of blanks") << "last" << " \t " << "";
    QTest::newRow("second colon field") << "colon" << "   Mounted: No" << " No";
    QTest::newRow("second colon field ends at a colon") << "colon" << "Volume Name: A:B" << " A";
    QTest::newRow("no colon") << "colon" << "Mounted" << "";
    QTest::newRow("after the last key") << "after" << "  Volume Name:   TAVLO UPD" << "TAVLO UPD";
    QTest::newRow("after the key twice") << "after" << "Volume Name: Volume Name: X" << "X";
    QTest::newRow("key missing: the whole line") << "after" << "Volume: X" << "Volume: X";
    QTest::newRow("nothing after the key") << "after" << "Volume Name:  " << "";
}

void TestPlatform::toolOutputFields()
{
    QFETCH(QString, function);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const std::string in = text.toStdString();
    std::string out;
    if (function == "section")
        out = MacToolText::instrumentSectionOfIoreg(in);
    else if (function == "lines") {
        std::vector<std::string> lines = MacToolText::linesContaining(in, "Mounted");
        for (std::size_t i = 0; i < lines.size(); ++i)
            out += (i ? "|" : "") + lines[i];
    } else if (function == "last")
        out = MacToolText::lastField(in);
    else if (function == "colon")
        out = MacToolText::secondColonField(in);
    else
        out = MacToolText::afterLast(in, "Volume Name:");
    QCOMPARE(QString::fromStdString(out), expected);
}

#ifdef Q_OS_LINUX
void TestPlatform::udisksMountPoints_data()
{
    QTest::addColumn<QList<QByteArray>>("points");
    QTest::addColumn<QString>("root");
    QTest::addColumn<bool>("expected");

    const QByteArray media("/media/user/tavloupd\0", 21);
    QTest::newRow("NUL-terminated") << QList<QByteArray>{media} << "/media/user/tavloupd" << true;
    QTest::newRow("root with trailing slash") << QList<QByteArray>{media} << "/media/user/tavloupd/" << true;
    QTest::newRow("second point") << QList<QByteArray>{QByteArray("/mnt/a\0", 7), media} << "/media/user/tavloupd" << true;
    QTest::newRow("prefix only") << QList<QByteArray>{media} << "/media/user/tavlo" << false;
    QTest::newRow("not mounted") << QList<QByteArray>{} << "/media/user/tavloupd" << false;
    QTest::newRow("empty root") << QList<QByteArray>{QByteArray("\0", 1)} << "" << false;
}

void TestPlatform::udisksMountPoints()
{
    QFETCH(QList<QByteArray>, points);
    QFETCH(QString, root);
    QFETCH(bool, expected);
    QCOMPARE(LinuxVolumeDismounter::mountPointsContain(points, root), expected);
}

void TestPlatform::storageInfoListsRoot()
{
    const QList<VolumeInfo> volumes = createProductionVolumeList()->mountedVolumes();
    bool sawRoot = false;
    for (const VolumeInfo& v : volumes) {
        if (v.rootPath == "/") {
            sawRoot = true;
            QVERIFY(v.valid);
            QVERIFY(v.ready);
        }
    }
    QVERIFY(sawRoot);
}

void TestPlatform::linuxDismountOfPlainFolderFails()
{
    // A folder that is no mount point cannot be dismounted; nothing must claim success.
    QTemporaryDir dir;
    QVERIFY(!createProductionVolumeDismounter(2, 1)->dismount(dir.path()));
    QVERIFY(!createProductionVolumeDismounter(2, 1)->dismount(dir.filePath("missing")));
    QVERIFY(!createProductionVolumeDismounter(2, 1)->dismount(QString()));
    QVERIFY(QFileInfo(dir.path()).isDir());
}
#endif

void TestPlatform::desktopOpenerRunsOnMainThread()
{
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("file", &catcher, "handle");
    std::shared_ptr<FolderOpener> opener = createProductionFolderOpener();
    QTemporaryDir dir;
    const QUrl url = QUrl::fromLocalFile(dir.path());

    QThread worker;
    worker.start();
    QObject context;
    context.moveToThread(&worker);
    bool requested = false;
    QMetaObject::invokeMethod(&context, [&] { requested = opener->openFolder(url); },
                              Qt::BlockingQueuedConnection);
    QVERIFY(requested);
    QTRY_COMPARE(catcher.urls, QList<QUrl>{url});
    QCOMPARE(catcher.threads.constFirst(), QThread::currentThread());
    worker.quit();
    worker.wait();
    QDesktopServices::unsetUrlHandler("file");
}

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
