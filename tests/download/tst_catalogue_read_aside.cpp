// A catalogue large enough to be read on the reader thread gives the same result as one read
// at once: the same signals in the same order, the same state, the same version list; a
// download asked for while it is being read waits for it instead of asking again. A catalogue
// over the size limit is refused as soon as its announced length or its body passes it.
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "DownloadFailureText.h"
#include "download/full/Downloader.h"
#include "ReleaseServer.h"
#include "TestEnvironment.h"
#include "UpdateChoices.h"

namespace {

// A usable catalogue padded with blanks after its array to exactly size bytes.
QByteArray catalogueOfSize(qint64 size)
{
    QByteArray json = TestEnvironment::numberedCatalogue(300, 200);
    return json + QByteArray(size - json.size(), ' ');
}

}  // namespace

class CatalogueReadAside : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void sameResult_data();
    void sameResult();
    void downloadWaitsForTheReading();
    void sizeLimit_data();
    void sizeLimit();

private:
    ReleaseServer server;
    QTemporaryDir tempDir;
};

void CatalogueReadAside::initTestCase()
{
    QVERIFY2(server.start(), qPrintable(server.errorText()));
    ReleaseServer::trustInThisProcess();
    QVERIFY(tempDir.isValid());
    TestEnvironment::setTempDir(tempDir.path());
}

void CatalogueReadAside::sameResult_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("entryBytes");
    QTest::addColumn<bool>("aside");

    QTest::newRow("small, at once") << 300 << 200 << false;
    QTest::newRow("just under the limit") << 1000 << 250 << false;
    QTest::newRow("large, aside") << 3000 << 250 << true;
}

void CatalogueReadAside::sameResult()
{
    QFETCH(int, count);
    QFETCH(int, entryBytes);
    QFETCH(bool, aside);
    const QByteArray json = TestEnvironment::numberedCatalogue(count, entryBytes);
    QCOMPARE(json.size() > UpdateDownload::kReadAsideBytes, aside);
    server.setCatalogue(json);

    Downloader downloader(server.baseUrl());
    UpdateChoices choices(downloader.updateDownload());
    QSignalSpy fetched(&downloader, &Downloader::releasesJsonFetched);
    QSignalSpy latest(&downloader, &Downloader::latestVersionFetched);
    QSignalSpy listed(&choices, &UpdateChoices::listChanged);
    downloader.fetchReleasesJson();
    QTRY_COMPARE_WITH_TIMEOUT(listed.size(), 1, 20000);

    QCOMPARE(fetched.size(), count);
    QCOMPARE(latest.size(), count);
    const QString last = QStringLiteral("1.%1.%2").arg((count - 1) / 100).arg((count - 1) % 100);
    QCOMPARE(latest.last().at(0).toString(), last);
    QCOMPARE(downloader.currentLatestVersion(), last);
    QCOMPARE(downloader.currentFileName(), QStringLiteral("f-%1.tvq").arg(last));
    QCOMPARE(choices.count(), count);
    QCOMPARE(choices.defaultRow(), 0);  // the newest is the catalogue's last entry
    QCOMPARE(choices.latestVersion(), last);
}

void CatalogueReadAside::downloadWaitsForTheReading()
{
    const QByteArray json = TestEnvironment::numberedCatalogue(3000, 250);
    server.setCatalogue(json);
    server.clearRequests();
    Downloader downloader(server.baseUrl());
    QSignalSpy latest(&downloader, &Downloader::latestVersionFetched);
    // "Start Update" pressed just as the catalogue goes to the reader.
    connect(&downloader.updateDownload(), &UpdateDownload::readRequested, &downloader,
            [&downloader] { downloader.downloadFile(); }, Qt::DirectConnection);
    downloader.fetchReleasesJson();
    QTRY_VERIFY_WITH_TIMEOUT(server.countRequests("HEAD", QStringLiteral("/releases/f-1.29.99.tvq")) > 0, 20000);
    QCOMPARE(server.countRequests("GET", QStringLiteral("/releases/releases.json")), 1);
    QCOMPARE(latest.size(), 3000);
}

void CatalogueReadAside::sizeLimit_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<bool>("sendLength");
    QTest::addColumn<qint64>("announced");  // -1: the body's own length
    QTest::addColumn<qint64>("beforePause"); // -1: no pause; else a minute's pause after this
    QTest::addColumn<bool>("refused");

    const qint64 limit = UpdateDownload::kMaxCatalogueBytes;
    QCOMPARE(limit, qint64(8 * 1024 * 1024));
    QTest::newRow("exactly the limit, its length announced") << limit << true << -1LL << -1LL << false;
    QTest::newRow("exactly the limit, no length") << limit << false << -1LL << -1LL << false;
    QTest::newRow("a byte over, its length announced") << limit + 1 << true << -1LL << -1LL << true;
    QTest::newRow("a byte over, no length") << limit + 1 << false << -1LL << -1LL << true;
    // Neither waits for what follows the pause: the announced length is enough, and the body
    // received so far.
    QTest::newRow("a length over the limit, refused before the body")
        << 64LL * 1024 << true << 100LL * 1024 * 1024 << 0LL << true;
    QTest::newRow("no length, the body grows past the limit")
        << limit + 4 * 1024 * 1024 << false << -1LL << limit + 1024 * 1024 << true;
}

void CatalogueReadAside::sizeLimit()
{
    QFETCH(qint64, size);
    QFETCH(bool, sendLength);
    QFETCH(qint64, announced);
    QFETCH(qint64, beforePause);
    QFETCH(bool, refused);

    ReleaseServer::Response response = ReleaseServer::Response::ok(catalogueOfSize(size));
    response.sendContentLength = sendLength;
    response.declaredLength = announced;
    if (beforePause >= 0) {
        response.pieces = {beforePause};
        response.pieceDelayMs = 60000;
    }
    server.clearResponses();
    server.clearRequests();
    server.setResponse("GET", QStringLiteral("/releases/releases.json"), response);

    Downloader downloader(server.baseUrl());
    UpdateDownload& core = downloader.updateDownload();
    QSignalSpy unavailable(&core, &UpdateDownload::catalogueUnavailable);
    QSignalSpy read(&core, &UpdateDownload::catalogueRead);
    QSignalSpy latest(&downloader, &Downloader::latestVersionFetched);
    downloader.fetchReleasesJson();
    QTRY_COMPARE_WITH_TIMEOUT(unavailable.size() + read.size(), 1, 20000);

    if (!refused) {
        QCOMPARE(read.size(), 1);
        QCOMPARE(latest.size(), 300);
        QCOMPARE(downloader.currentLatestVersion(), QStringLiteral("1.2.99"));
        return;
    }
    QCOMPARE(unavailable.first().at(0).toString(), DownloadFailureText::catalogueTooLarge(8));
    QCOMPARE(core.failureReason(), DownloadFailureText::catalogueTooLarge(8));
    QVERIFY(latest.isEmpty());
    QVERIFY(downloader.currentLatestVersion().isEmpty());
    // The request was ended, not left to run: the server's side of it closes at once, not
    // after its pause.
    QTRY_COMPARE_WITH_TIMEOUT(server.openConnections(), 0, 20000);
    QTRY_VERIFY(downloader.findChildren<QNetworkReply*>().isEmpty());
    // The aborted request's end is no second report.
    QCOMPARE(unavailable.size(), 1);
    QCOMPARE(read.size(), 0);

    // "Try again" asks for the catalogue anew (nothing waits on the refused request) and ends
    // the attempt with the same reason.
    QSignalSpy noCatalogue(&core, &UpdateDownload::noCatalogue);
    downloader.downloadFile();
    QTRY_COMPARE_WITH_TIMEOUT(noCatalogue.size(), 1, 20000);
    QCOMPARE(noCatalogue.first().at(0).toString(), DownloadFailureText::catalogueTooLarge(8));
    QCOMPARE(server.countRequests("GET", QStringLiteral("/releases/releases.json")), 2);
}

QTEST_MAIN(CatalogueReadAside)
#include "tst_catalogue_read_aside.moc"
