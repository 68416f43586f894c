// Where the catalogue and the release files lie on the release server.
#include <QTest>

#include "ReleaseLocation.h"

class TestReleaseLocation : public QObject
{
    Q_OBJECT

private slots:
    void defaultServerIsTheMakersHttpsHost();
    void catalogueUrl_data();
    void catalogueUrl();
    void releaseUrl_data();
    void releaseUrl();
};

void TestReleaseLocation::defaultServerIsTheMakersHttpsHost()
{
    const QUrl url = ReleaseLocation::defaultServer();
    QVERIFY(url.isValid());
    QCOMPARE(url.scheme(), QStringLiteral("https"));
    QVERIFY(!url.host().isEmpty());
    QVERIFY(url.path().isEmpty());
}

void TestReleaseLocation::catalogueUrl_data()
{
    QTest::addColumn<QUrl>("server");
    QTest::addColumn<QUrl>("expected");
    QTest::newRow("host only") << QUrl("https://example.test")
                               << QUrl("https://example.test/releases/releases.json");
    QTest::newRow("port kept") << QUrl("https://127.0.0.1:8443")
                               << QUrl("https://127.0.0.1:8443/releases/releases.json");
    QTest::newRow("path, query and fragment dropped")
        << QUrl("https://example.test/some/path?x=1#top")
        << QUrl("https://example.test/releases/releases.json");
}

void TestReleaseLocation::catalogueUrl()
{
    QFETCH(QUrl, server);
    QFETCH(QUrl, expected);
    QCOMPARE(ReleaseLocation::catalogueUrl(server), expected);
}

void TestReleaseLocation::releaseUrl_data()
{
    QTest::addColumn<QUrl>("server");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    const QUrl server("https://127.0.0.1:8443/ignored?q#f");
    QTest::newRow("plain") << server << QStringLiteral("tavlo_1_6_0.tvq")
                           << QStringLiteral("https://127.0.0.1:8443/releases/tavlo_1_6_0.tvq");
    QTest::newRow("missing name gives the bare base")
        << server << QString() << QStringLiteral("https://127.0.0.1:8443/releases/");
    QTest::newRow("blank kept in the name")
        << server << QStringLiteral("Tavlo Update 1.6.tvq")
        << QStringLiteral("https://127.0.0.1:8443/releases/Tavlo Update 1.6.tvq");
    QTest::newRow("query, fragment and escape characters encoded")
        << server << QStringLiteral("a?b#c%41.tvq")
        << QStringLiteral("https://127.0.0.1:8443/releases/a%3Fb%23c%2541.tvq");
}

void TestReleaseLocation::releaseUrl()
{
    QFETCH(QUrl, server);
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(ReleaseLocation::releaseUrl(server, name), expected);
}

QTEST_APPLESS_MAIN(TestReleaseLocation)
#include "tst_release_location.moc"
