#include <QNetworkReply>
#include <QSignalSpy>
#include <QSslConfiguration>
#include <QTemporaryDir>
#include <QTest>

#include "download/full/Downloader.h"
#include "ReleaseServer.h"
#include "SignalLog.h"
#include "TestEnvironment.h"

namespace {

struct CapturedMessage
{
    QtMsgType type;
    QString category;
    QString text;
};

QList<CapturedMessage> captured;

void captureMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    captured.append({type, QString::fromLatin1(context.category ? context.category : ""), text});
}

}  // namespace

class CatalogueTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void entries_data();
    void entries();
    void failedCatalogueRequestIsSilent_data();
    void failedCatalogueRequestIsSilent();
    void untrustedServerIsRefused();
    void noCatalogueMeansNoDownload();
    void startWaitsForTheCatalogueOnItsWay();
    void lateCatalogueEnds_data();
    void lateCatalogueEnds();
    void updateAvailabilityLog();
    void logRunsBetweenTheTwoSignals();
    void defaultServerIsTheMakersHttpsHost();

private:
    void fetch(Downloader& downloader);

    ReleaseServer server;
    QTemporaryDir tempDir;
};

void CatalogueTest::initTestCase()
{
    QVERIFY2(server.start(), qPrintable(server.errorText()));
    ReleaseServer::trustInThisProcess();
    QVERIFY(tempDir.isValid());
    TestEnvironment::setTempDir(tempDir.path());
}

void CatalogueTest::init()
{
    server.clearResponses();
    server.clearRequests();
}

void CatalogueTest::fetch(Downloader& downloader)
{
    QSignalSpy done(&server, &ReleaseServer::requestReceived);
    downloader.fetchReleasesJson();
    // The request is open until its reply has been handled, and then it is gone.
    QVERIFY(!downloader.findChildren<QNetworkReply*>().isEmpty());
    QVERIFY(SignalLog::waitUntilIdle(&downloader, 10000));
    QVERIFY(done.count() > 0 || done.wait(10000));
}

// "Start Update" pressed while the catalogue asked for at start-up is still on its way waits
// for that one: a second request's late reply would set the catalogue's entry again after a
// failed attempt had dropped it, and "Try again" would then meet the same unusable entry.
void CatalogueTest::startWaitsForTheCatalogueOnItsWay()
{
    const QString catalogue = QStringLiteral("/releases/releases.json");
    ReleaseServer::Response slow = ReleaseServer::Response::ok(
        R"([{"file_name":"../x.tvq","version":"1.6.0","total_file_size":"4"}])");
    slow.pieces << 8;
    slow.pieceDelayMs = 300;
    server.setResponse("GET", catalogue, slow);
    Downloader downloader(server.baseUrl());
    QSignalSpy status(&downloader, &Downloader::downloadStatus);
    QSignalSpy finished(&downloader, &Downloader::downloadFinished);
    downloader.fetchReleasesJson();
    downloader.downloadFile();
    QVERIFY(status.wait(5000));
    QCOMPARE(status.first().at(0).toBool(), false); // the unusable name
    QTest::qWait(600); // a second reply, had there been a request for it, would be in by now
    QCOMPARE(server.countRequests("GET", catalogue), 1);

    // The server mends the entry: "Try again" reads the catalogue afresh and gets the file.
    server.setCatalogue(R"([{"file_name":"x.tvq","version":"1.6.0","total_file_size":"4"}])");
    server.setResponse("GET", QStringLiteral("/releases/x.tvq"), ReleaseServer::Response::ok("TVQ1"));
    finished.clear();
    downloader.downloadFile();
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 5000);
    QCOMPARE(finished.first().at(0).toBool(), true);
    QCOMPARE(server.countRequests("GET", catalogue), 2);
}

// A catalogue that stops coming, or trickles, ends with a sentence instead of a wait for good.
void CatalogueTest::lateCatalogueEnds_data()
{
    QTest::addColumn<int>("pieceDelayMs");
    QTest::addColumn<QString>("reason");
    // The headers, then nothing: ended after the stall time.
    QTest::newRow("stalls") << 60000 << "nothing arrived from the release server for 1 seconds";
    // A byte at a time, each well within the stall time: ended after the time in all.
    QTest::newRow("trickles") << 200 << "had not sent all of it after 2 seconds";
}

void CatalogueTest::lateCatalogueEnds()
{
    QFETCH(int, pieceDelayMs);
    QFETCH(QString, reason);
    ReleaseServer::Response late = ReleaseServer::Response::ok(R"([{"file_name":"x.tvq","version":"1.6.0"}])");
    late.pieces = QList<qint64>(40, 1);
    late.pieces.first() = 0;
    late.pieceDelayMs = pieceDelayMs;
    server.setResponse("GET", QStringLiteral("/releases/releases.json"), late);
    DownloadTimings timings = DownloadTimings::production();
    timings.stallTimeoutMs = 1000;
    timings.catalogueTimeoutMs = 2000;
    Downloader downloader(server.baseUrl(), timings);
    QSignalSpy status(&downloader, &Downloader::downloadStatus);
    downloader.fetchReleasesJson();
    downloader.downloadFile(); // waits for the catalogue, and then says why there is none
    QVERIFY(status.wait(6000));
    QCOMPARE(status.first().at(0).toBool(), false);
    QVERIFY2(downloader.failureReason().contains(reason), qPrintable(downloader.failureReason()));
    QVERIFY(downloader.currentDownloadUrl().isEmpty());
}

void CatalogueTest::entries_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QStringList>("signalsExpected");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("totalFileSize");
    QTest::addColumn<QString>("urlTail");  // after "/releases/"; null: no URL at all

    const QByteArray one =
        R"({"file_name":"tavlo_1_6_0.tvq","version":"1.6.0","total_file_size":"1234",)"
        R"("release_date":"2026-11-02","code_name":"Birch","uuid":"u-1"})";
    const QByteArray two =
        R"({"file_name":"tavlo_1_4_0.tvq","version":"1.4.0","total_file_size":"99"})";

    QTest::newRow("empty array") << QByteArray("[]") << QStringList{} << QString() << QString()
                                 << QString() << QString();
    QTest::newRow("one entry") << "[" + one + "]"
                               << QStringList{"releases", "latest:1.6.0"}
                               << "tavlo_1_6_0.tvq" << "1.6.0" << "1234" << "tavlo_1_6_0.tvq";
    QTest::newRow("two entries, last one wins, no sorting")
        << "[" + one + "," + two + "]"
        << QStringList{"releases", "latest:1.6.0", "releases", "latest:1.4.0"}
        << "tavlo_1_4_0.tvq" << "1.4.0" << "99" << "tavlo_1_4_0.tvq";
    QTest::newRow("not JSON") << QByteArray("<html>maintenance</html>") << QStringList{}
                              << QString() << QString() << QString() << QString();
    QTest::newRow("entry that is not an object")
        << QByteArray(R"([ "tavlo.tvq" ])") << QStringList{"releases", "latest:"} << QString()
        << QString() << QString() << QString("");
    QTest::newRow("query, fragment and escape characters encoded")
        << QByteArray(R"([{"file_name":"a?b#c%41.tvq","version":"1.6.1"}])")
        << QStringList{"releases", "latest:1.6.1"} << "a?b#c%41.tvq" << "1.6.1" << QString()
        << "a%3Fb%23c%2541.tvq";
}

void CatalogueTest::entries()
{
    QFETCH(QByteArray, json);
    QFETCH(QStringList, signalsExpected);
    QFETCH(QString, fileName);
    QFETCH(QString, version);
    QFETCH(QString, totalFileSize);
    QFETCH(QString, urlTail);

    server.setCatalogue(json);
    Downloader downloader(server.baseUrl());
    SignalLog log(&downloader);
    fetch(downloader);

    QTRY_COMPARE_WITH_TIMEOUT(log.entries, signalsExpected, 10000);
    QCOMPARE(downloader.currentFileName(), fileName);
    QCOMPARE(downloader.currentLatestVersion(), version);
    QCOMPARE(downloader.currentTotalFileSize(), totalFileSize);
    if (urlTail.isNull()) {
        QVERIFY(downloader.currentDownloadUrl().isEmpty());
    } else {
        QCOMPARE(downloader.currentDownloadUrl(),
                 server.baseUrl().toString() + QStringLiteral("/releases/") + urlTail);
    }
    QCOMPARE(server.requests().size(), 1);
    QCOMPARE(server.requests().first().method, QByteArray("GET"));
    QCOMPARE(server.requests().first().path, QStringLiteral("/releases/releases.json"));
}

void CatalogueTest::failedCatalogueRequestIsSilent_data()
{
    QTest::addColumn<int>("status");
    QTest::newRow("404") << 404;
    QTest::newRow("500") << 500;
}

void CatalogueTest::failedCatalogueRequestIsSilent()
{
    QFETCH(int, status);
    // The error page is a valid catalogue: a handler that parsed it anyway would emit.
    ReleaseServer::Response response = ReleaseServer::Response::error(status);
    response.body = R"([{"file_name":"x.tvq","version":"9.9.9"}])";
    server.setResponse("GET", QStringLiteral("/releases/releases.json"), response);

    Downloader downloader(server.baseUrl());
    SignalLog log(&downloader);
    fetch(downloader);
    QVERIFY(log.entries.isEmpty());
    QVERIFY(downloader.currentDownloadUrl().isEmpty());
}

void CatalogueTest::untrustedServerIsRefused()
{
    server.setCatalogue(R"([{"file_name":"x.tvq","version":"9.9.9"}])");
    const QSslConfiguration trusting = QSslConfiguration::defaultConfiguration();
    QSslConfiguration plain = trusting;
    plain.setCaCertificates(QSslConfiguration::systemCaCertificates());
    QSslConfiguration::setDefaultConfiguration(plain);

    {
        Downloader downloader(server.baseUrl());
        SignalLog log(&downloader);
        downloader.fetchReleasesJson();
        QVERIFY(log.waitUntilIdle(10000));
        QVERIFY(log.entries.isEmpty());
        QVERIFY(downloader.currentDownloadUrl().isEmpty());
    }
    QSslConfiguration::setDefaultConfiguration(trusting);
    // The handshake failed, so no request ever reached the server.
    QVERIFY(server.requests().isEmpty());
}

void CatalogueTest::noCatalogueMeansNoDownload()
{
    // No catalogue: no download, but a failure with its reason instead of silence, and the
    // catalogue is asked for again so that "Try again" can find it.
    Downloader downloader(server.baseUrl());
    SignalLog log(&downloader);
    downloader.downloadFile();
    QVERIFY(log.waitUntilIdle());
    QCOMPARE(log.entries.size(), 3);
    QCOMPARE(log.entries.first(),
             QStringLiteral("status:false:The list of updates could not be read. The release "
                            "server does not have the file (it answered 404, not found)."));
    QCOMPARE(log.entries.mid(1), (QStringList{"finished:false::", "transfer:false"}));
    QCOMPARE(downloader.failureReason(), log.entries.first().mid(13));
    QCOMPARE(server.requests().size(), 1);
    QCOMPARE(server.requests().first().path, QStringLiteral("/releases/releases.json"));

    server.setCatalogue("[]");
    fetch(downloader);
    server.clearRequests();
    log.entries.clear();
    downloader.downloadFile();
    QVERIFY(log.waitUntilIdle());
    QCOMPARE(log.entries.size(), 3);
    QCOMPARE(log.entries.first(),
             QStringLiteral("status:false:The release server's list of updates is unusable "
                            "(empty)."));
    QCOMPARE(server.requests().size(), 1);
    QCOMPARE(server.requests().first().path, QStringLiteral("/releases/releases.json"));
    // Once the catalogue can be had, the same press fetches it and then the file.
    server.setCatalogue(TestEnvironment::catalogueFor(QStringLiteral("late.tvq")));
    server.setResponse("GET", QStringLiteral("/releases/late.tvq"),
                       ReleaseServer::Response::ok("LATE"));
    log.entries.clear();
    downloader.downloadFile();
    QVERIFY(log.waitFor(QStringLiteral("transfer:")));
    QCOMPARE(log.entries.last(), QStringLiteral("transfer:true"));
}

void CatalogueTest::updateAvailabilityLog()
{
    captured.clear();
    const QtMessageHandler previous = qInstallMessageHandler(captureMessage);
    Downloader::logUpdateAvailable(QStringLiteral("1.6.0"));
    Downloader::logUpdateAvailable(QString());
    qInstallMessageHandler(previous);

    QCOMPARE(captured.size(), 4);
    const QStringList texts{captured[0].text, captured[1].text, captured[2].text,
                            captured[3].text};
    QCOMPARE(texts, (QStringList{"DW: Update available!", "DW: Update version:  \"1.6.0\"",
                                 "DW: Update available!", "DW: Update version:  \"\""}));
    for (const CapturedMessage& message : captured) {
        QCOMPARE(message.type, QtInfoMsg);
        QCOMPARE(message.category, QStringLiteral("default"));
    }
}

void CatalogueTest::logRunsBetweenTheTwoSignals()
{
    // Wired as start-up wires it: directly, reading the version the Downloader has just set.
    server.setCatalogue(R"([{"file_name":"a.tvq","version":"1.5.0"},)"
                        R"({"file_name":"b.tvq","version":"1.6.0"}])");
    Downloader downloader(server.baseUrl());
    connect(&downloader, &Downloader::releasesJsonFetched, &downloader,
            [&downloader]() { Downloader::logUpdateAvailable(downloader.currentLatestVersion()); },
            Qt::DirectConnection);
    connect(&downloader, &Downloader::latestVersionFetched, this,
            [](const QString& version) { captured.append({QtDebugMsg, QString(), "latest " + version}); });

    captured.clear();
    const QtMessageHandler previous = qInstallMessageHandler(captureMessage);
    fetch(downloader);
    QTRY_VERIFY_WITH_TIMEOUT(captured.size() >= 6, 10000);
    qInstallMessageHandler(previous);

    QStringList texts;
    for (const CapturedMessage& message : captured)
        texts << message.text;
    QCOMPARE(texts, (QStringList{"DW: Update available!", "DW: Update version:  \"1.5.0\"",
                                 "latest 1.5.0", "DW: Update available!",
                                 "DW: Update version:  \"1.6.0\"", "latest 1.6.0"}));
}

void CatalogueTest::defaultServerIsTheMakersHttpsHost()
{
    const QUrl url = Downloader::defaultServer();
    QVERIFY(url.isValid());
    QCOMPARE(url.scheme(), QStringLiteral("https"));
    QVERIFY(!url.host().isEmpty());
    QVERIFY(url.path().isEmpty() || url.path() == QStringLiteral("/"));
}

QTEST_GUILESS_MAIN(CatalogueTest)
#include "tst_catalogue.moc"
