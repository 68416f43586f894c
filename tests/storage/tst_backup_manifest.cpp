// The backup's manifest as read back from the user's disk: a manifest that was changed to
// reach outside the backup, to name a file twice or to carry values no volume has is refused
// as a whole; one the program wrote reads back as it was.
#include <BackupManifest.h>

#include <QtTest>

namespace {

const QByteArray kHash(64, 'a');

QByteArray manifestWith(const QByteArray& filesJson, const QByteArray& head = QByteArray())
{
    const QByteArray start = head.isEmpty()
        ? QByteArray(R"("format": 1, "firmware": "1.5.2", "created": "2026-12-09T14:03:00.000Z")")
        : head;
    return "{" + start + R"(, "files": )" + filesJson + "}";
}

QByteArray fileJson(const QByteArray& path, const QByteArray& size = "10",
                    const QByteArray& hash = "\"" + kHash + "\"", const QByteArray& modified = "1000")
{
    return R"({"path": )" + path + R"(, "size": )" + size + R"(, "modified_ms": )" + modified
           + R"(, "sha256": )" + hash + "}";
}

} // namespace

class TestBackupManifest : public QObject
{
    Q_OBJECT

private slots:
    void safePath_data();
    void safePath();
    void hostile_data();
    void hostile();
    void roundTrip();
};

void TestBackupManifest::safePath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("safe");

    QTest::newRow("plain") << "projects/a.tvp" << true;
    QTest::newRow("blanks and letters beyond ASCII") << "projects/Live set 3/Überblick é.tvp" << true;
    QTest::newRow("dots inside a name") << "grooves/..swing..tvg" << true;
    QTest::newRow("parent") << "../x" << false;
    QTest::newRow("parent inside") << "projects/../../x" << false;
    QTest::newRow("parent at the end") << "projects/.." << false;
    QTest::newRow("absolute") << "/etc/passwd" << false;
    QTest::newRow("empty part") << "a//b" << false;
    QTest::newRow("trailing slash") << "a/" << false;
    QTest::newRow("current folder") << "a/./b" << false;
    QTest::newRow("current folder alone") << "." << false;
    QTest::newRow("drive letter") << "C:x" << false;
    QTest::newRow("stream") << "a.tvp:hidden" << false;
    QTest::newRow("backslash") << "a\\b" << false;
    QTest::newRow("backslash parent") << "..\\x" << false;
    QTest::newRow("NUL") << QString::fromUtf8("a\0b", 3) << false;
    QTest::newRow("line break") << "a\nb" << false;
    QTest::newRow("escape") << "a\x1b[31mb" << false;
    QTest::newRow("DEL") << "a\x7f" << false;
    QTest::newRow("C1 control") << QString::fromUtf16(u"a\u0085b") << false;
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + "x" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("longer than any file system") << QString(5000, 'a') << false;
}

void TestBackupManifest::safePath()
{
    QFETCH(QString, path);
    QFETCH(bool, safe);
    QCOMPARE(BackupManifest::isSafeRelativePath(path), safe);
}

void TestBackupManifest::hostile_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("whyContains"); // empty: the manifest reads

    const QByteArray ok = fileJson("\"projects/a.tvp\"");
    QTest::newRow("sound") << manifestWith("[" + ok + "]") << "";
    QTest::newRow("no files at all") << manifestWith("[]") << "";
    QTest::newRow("upper-case hash") << manifestWith("[" + fileJson("\"a\"", "1", "\"" + QByteArray(64, 'A') + "\"") + "]") << "";
    QTest::newRow("not JSON") << QByteArray("{\"format\": 1,") << "not JSON";
    QTest::newRow("an array") << QByteArray("[1, 2]") << "not a JSON object";
    QTest::newRow("empty") << QByteArray() << "not JSON";
    QTest::newRow("format 2") << manifestWith("[]", R"("format": 2, "firmware": "1", "created": "2026-12-09T14:03:00Z")") << "format 2";
    QTest::newRow("format as text") << manifestWith("[]", R"("format": "1", "firmware": "1", "created": "2026-12-09T14:03:00Z")") << "format";
    QTest::newRow("format 1.5") << manifestWith("[]", R"("format": 1.5, "firmware": "1", "created": "2026-12-09T14:03:00Z")") << "format";
    QTest::newRow("no format") << manifestWith("[]", R"("firmware": "1", "created": "2026-12-09T14:03:00Z")") << "format";
    QTest::newRow("firmware a number") << manifestWith("[]", R"("format": 1, "firmware": 152, "created": "2026-12-09T14:03:00Z")") << "firmware";
    QTest::newRow("firmware with a control") << manifestWith("[]", R"("format": 1, "firmware": "1\u001b[2J", "created": "2026-12-09T14:03:00Z")") << "firmware";
    QTest::newRow("time that does not read") << manifestWith("[]", R"("format": 1, "firmware": "1", "created": "yesterday")") << "creation time";
    QTest::newRow("files an object") << manifestWith("{}") << "list of files";
    QTest::newRow("file a string") << manifestWith("[\"projects/a.tvp\"]") << "file 1: not a JSON object";
    QTest::newRow("path a number") << manifestWith("[" + fileJson("5") + "]") << "no path";
    QTest::newRow("parent") << manifestWith("[" + fileJson("\"../x\"") + "]") << "outside";
    QTest::newRow("absolute") << manifestWith("[" + fileJson("\"/etc/passwd\"") + "]") << "outside";
    QTest::newRow("empty part") << manifestWith("[" + fileJson("\"a//b\"") + "]") << "outside";
    QTest::newRow("current folder") << manifestWith("[" + fileJson("\"a/./b\"") + "]") << "outside";
    QTest::newRow("drive") << manifestWith("[" + fileJson("\"C:x\"") + "]") << "outside";
    QTest::newRow("backslash") << manifestWith("[" + fileJson("\"a\\\\b\"") + "]") << "outside";
    QTest::newRow("NUL") << manifestWith("[" + fileJson("\"a\\u0000b\"") + "]") << "outside";
    QTest::newRow("control") << manifestWith("[" + fileJson("\"a\\u0007b\"") + "]") << "outside";
    QTest::newRow("repeated path, second bad")
        << manifestWith("[" + ok + ", " + fileJson("\"grooves/b\"") + ", " + ok + "]") << "file 3: the path is named twice";
    QTest::newRow("repeated in another letter case")
        << manifestWith("[" + ok + ", " + fileJson("\"Projects/A.TVP\"") + "]") << "named twice";
    QTest::newRow("negative size") << manifestWith("[" + fileJson("\"a\"", "-1") + "]") << "size";
    QTest::newRow("fractional size") << manifestWith("[" + fileJson("\"a\"", "1.5") + "]") << "size";
    QTest::newRow("size as text") << manifestWith("[" + fileJson("\"a\"", "\"10\"") + "]") << "size";
    QTest::newRow("huge size") << manifestWith("[" + fileJson("\"a\"", "1e300") + "]") << "size";
    QTest::newRow("size past exact numbers") << manifestWith("[" + fileJson("\"a\"", "9007199254740994") + "]") << "size";
    QTest::newRow("sizes that overflow when added")
        << manifestWith("[" + QByteArrayList({fileJson("\"a\"", "9007199254740992"), fileJson("\"b\"", "9007199254740992")}).join(',')
                        + [] {
                              QByteArray more;
                              for (int i = 0; i < 1100; ++i)
                                  more += "," + fileJson("\"c" + QByteArray::number(i) + "\"", "9007199254740992");
                              return more;
                          }() + "]")
        << "add up";
    QTest::newRow("huge time") << manifestWith("[" + fileJson("\"a\"", "1", "\"" + kHash + "\"", "1e40") + "]") << "modification";
    QTest::newRow("time missing") << manifestWith(R"([{"path": "a", "size": 1, "sha256": ")" + kHash + "\"}]") << "modification";
    QTest::newRow("short hash") << manifestWith("[" + fileJson("\"a\"", "1", "\"abc\"") + "]") << "SHA-256";
    QTest::newRow("hash not hex") << manifestWith("[" + fileJson("\"a\"", "1", "\"" + QByteArray(64, 'g') + "\"") + "]") << "SHA-256";
    QTest::newRow("hash a number") << manifestWith("[" + fileJson("\"a\"", "1", "7") + "]") << "SHA-256";
}

void TestBackupManifest::hostile()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, whyContains);

    QString why;
    const std::optional<BackupManifest> manifest = BackupManifest::parse(json, &why);
    if (whyContains.isEmpty()) {
        QVERIFY2(manifest.has_value(), qPrintable(why));
        for (const BackupManifest::Entry& entry : manifest->entries)
            QCOMPARE(entry.sha256, entry.sha256.toLower());
    } else {
        QVERIFY(!manifest.has_value());
        QVERIFY2(why.contains(whyContains), qPrintable(why));
    }
}

void TestBackupManifest::roundTrip()
{
    BackupManifest written;
    written.firmware = QStringLiteral("1.5.2-beta \"x\"");
    written.created = QDateTime(QDate(2026, 12, 9), QTime(14, 3, 7, 250), Qt::UTC);
    written.entries = {
        {QStringLiteral("projects/Live set 3/Überblick.tvp"), 123456789012LL, 1765289000123LL, QByteArray(64, 'f')},
        {QStringLiteral("MIDI_Clips/empty"), 0, -5000, QByteArray("e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855")},
    };
    const std::optional<BackupManifest> read = BackupManifest::parse(written.toJson());
    QVERIFY(read.has_value());
    QCOMPARE(read->firmware, written.firmware);
    QCOMPARE(read->created, written.created);
    QCOMPARE(read->entries, written.entries);
    QCOMPARE(read->totalBytes(), 123456789012LL);
    QVERIFY(read->find(QStringLiteral("MIDI_Clips/empty")));
    QVERIFY(!read->find(QStringLiteral("MIDI_Clips")));
}

QTEST_GUILESS_MAIN(TestBackupManifest)
#include "tst_backup_manifest.moc"
