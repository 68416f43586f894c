// The one-pass catalogue scanner on tricky input, held to the JSON document reading: for
// every catalogue the parser's result (entries and reason) is the document reading's, and
// the scanner takes exactly the catalogues it is meant to take, with the fields read right.
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>

#include "CatalogueScanner.h"
#include "ReleaseCatalogue.h"

namespace {

// A catalogue of one entry with these members.
QByteArray one(const QByteArray& members)
{
    return "[{" + members + "}]";
}

QString entryField(const ReleaseEntry& entry, const QString& name)
{
    if (name == QLatin1String("file_name"))
        return entry.fileName;
    if (name == QLatin1String("version"))
        return entry.version;
    if (name == QLatin1String("total_file_size"))
        return entry.totalFileSize;
    if (name == QLatin1String("release_date"))
        return entry.releaseDate;
    if (name == QLatin1String("code_name"))
        return entry.codeName;
    if (name == QLatin1String("uuid"))
        return entry.uuid;
    if (name == QLatin1String("sha256"))
        return entry.sha256;
    return entry.releaseNotes;
}

// The parser's result is the document reading's, whatever the scanner did.
void compareWithDocumentReading(const QByteArray& bytes)
{
    const ReleaseCatalogue parsed = ReleaseCatalogue::parse(bytes);
    const ReleaseCatalogue reference = ReleaseCatalogue::parseDocument(bytes);
    QCOMPARE(parsed.problem(), reference.problem());
    QCOMPARE(parsed.entries().size(), reference.entries().size());
    QVERIFY(parsed.entries() == reference.entries());
}

// A catalogue with a bit of everything, chosen by the generator: escapes, characters beyond
// ASCII, unknown fields holding nested values, numbers and words, repeated keys, blanks.
QByteArray mixedCatalogue(QRandomGenerator& random, int count)
{
    static const char* const pieces[] = {
        R"("a\"b\\c\/d")", R"("\u00fc\u20AC\ud83c\udfb8")", "\"M\xc3\xbcnchen \xf0\x9f\x8e\xb8\"",
        R"("line\nbreak\ttab")", R"("\ud800 lone")", R"("plain-1.6.0.tvq")", R"("")",
        "\"tab\tinside\"", "\"\\q\\'\""};
    static const char* const values[] = {
        "0", "-0.5e-3", "1E+2", "123456789012345678901234567890", "true", "false", "null",
        "[]", "{}", R"([1,{"version":"9.9.9"},[null]])", R"({"a":{"b":["c"]}})"};
    static const char* const keys[] = {"file_name", "version", "total_file_size", "release_date",
                                       "code_name", "uuid", "sha256", "release_notes",
                                       "mirrors", "versio\\u006e", "v\xc3\xa9rsion", ""};
    static const char* const blanks[] = {"", " ", "\n", " \t\r\n "};
    const auto pick = [&random](const auto& list) {
        return list[random.bounded(int(sizeof(list) / sizeof(list[0])))];
    };
    QByteArray json = "[";
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            json += QByteArray(pick(blanks)) + ',' + pick(blanks);
        if (random.bounded(10) == 0) {
            json += pick(values);
            continue;
        }
        json += '{';
        const int members = random.bounded(9);
        for (int m = 0; m < members; ++m) {
            if (m > 0)
                json += ',';
            json += QByteArray(pick(blanks)) + '"' + pick(keys) + '"' + pick(blanks) + ':'
                    + pick(blanks);
            if (random.bounded(3) == 0)
                json += pick(values);
            else if (random.bounded(4) == 0)
                json += '"' + QByteArray(64, "0aF"[random.bounded(3)]) + '"';
            else
                json += pick(pieces);
        }
        json += QByteArray(pick(blanks)) + '}';
    }
    return json + "]";
}

} // namespace

class CatalogueScannerTest : public QObject
{
    Q_OBJECT

private slots:
    void fields_data();
    void fields();
    void declined_data();
    void declined();
    void everyCutOfACatalogueIsNotJson();
    void specialBytesAtEveryPlace();
    void mixedCataloguesAgreeWithTheDocumentReading();
    void cannedCataloguesAgreeWithTheDocumentReading();
    void expectedSize_data();
    void expectedSize();
};

void CatalogueScannerTest::fields_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("field");  // the field of the first entry looked at
    QTest::addColumn<QString>("value");

    const QString digest(64, QLatin1Char('a'));
    QTest::newRow("simple escapes")
        << one(R"("file_name":"a\"b\\c\/d\b\f\n\r\t.tvq")") << "file_name"
        << QStringLiteral("a\"b\\c/d\b\f\n\r\t.tvq");
    QTest::newRow("\\u escapes, either case")
        << one(R"("code_name":"\u00fc\u00FC\u20ac")") << "code_name" << QStringLiteral("üü€");
    QTest::newRow("surrogate pair escaped")
        << one(R"("code_name":"\ud83c\udfb8!")") << "code_name"
        << QString::fromUcs4(U"\U0001F3B8!");
    QTest::newRow("lone high surrogate kept")
        << one(R"("code_name":"a\ud83cb")") << "code_name"
        << (QStringLiteral("a") + QChar(0xd83c) + QStringLiteral("b"));
    QTest::newRow("lone low surrogate kept")
        << one(R"("code_name":"\udfb8")") << "code_name" << QString(QChar(0xdfb8));
    QTest::newRow("escaped NUL kept")
        << one(R"("code_name":"a\u0000b")") << "code_name"
        << (QStringLiteral("a") + QChar(0) + QStringLiteral("b"));
    QTest::newRow("other escaped ASCII stands for itself")
        << one("\"code_name\":\"\\q\\'\\a\"") << "code_name" << QStringLiteral("q'a");
    QTest::newRow("UTF-8 of two, three and four bytes")
        << one("\"code_name\":\"M\xc3\xbcnch\xe2\x82\xac\xf0\x9f\x8e\xb8\"") << "code_name"
        << QString::fromUcs4(U"Münch€\U0001F3B8");
    QTest::newRow("UTF-8 and escapes in one text")
        << one("\"code_name\":\"\xc3\xbc\\n\xf0\x9f\x8e\xb8\"") << "code_name"
        << QString::fromUcs4(U"ü\n\U0001F3B8");
    // As the document reading has it: a byte order mark that starts a text without escapes
    // is dropped, one in a text with escapes is kept.
    QTest::newRow("byte order mark starting a plain text dropped")
        << one("\"code_name\":\"\xef\xbb\xbf" "abc\"") << "code_name" << QStringLiteral("abc");
    QTest::newRow("byte order mark starting a text with escapes kept")
        << one("\"code_name\":\"\xef\xbb\xbf" "abc\\n\"") << "code_name"
        << (QChar(0xfeff) + QStringLiteral("abc\n"));
    QTest::newRow("byte order mark inside a plain text kept")
        << one("\"code_name\":\"x\xef\xbb\xbf\"") << "code_name" << (QStringLiteral("x") + QChar(0xfeff));
    QTest::newRow("raw control character taken as the document reading takes it")
        << one("\"code_name\":\"a\tb\x01\"") << "code_name" << QStringLiteral("a\tb\x01");
    QTest::newRow("nested values of unknown fields skipped")
        << one(R"("mirrors":[{"url":"x","w":[1,2,{"version":null}]}],"meta":{"version":"9"},)"
               R"("version":"1.6.0","more":[[],{},"]}"])")
        << "version" << QStringLiteral("1.6.0");
    QTest::newRow("numbers and words in unknown fields")
        << one(R"("a":0,"b":-0.5e-3,"c":1E+2,"d":123456789012345678901234567890,)"
               R"("e":true,"f":false,"g":null,"version":"2")")
        << "version" << QStringLiteral("2");
    QTest::newRow("a number in a text stays text")
        << one(R"("total_file_size":"2097152")") << "total_file_size" << QStringLiteral("2097152");
    QTest::newRow("a field as a number is empty")
        << one(R"("total_file_size":2097152)") << "total_file_size" << QString();
    QTest::newRow("repeated key: the last text counts")
        << one(R"("version":"1.0.0","version":"2.0.0")") << "version" << QStringLiteral("2.0.0");
    QTest::newRow("repeated key: a last non-text empties it")
        << one(R"("version":"1.0.0","version":5)") << "version" << QString();
    QTest::newRow("repeated key: a text after a non-text counts")
        << one(R"("version":[5],"version":"1.0.0")") << "version" << QStringLiteral("1.0.0");
    QTest::newRow("escaped key names the field")
        << one(R"("version":"1.0.0","versio\u006e":"3.0.0")") << "version"
        << QStringLiteral("3.0.0");
    QTest::newRow("key beyond ASCII is unknown")
        << one("\"v\xc3\xa9rsion\":\"x\",\"version\":\"4\"") << "version" << QStringLiteral("4");
    QTest::newRow("digest kept in lower case, blanks around dropped")
        << one(R"("sha256":" )" + QByteArray(64, 'A') + R"( ")") << "sha256" << digest;
    QTest::newRow("repeated digest: the last one decides")
        << one(R"("sha256":")" + QByteArray(64, 'a') + R"(","sha256":"00ff")") << "sha256"
        << QString();
    QTest::newRow("blanks of every kind between the parts")
        << QByteArray(" \t\r\n[ \t{ \"version\" \r: \"1.6.0\"\n} , 7 ]\n ") << "version"
        << QStringLiteral("1.6.0");
    QTest::newRow("byte order mark")
        << QByteArray("\xef\xbb\xbf[{\"version\":\"5\"}]") << "version" << QStringLiteral("5");
    QTest::newRow("an element that is no object is an empty entry")
        << QByteArray(R"([["version","1"],{"version":"2"}])") << "version" << QString();
}

void CatalogueScannerTest::fields()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, field);
    QFETCH(QString, value);

    QList<ReleaseEntry> scanned;
    QVERIFY(CatalogueScanner::scan(bytes, scanned));
    QVERIFY(!scanned.isEmpty());
    QCOMPARE(entryField(scanned.first(), field), value);
    const ReleaseCatalogue reference = ReleaseCatalogue::parseDocument(bytes);
    QVERIFY2(reference.isUsable(), qPrintable(reference.problem()));
    QVERIFY(scanned == reference.entries());
    compareWithDocumentReading(bytes);
}

void CatalogueScannerTest::declined_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("problem");  // how the reason starts; empty: usable after all

    QTest::newRow("not JSON at all") << QByteArray("<html>") << "not JSON: illegal value";
    QTest::newRow("a text, not an array") << QByteArray(R"("x")") << "not JSON: illegal value";
    QTest::newRow("an object") << QByteArray(R"({"a":[1]})") << "not an array";
    QTest::newRow("empty array") << QByteArray(" [ ] ") << "empty";
    QTest::newRow("trailing garbage") << QByteArray("[{}] x") << "not JSON: garbage at the end";
    QTest::newRow("a NUL after the array") << QByteArray("[{}]\0", 5) << "not JSON: garbage";
    QTest::newRow("trailing comma in the array") << QByteArray("[{},]") << "not JSON";
    QTest::newRow("trailing comma in an entry") << one(R"("a":1,)") << "not JSON";
    QTest::newRow("missing colon") << one(R"("version" "1")") << "not JSON";
    QTest::newRow("missing comma") << QByteArray(R"([{} {}])") << "not JSON";
    QTest::newRow("key not a text") << one(R"(version:"1")") << "not JSON";
    QTest::newRow("bad hex in \\u") << one(R"("version":"\u00g0")") << "not JSON: invalid escape";
    QTest::newRow("\\u cut short") << one(R"("version":"\u00")") << "not JSON";
    QTest::newRow("overlong UTF-8") << one("\"version\":\"\xc0\xaf\"") << "not JSON: invalid UTF8";
    QTest::newRow("UTF-8 surrogate") << one("\"version\":\"\xed\xa0\x80\"") << "not JSON: invalid UTF8";
    QTest::newRow("UTF-8 beyond U+10FFFF") << one("\"version\":\"\xf4\x90\x80\x80\"") << "not JSON";
    QTest::newRow("UTF-8 cut short") << one("\"version\":\"\xe2\x82\"") << "not JSON";
    QTest::newRow("stray continuation byte") << one("\"version\":\"\x80\"") << "not JSON";
    QTest::newRow("number with a leading zero") << one(R"("a":01)") << "not JSON";
    QTest::newRow("a lone minus") << one(R"("a":-)") << "not JSON";
    QTest::newRow("number beyond a double") << one(R"("a":1e400)") << "not JSON: illegal number";
    QTest::newRow("integer of 400 digits") << one("\"a\":" + QByteArray(400, '7'))
                                           << "not JSON: illegal number";
    QTest::newRow("word cut short") << one(R"("a":nul)") << "not JSON";
    QTest::newRow("word run on") << one(R"("a":truex)") << "not JSON";
    QTest::newRow("nested beyond the document reading's limit")
        << one("\"a\":" + QByteArray(1100, '[') + QByteArray(1100, ']'))
        << "not JSON: too deeply nested";
    // Well-formed, but the scanner leaves them to the document reading, which takes them.
    QTest::newRow("nested deeper than the scanner goes")
        << one("\"a\":" + QByteArray(300, '[') + QByteArray(300, ']') + ",\"version\":\"1\"")
        << QString();
    QTest::newRow("large exponent within range") << one(R"("a":1e300,"version":"1")") << QString();
    QTest::newRow("tiny number") << one(R"("a":1e-300,"version":"1")") << QString();
    QTest::newRow("a number without its leading digit") << one(R"("a":.5,"version":"1")") << QString();
    QTest::newRow("escaped non-ASCII byte") << one("\"version\":\"\\\xc3\"") << QString();
}

void CatalogueScannerTest::declined()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, problem);

    QList<ReleaseEntry> scanned;
    QVERIFY(!CatalogueScanner::scan(bytes, scanned));
    QVERIFY(scanned.isEmpty());
    const ReleaseCatalogue parsed = ReleaseCatalogue::parse(bytes);
    if (problem.isEmpty())
        QVERIFY2(parsed.isUsable(), qPrintable(parsed.problem()));
    else
        QVERIFY2(parsed.problem().startsWith(problem), qPrintable(parsed.problem()));
    compareWithDocumentReading(bytes);
}

void CatalogueScannerTest::everyCutOfACatalogueIsNotJson()
{
    const QByteArray json = R"([{"file_name":"a\u00fc.tvq","version":"1.6.0","n":[1.5e3,{"x":null}],)"
                            "\"code_name\":\"\xf0\x9f\x8e\xb8\"}, true ]";
    for (int size = 0; size < json.size(); ++size) {
        const QByteArray cut = json.left(size);
        QList<ReleaseEntry> scanned;
        QVERIFY(!CatalogueScanner::scan(cut, scanned));
        QVERIFY2(ReleaseCatalogue::parse(cut).problem().startsWith(QLatin1String("not JSON")),
                 cut.constData());
        compareWithDocumentReading(cut);
    }
    QList<ReleaseEntry> whole;
    QVERIFY(CatalogueScanner::scan(json, whole));
    QCOMPARE(whole.size(), 2);
}

void CatalogueScannerTest::specialBytesAtEveryPlace()
{
    // Texts are looked at eight bytes at a time: an escape, a character beyond ASCII or the
    // closing quote at each place of a long text, and two of them in one group of eight.
    const QList<QByteArray> specials{"\\\"", "\\n", "\\u00fc", "\xc3\xbc", "\xf0\x9f\x8e\xb8",
                                     "\xef\xbb\xbf", "\\\\\xc3\xbc", ""};
    for (const QByteArray& special : specials) {
        for (int before = 0; before < 20; ++before) {
            for (int after = 0; after < 10; after += 3) {
                const QByteArray text = QByteArray(before, 'a') + special + QByteArray(after, 'b');
                const QByteArray json = one("\"code_name\":\"" + text + "\",\"x\":\"" + text + "\"");
                QList<ReleaseEntry> scanned;
                QVERIFY2(CatalogueScanner::scan(json, scanned), json.constData());
                const ReleaseCatalogue reference = ReleaseCatalogue::parseDocument(json);
                QVERIFY(reference.isUsable());
                QCOMPARE(scanned.first().codeName, reference.entries().first().codeName);
                QCOMPARE(scanned.first().codeName.size() >= before + after, true);
            }
        }
    }
}

void CatalogueScannerTest::mixedCataloguesAgreeWithTheDocumentReading()
{
    QRandomGenerator random(20261208);
    int taken = 0;
    for (int round = 0; round < 300; ++round) {
        const QByteArray json = mixedCatalogue(random, 1 + random.bounded(12));
        QList<ReleaseEntry> scanned;
        if (CatalogueScanner::scan(json, scanned)) {
            ++taken;
            QVERIFY(scanned == ReleaseCatalogue::parseDocument(json).entries());
        }
        compareWithDocumentReading(json);
    }
    // Every piece is well-formed and within the scanner's reach.
    QCOMPARE(taken, 300);
}

void CatalogueScannerTest::cannedCataloguesAgreeWithTheDocumentReading()
{
    const QDir corpus(QStringLiteral(TAVLO_CATALOGUE_CORPUS));
    const QStringList names = corpus.entryList(QDir::Files);
    QVERIFY(names.size() >= 6);
    for (const QString& name : names) {
        QFile file(corpus.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray json = file.readAll();
        compareWithDocumentReading(json);
    }
    // A long catalogue as the maker writes one, oldest first.
    QByteArray json = "[";
    for (int i = 0; i < 3000; ++i) {
        const QByteArray v = "1." + QByteArray::number(i / 100) + '.' + QByteArray::number(i % 100);
        json += (i > 0 ? ",\n  " : "\n  ") + QByteArray(R"({"file_name":"tavlo-)") + v
                + R"(.tvq","version":")" + v + R"(","total_file_size":"2097152",)"
                + R"("release_date":"2026-11-30","code_name":"Birch","sha256":")"
                + QByteArray(64, 'c') + R"(","release_notes":"- faster start\n- \u00fcber"})";
    }
    json += "\n]\n";
    QList<ReleaseEntry> scanned;
    QVERIFY(CatalogueScanner::scan(json, scanned));
    QCOMPARE(scanned.size(), 3000);
    QCOMPARE(scanned.last().releaseNotes, QStringLiteral("- faster start\n- über"));
    compareWithDocumentReading(json);
}

void CatalogueScannerTest::expectedSize_data()
{
    QTest::addColumn<QString>("totalFileSize");
    QTest::addColumn<qint64>("size");  // -1: unknown

    QTest::newRow("eighteen digits, the most kept") << "999999999999999999" << qint64(999999999999999999);
    QTest::newRow("nineteen digits") << "1000000000000000000" << qint64(-1);
    QTest::newRow("leading zeros to eighteen") << "000000000000000042" << qint64(42);
    QTest::newRow("one") << "1" << qint64(1);
    QTest::newRow("zeros only") << "000" << qint64(-1);
    QTest::newRow("a digit beyond ASCII") << QStringLiteral("4\u0662") << qint64(-1);
}

void CatalogueScannerTest::expectedSize()
{
    QFETCH(QString, totalFileSize);
    QFETCH(qint64, size);
    ReleaseEntry entry;
    entry.totalFileSize = totalFileSize;
    QCOMPARE(entry.expectedSize(), size);
}

QTEST_APPLESS_MAIN(CatalogueScannerTest)
#include "tst_catalogue_scanner.moc"
