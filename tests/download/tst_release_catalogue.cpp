// The release catalogue parser on canned catalogues: what makes a catalogue unusable, and
// how each entry's fields are read.
#include <QTest>

#include "ReleaseCatalogue.h"

namespace {

ReleaseEntry entry(const QString& fileName, const QString& version,
                   const QString& totalFileSize = QString())
{
    ReleaseEntry e;
    e.fileName = fileName;
    e.version = version;
    e.totalFileSize = totalFileSize;
    return e;
}

}  // namespace

Q_DECLARE_METATYPE(ReleaseEntry)

class TestReleaseCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void unusable_data();
    void unusable();
    void fields_data();
    void fields();
    void allFieldsOfAnEntry();
    void checksumAndSize_data();
    void checksumAndSize();
    void catalogueOrderKeptAndDuplicatesKept();
    void elementsThatAreNotObjectsCountAsEmptyEntries();
    void largeCatalogue();
};

void TestReleaseCatalogue::unusable_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("problem");  // how the reason starts

    QTest::newRow("no bytes") << QByteArray() << "not JSON";
    QTest::newRow("HTML page") << QByteArray("<html>maintenance</html>") << "not JSON";
    QTest::newRow("cut off") << QByteArray(R"([{"file_name":"a.tvq","vers)") << "not JSON";
    QTest::newRow("garbage after the array") << QByteArray("[] x") << "not JSON";
    QTest::newRow("non-UTF-8 bytes in a text")
        << QByteArray("[{\"file_name\":\"a\xff\xfe.tvq\",\"version\":\"1.6.0\"}]") << "not JSON";
    // A number beyond the range of a double makes the whole document invalid.
    QTest::newRow("number out of range")
        << QByteArray(R"([{"file_name":"a.tvq","total_file_size":1e400}])") << "not JSON";
    QTest::newRow("object holding an array")
        << QByteArray(R"({"releases":[{"file_name":"a.tvq","version":"1.6.0"}]})")
        << "not an array";
    QTest::newRow("empty object") << QByteArray("{}") << "not an array";
    QTest::newRow("empty array") << QByteArray("[]") << "empty";
    QTest::newRow("empty array after a byte order mark") << QByteArray("\xef\xbb\xbf[ ]")
                                                         << "empty";
}

void TestReleaseCatalogue::unusable()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, problem);

    const ReleaseCatalogue catalogue = ReleaseCatalogue::parse(bytes);
    QVERIFY(!catalogue.isUsable());
    QVERIFY(catalogue.entries().isEmpty());
    QVERIFY2(catalogue.problem().startsWith(problem), qPrintable(catalogue.problem()));
}

void TestReleaseCatalogue::fields_data()
{
    QTest::addColumn<QByteArray>("object");
    QTest::addColumn<ReleaseEntry>("expected");

    QTest::newRow("unknown fields ignored")
        << QByteArray(R"({"file_name":"a.tvq","sha256":"00ff","mirrors":["x"],)"
                      R"("notes":{"en":"Fixes"},"version":"1.6.0","total_file_size":"10"})")
        << [] {
               ReleaseEntry e = entry("a.tvq", "1.6.0", "10");
               e.checksumUnreadable = true; // "00ff" is no digest
               return e;
           }();
    QTest::newRow("missing fields are empty") << QByteArray(R"({"version":"2.0.0"})")
                                              << entry(QString(), "2.0.0");
    QTest::newRow("numbers are not texts")
        << QByteArray(R"({"file_name":"n.tvq","version":1.6,"total_file_size":5})")
        << entry("n.tvq", QString());
    QTest::newRow("other types are not texts")
        << QByteArray(R"({"file_name":["a.tvq"],"version":true,"total_file_size":null,)"
                      R"("uuid":{"v":"1"}})")
        << entry(QString(), QString());
    QTest::newRow("huge size kept as written")
        << QByteArray(R"({"file_name":"a.tvq","total_file_size":"123456789012345678901234567890"})")
        << entry("a.tvq", QString(), "123456789012345678901234567890");
    QTest::newRow("huge number size is empty")
        << QByteArray(R"({"file_name":"a.tvq","total_file_size":123456789012345678901234567890})")
        << entry("a.tvq", QString());
    QTest::newRow("escapes decoded")
        << QByteArray(R"({"file_name":"M\u00fcnchen \"1\".tvq","version":"1.6.0"})")
        << entry(QStringLiteral("M\u00fcnchen \"1\".tvq"), "1.6.0");
    QTest::newRow("blank and URL characters kept")
        << QByteArray(R"({"file_name":"Tavlo Update 1.6?x#y%41.tvq","version":"1.6.0"})")
        << entry("Tavlo Update 1.6?x#y%41.tvq", "1.6.0");
    QTest::newRow("escaped control character kept for the name check")
        << QByteArray(R"({"file_name":"a\u0000b\n.tvq"})")
        << entry(QStringLiteral("a") + QChar(0) + QStringLiteral("b\n.tvq"), QString());
    QTest::newRow("repeated key: the last one counts")
        << QByteArray(R"({"file_name":"a.tvq","version":"1.0.0","version":"2.0.0"})")
        << entry("a.tvq", "2.0.0");
}

void TestReleaseCatalogue::fields()
{
    QFETCH(QByteArray, object);
    QFETCH(ReleaseEntry, expected);

    const ReleaseCatalogue catalogue = ReleaseCatalogue::parse("[" + object + "]");
    QVERIFY2(catalogue.isUsable(), qPrintable(catalogue.problem()));
    QVERIFY(catalogue.problem().isEmpty());
    QCOMPARE(catalogue.entries().size(), 1);
    const ReleaseEntry got = catalogue.entries().first();
    QCOMPARE(got.fileName, expected.fileName);
    QCOMPARE(got.version, expected.version);
    QCOMPARE(got.totalFileSize, expected.totalFileSize);
    QCOMPARE(got.releaseDate, expected.releaseDate);
    QCOMPARE(got.codeName, expected.codeName);
    QCOMPARE(got.uuid, expected.uuid);
}

void TestReleaseCatalogue::checksumAndSize_data()
{
    QTest::addColumn<QByteArray>("fields");
    QTest::addColumn<QString>("sha256");   // as kept: lower case, or empty
    QTest::addColumn<qint64>("size");      // the expected size, -1: unknown
    QTest::addColumn<bool>("unreadable");  // a checksum given that is none

    const QString digest(64, QLatin1Char('a'));
    QTest::newRow("both given") << QByteArray(R"("sha256":")" + digest.toLatin1()
                                              + R"(","total_file_size":"1234")")
                                << digest << qint64(1234) << false;
    QTest::newRow("upper case digest kept in lower case")
        << QByteArray(R"("sha256":"AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA")")
        << digest << qint64(-1) << false;
    QTest::newRow("digest too short") << QByteArray(R"("sha256":"00ff")") << QString() << qint64(-1) << true;
    QTest::newRow("digest with a non-hex digit")
        << QByteArray(R"("sha256":"g)" + QByteArray(63, 'a') + R"(")") << QString() << qint64(-1) << true;
    QTest::newRow("digest as a number") << QByteArray(R"("sha256":12)") << QString() << qint64(-1) << true;
    QTest::newRow("digest with a prefix")
        << QByteArray(R"("sha256":"sha256:)" + QByteArray(64, '0') + R"(")") << QString() << qint64(-1) << true;
    QTest::newRow("digest with blanks around it") << QByteArray(R"("sha256":"  )" + digest.toLatin1() + R"( ")")
                                                  << digest << qint64(-1) << false;
    QTest::newRow("digest empty: none given") << QByteArray(R"("sha256":"")") << QString() << qint64(-1) << false;
    QTest::newRow("digest null: none given") << QByteArray(R"("sha256":null)") << QString() << qint64(-1) << false;
    QTest::newRow("size zero") << QByteArray(R"("total_file_size":"0")") << QString() << qint64(-1) << false;
    QTest::newRow("negative size") << QByteArray(R"("total_file_size":"-5")") << QString() << qint64(-1) << false;
    QTest::newRow("size with a sign") << QByteArray(R"("total_file_size":"+5")") << QString() << qint64(-1) << false;
    QTest::newRow("size with blanks") << QByteArray(R"("total_file_size":" 5")") << QString() << qint64(-1) << false;
    QTest::newRow("size in exponent form") << QByteArray(R"("total_file_size":"1e3")") << QString()
                                           << qint64(-1) << false;
    QTest::newRow("size beyond 64 bits") << QByteArray(R"("total_file_size":"123456789012345678901234567890")")
                                         << QString() << qint64(-1) << false;
    QTest::newRow("size with leading zeros") << QByteArray(R"("total_file_size":"007")") << QString()
                                             << qint64(7) << false;
    QTest::newRow("size of eighteen digits, the most kept")
        << QByteArray(R"("total_file_size":"999999999999999999")") << QString()
        << qint64(999999999999999999) << false;
    QTest::newRow("size of nineteen digits") << QByteArray(R"("total_file_size":"1000000000000000000")")
                                             << QString() << qint64(-1) << false;
    QTest::newRow("size with leading zeros to eighteen digits")
        << QByteArray(R"("total_file_size":"000000000000000042")") << QString() << qint64(42) << false;
    QTest::newRow("size of zeros only") << QByteArray(R"("total_file_size":"000")") << QString()
                                        << qint64(-1) << false;
    QTest::newRow("size with a digit beyond ASCII") << QByteArray(R"("total_file_size":"4\u0662")")
                                                    << QString() << qint64(-1) << false;
}

void TestReleaseCatalogue::checksumAndSize()
{
    QFETCH(QByteArray, fields);
    QFETCH(QString, sha256);
    QFETCH(qint64, size);
    QFETCH(bool, unreadable);

    const ReleaseCatalogue catalogue =
        ReleaseCatalogue::parse(R"([{"file_name":"a.tvq","version":"1.6.0",)" + fields + "}]");
    QVERIFY2(catalogue.isUsable(), qPrintable(catalogue.problem()));
    const ReleaseEntry got = catalogue.entries().first();
    QCOMPARE(got.sha256, sha256);
    QCOMPARE(got.hasChecksum(), !sha256.isEmpty());
    QCOMPARE(got.expectedSize(), size);
    QCOMPARE(got.checksumUnreadable, unreadable);
}

void TestReleaseCatalogue::allFieldsOfAnEntry()
{
    const ReleaseCatalogue catalogue = ReleaseCatalogue::parse(
        R"([{"file_name":"tavlo_1_6_0.tvq","version":"1.6.0","total_file_size":"1234",)"
        R"("release_date":"2026-11-02","code_name":"Birch","uuid":"u-1"}])");
    QCOMPARE(catalogue.entries().size(), 1);
    const ReleaseEntry got = catalogue.entries().first();
    QCOMPARE(got.fileName, QStringLiteral("tavlo_1_6_0.tvq"));
    QCOMPARE(got.version, QStringLiteral("1.6.0"));
    QCOMPARE(got.totalFileSize, QStringLiteral("1234"));
    QCOMPARE(got.releaseDate, QStringLiteral("2026-11-02"));
    QCOMPARE(got.codeName, QStringLiteral("Birch"));
    QCOMPARE(got.uuid, QStringLiteral("u-1"));
}

void TestReleaseCatalogue::catalogueOrderKeptAndDuplicatesKept()
{
    // No sorting by version: the server's order decides which entry is the last one.
    const ReleaseCatalogue catalogue = ReleaseCatalogue::parse(
        R"([{"file_name":"b.tvq","version":"1.6.0"},{"file_name":"a.tvq","version":"1.4.0"},)"
        R"({"file_name":"b.tvq","version":"1.6.0"},{"file_name":"c.tvq","version":"0.9.0"}])");
    const QList<ReleaseEntry> expected{entry("b.tvq", "1.6.0"), entry("a.tvq", "1.4.0"),
                                       entry("b.tvq", "1.6.0"), entry("c.tvq", "0.9.0")};
    QVERIFY(catalogue.entries() == expected);
}

void TestReleaseCatalogue::elementsThatAreNotObjectsCountAsEmptyEntries()
{
    const ReleaseCatalogue catalogue =
        ReleaseCatalogue::parse(R"([ "tavlo.tvq", 7, null, [], {"version":"1.6.0"} ])");
    QVERIFY(catalogue.isUsable());
    QCOMPARE(catalogue.entries().size(), 5);
    for (int i = 0; i < 4; ++i)
        QVERIFY(catalogue.entries().at(i) == ReleaseEntry());
    QVERIFY(catalogue.entries().at(4) == entry(QString(), "1.6.0"));
}

void TestReleaseCatalogue::largeCatalogue()
{
    QByteArray json = "[";
    for (int i = 0; i < 5000; ++i) {
        if (i > 0)
            json += ',';
        json += R"({"file_name":"f)" + QByteArray::number(i) + R"(.tvq","version":"1.)"
                + QByteArray::number(i) + R"(.0"})";
    }
    json += "]";
    const QList<ReleaseEntry> entries = ReleaseCatalogue::parse(json).entries();
    QCOMPARE(entries.size(), 5000);
    QCOMPARE(entries.first().fileName, QStringLiteral("f0.tvq"));
    QCOMPARE(entries.at(2500).version, QStringLiteral("1.2500.0"));
    QCOMPARE(entries.last().fileName, QStringLiteral("f4999.tvq"));
}

QTEST_APPLESS_MAIN(TestReleaseCatalogue)
#include "tst_release_catalogue.moc"
