// The backup's parts on their own: the folder's name from a time and whatever firmware text
// the instrument gave, two backups in one minute, the list of backups that skips what is
// unfinished or unreadable, and hard links that fall back to "cannot" across file systems.
#include <BackupFolderName.h>
#include <BackupList.h>
#include <BackupManifest.h>
#include <BackupWriter.h>
#include <HardLink.h>
#include <PlainReadableFiles.h>

#include <QTemporaryDir>
#include <QtTest>

namespace {

void writeFile(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(data);
}

QByteArray manifestJson(const QString& created, const QString& firmware, int files)
{
    BackupManifest manifest;
    manifest.created = QDateTime::fromString(created, Qt::ISODate);
    manifest.firmware = firmware;
    for (int i = 0; i < files; ++i)
        manifest.entries.append({QStringLiteral("projects/%1").arg(i), 10, 0, QByteArray(64, 'a')});
    return manifest.toJson();
}

} // namespace

class TestBackupParts : public QObject
{
    Q_OBJECT

private slots:
    void folderName_data();
    void folderName();
    void twoInOneMinute();
    void list_data();
    void list();
    void hardLink();
    void checkAfterCopying_data();
    void checkAfterCopying();
};

void TestBackupParts::folderName_data()
{
    QTest::addColumn<QString>("firmware");
    QTest::addColumn<QString>("name");

    const QString at = QStringLiteral("2026-12-09 14-03 firmware ");
    QTest::newRow("plain") << "1.5.2" << at + "1.5.2";
    QTest::newRow("with a build") << "1.5.2-beta+7" << at + "1.5.2-beta+7";
    QTest::newRow("separators") << "1/../5\\2:x" << at + "1_.._5_2_x";
    QTest::newRow("control characters") << "1.5\n\x1b" << at + "1.5__";
    QTest::newRow("dots and blanks at the ends") << " ..1.5.2. " << at + "1.5.2";
    QTest::newRow("only dots") << "..." << at + "unknown";
    QTest::newRow("empty") << "" << at + "unknown";
    QTest::newRow("letters beyond ASCII kept") << "1.5 Ü" << at + "1.5 Ü";
    QTest::newRow("too long") << QString(100, 'x') << at + QString(40, 'x');
}

void TestBackupParts::folderName()
{
    QFETCH(QString, firmware);
    QFETCH(QString, name);
    const QDateTime time(QDate(2026, 12, 9), QTime(14, 3, 59));
    QCOMPARE(BackupFolderName::forBackup(time, firmware), name);
}

void TestBackupParts::twoInOneMinute()
{
    QTemporaryDir volume;
    QTemporaryDir backups;
    writeFile(volume.path() + QStringLiteral("/projects/a.tvp"), "a");
    PlainReadableFiles files;
    BackupWriter writer(files, [](bool) { return BackupWriter::Stop::None; });
    const QDateTime time(QDate(2026, 12, 9), QTime(14, 3, 1));
    QStringList folders;
    for (int second : {1, 30, 59}) {
        const BackupWriter::Result result =
            writer.run({volume.path(), backups.path(), QStringLiteral("1.5.2"), time.addSecs(second - 1)});
        QVERIFY2(result.ok, qPrintable(result.why));
        folders << QFileInfo(result.folder).fileName();
    }
    const QString base = QStringLiteral("2026-12-09 14-03 firmware 1.5.2");
    QCOMPARE(folders, QStringList({base, base + " (2)", base + " (3)"}));
    // Newest first.
    const QList<BackupList::Item> listed = BackupList::read(backups.path());
    QCOMPARE(listed.size(), 3);
    QCOMPARE(listed.first().name, base + " (3)");
    QCOMPARE(listed.last().name, base);
}

void TestBackupParts::list_data()
{
    QTest::addColumn<QByteArray>("manifest"); // of the folder "b"; empty: none
    QTest::addColumn<QString>("folderName");
    QTest::addColumn<QStringList>("listed");

    const QByteArray sound = manifestJson("2026-12-09T10:00:00Z", "1.5.2", 2);
    QTest::newRow("sound") << sound << "b" << QStringList{"c", "b", "a"};
    QTest::newRow("unfinished") << sound << "b.partial" << QStringList{"c", "a"};
    QTest::newRow("no manifest") << QByteArray() << "b" << QStringList{"c", "a"};
    QTest::newRow("broken manifest") << QByteArray("{\"format\": 1,") << "b" << QStringList{"c", "a"};
    QTest::newRow("hostile manifest") << manifestJson("2026-12-09T10:00:00Z", "1", 1).replace("projects/0", "../0")
                                      << "b" << QStringList{"c", "a"};
    QTest::newRow("newer format") << QByteArray(sound).replace("\"format\": 1", "\"format\": 2") << "b"
                                  << QStringList{"c", "a"};
}

void TestBackupParts::list()
{
    QFETCH(QByteArray, manifest);
    QFETCH(QString, folderName);
    QFETCH(QStringList, listed);
    QTemporaryDir root;
    writeFile(root.path() + QStringLiteral("/a/manifest.json"), manifestJson("2026-12-08T10:00:00Z", "1.5.1", 1));
    writeFile(root.path() + QStringLiteral("/c/manifest.json"), manifestJson("2026-12-10T10:00:00Z", "1.5.3", 3));
    QVERIFY(QDir(root.path()).mkdir(folderName));
    if (!manifest.isEmpty())
        writeFile(root.path() + QLatin1Char('/') + folderName + QStringLiteral("/manifest.json"), manifest);
    writeFile(root.path() + QStringLiteral("/a file"), "not a folder");

    const QList<BackupList::Item> items = BackupList::read(root.path());
    QStringList names;
    for (const BackupList::Item& item : items)
        names << item.name;
    QCOMPARE(names, listed);
    QCOMPARE(items.first().firmware, QStringLiteral("1.5.3"));
    QCOMPARE(items.first().files, 3);
    QCOMPARE(items.first().bytes, 30);
    QCOMPARE(items.first().folder, QDir(root.path()).absoluteFilePath(QStringLiteral("c")));
    QCOMPARE(items.first().created, QDateTime(QDate(2026, 12, 10), QTime(10, 0), Qt::UTC));
}

void TestBackupParts::hardLink()
{
    QTemporaryDir dir;
    const QString existing = dir.path() + QStringLiteral("/a file");
    writeFile(existing, "bytes");
    QString why;
    QVERIFY2(HardLink::make(existing, dir.path() + QStringLiteral("/second name"), &why), qPrintable(why));
    QFile second(dir.path() + QStringLiteral("/second name"));
    QVERIFY(second.open(QIODevice::ReadOnly));
    QCOMPARE(second.readAll(), QByteArray("bytes"));
    // A name that is taken, and a file that is not there: false, with the system's words.
    QVERIFY(!HardLink::make(existing, dir.path() + QStringLiteral("/second name"), &why));
    QVERIFY(!why.isEmpty());
    why.clear();
    QVERIFY(!HardLink::make(dir.path() + QStringLiteral("/missing"), dir.path() + QStringLiteral("/third"), &why));
    QVERIFY(!why.isEmpty());
    // Another file system (/dev/shm is a tmpfs where there is one): cannot, not a crash.
    if (!QFileInfo(QStringLiteral("/dev/shm")).isWritable())
        QSKIP("no second file system to link across");
    QTemporaryDir other(QStringLiteral("/dev/shm/tavlo-link-XXXXXX"));
    QVERIFY(!HardLink::make(existing, other.path() + QStringLiteral("/across"), &why));
    QVERIFY(!QFileInfo::exists(other.path() + QStringLiteral("/across")));
}

void TestBackupParts::checkAfterCopying_data()
{
    QTest::addColumn<QByteArray>("copyBecomes"); // what the copy holds once the manifest is written
    QTest::addColumn<QString>("whyContains");

    QTest::newRow("one byte other") << QByteArray("abcX") << "differs from Tavlo's file";
    QTest::newRow("shorter") << QByteArray("abc") << "differs from Tavlo's file";
    QTest::newRow("gone") << QByteArray() << "could not read the copy";
}

// The copy changes on the backup's disk after it was written (as a failing disk would): the
// read-back finds it, and no folder is left.
void TestBackupParts::checkAfterCopying()
{
    QFETCH(QByteArray, copyBecomes);
    QFETCH(QString, whyContains);
    QTemporaryDir volume;
    QTemporaryDir backups;
    writeFile(volume.path() + QStringLiteral("/projects/a.tvp"), "abcd");
    PlainReadableFiles files;
    bool altered = false;
    BackupWriter writer(files, [&](bool) {
        // The manifest is written just before the read-back begins.
        const QStringList partial = QDir(backups.path()).entryList({QStringLiteral("*.partial")}, QDir::Dirs);
        if (!altered && partial.size() == 1 && QFileInfo::exists(backups.filePath(partial.first() + "/manifest.json"))) {
            altered = true;
            const QString copy = backups.filePath(partial.first() + "/projects/a.tvp");
            QFile::remove(copy);
            if (!copyBecomes.isEmpty())
                writeFile(copy, copyBecomes);
        }
        return BackupWriter::Stop::None;
    });
    const BackupWriter::Result result =
        writer.run({volume.path(), backups.path(), QStringLiteral("1.5.2"), QDateTime::currentDateTime()});
    QVERIFY(altered);
    QVERIFY(!result.ok);
    QVERIFY(!result.cancelled);
    QVERIFY2(result.why.contains(whyContains), qPrintable(result.why));
    QVERIFY2(result.why.contains(QLatin1String("projects/a.tvp")), qPrintable(result.why));
    QCOMPARE(QDir(backups.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

QTEST_GUILESS_MAIN(TestBackupParts)
#include "tst_backup_parts.moc"
