// The update file name from the catalogue: which names may be used as a local file name,
// and how a name is written into the download URL.
#include <QTest>

#include "UpdateFileName.h"

class TestUpdateFileName : public QObject
{
    Q_OBJECT

private slots:
    void safety_data();
    void safety();
    void urlEncoding_data();
    void urlEncoding();
};

void TestUpdateFileName::safety_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("safe");

    QTest::newRow("plain") << QStringLiteral("tavlo_1_6_0.tvq") << true;
    QTest::newRow("blank") << QStringLiteral("Tavlo Update 1.6.tvq") << true;
    QTest::newRow("only a blank") << QStringLiteral(" ") << true;
    QTest::newRow("three dots") << QStringLiteral("...") << true;
    QTest::newRow("hidden file") << QStringLiteral(".tvq") << true;
    QTest::newRow("URL characters") << QStringLiteral("u?v=2#x%41.tvq") << true;
    QTest::newRow("non-ASCII") << QStringLiteral("M\u00fcnchen.tvq") << true;
    QTest::newRow("device name only as a prefix") << QStringLiteral("console.tvq") << true;
    QTest::newRow("COM0 is no device") << QStringLiteral("COM0.tvq") << true;
    QTest::newRow("LPT10 is no device") << QStringLiteral("LPT10") << true;

    QTest::newRow("empty") << QString() << false;
    QTest::newRow("dot") << QStringLiteral(".") << false;
    QTest::newRow("dot dot") << QStringLiteral("..") << false;
    QTest::newRow("parent folder") << QStringLiteral("../../evil.tvq") << false;
    QTest::newRow("sub folder") << QStringLiteral("sub/u.tvq") << false;
    QTest::newRow("absolute") << QStringLiteral("/etc/u.tvq") << false;
    QTest::newRow("backslash") << QStringLiteral("..\\u.tvq") << false;
    QTest::newRow("drive prefix") << QStringLiteral("C:u.tvq") << false;
    QTest::newRow("alternate data stream") << QStringLiteral("u.tvq:hidden") << false;
    QTest::newRow("newline") << QStringLiteral("u\n.tvq") << false;
    QTest::newRow("tab") << QStringLiteral("u\t.tvq") << false;
    QTest::newRow("NUL character") << QStringLiteral("u") + QChar(0) + QStringLiteral(".tvq")
                                   << false;
    QTest::newRow("delete character") << QStringLiteral("u\x7f.tvq") << false;
    QTest::newRow("C1 control character") << QStringLiteral("u\u0085.tvq") << false;
    QTest::newRow("device name") << QStringLiteral("con.tvq") << false;
    QTest::newRow("device name, two extensions") << QStringLiteral("NUL.tar.gz") << false;
    QTest::newRow("device name without extension") << QStringLiteral("LPT1") << false;
    QTest::newRow("device name, any case") << QStringLiteral("cOm9.x") << false;
    QTest::newRow("device name with a dot only") << QStringLiteral("aux.") << false;
    QTest::newRow("device name, blank before the extension") << QStringLiteral("NUL .tar.  gz") << false;
    QTest::newRow("device name, blanks after it") << QStringLiteral("con  ") << false;
    QTest::newRow("device name, superscript digit") << QStringLiteral("COM\u00B9.tvq") << false;
    QTest::newRow("device name, superscript three") << QStringLiteral("lpt\u00B3") << false;
    QTest::newRow("device name only before a blank") << QStringLiteral("NUL x.tvq") << true;
    QTest::newRow("last C1 control character") << QStringLiteral("u\u009f.tvq") << false;
    QTest::newRow("no-break space is no control character") << QStringLiteral("u\u00a0.tvq") << true;
    QTest::newRow("shorter than a device name") << QStringLiteral("co") << true;
    QTest::newRow("device name PRN, lower case") << QStringLiteral("prn.txt") << false;
    QTest::newRow("device name Aux, mixed case") << QStringLiteral("Aux") << false;
    QTest::newRow("letters of a device name after a start") << QStringLiteral("xcon") << true;
    // Room for the longest ending a download adds within 255 bytes, counted in UTF-8.
    QTest::newRow("longest name") << QString(UpdateFileName::kMaxNameBytes, 'u') << true;
    QTest::newRow("one byte too long") << QString(UpdateFileName::kMaxNameBytes + 1, 'u') << false;
    QTest::newRow("300 characters") << QString(296, 'u') + ".tvq" << false;
    QTest::newRow("too long in UTF-8 only") << QString(UpdateFileName::kMaxNameBytes / 2 + 1, QChar(0x00fc)) << false;
}

void TestUpdateFileName::safety()
{
    QFETCH(QString, name);
    QFETCH(bool, safe);
    QCOMPARE(UpdateFileName::isSafe(name), safe);
}

void TestUpdateFileName::urlEncoding_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("encoded");

    QTest::newRow("plain") << QStringLiteral("u.tvq") << QStringLiteral("u.tvq");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("blank kept") << QStringLiteral("Tavlo Update.tvq")
                                << QStringLiteral("Tavlo Update.tvq");
    QTest::newRow("query and fragment") << QStringLiteral("a?b#c.tvq")
                                        << QStringLiteral("a%3Fb%23c.tvq");
    QTest::newRow("percent that looks like an escape") << QStringLiteral("u%41%2F.tvq")
                                                       << QStringLiteral("u%2541%252F.tvq");
    QTest::newRow("only special characters") << QStringLiteral("%?#%")
                                             << QStringLiteral("%25%3F%23%25");
    QTest::newRow("non-ASCII kept") << QStringLiteral("M\u00fcnchen.tvq")
                                    << QStringLiteral("M\u00fcnchen.tvq");
}

void TestUpdateFileName::urlEncoding()
{
    QFETCH(QString, name);
    QFETCH(QString, encoded);
    QCOMPARE(UpdateFileName::encodeForUrl(name), encoded);
}

QTEST_APPLESS_MAIN(TestUpdateFileName)
#include "tst_update_file_name.moc"
