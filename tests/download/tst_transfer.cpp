#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "download/full/Downloader.h"
#include "ReleaseServer.h"
#include "SignalLog.h"
#include "TestEnvironment.h"

Q_DECLARE_METATYPE(ReleaseServer::Response)

namespace {

const QString kFallbackStarted = QStringLiteral("status:true:Hmm, the download didn\u2019t go through");
// The stand-in curl of these tests always fails with this text.
const QString kStandInFailure = QStringLiteral("status:false:Fallback failed: stand-in: no network\n");
const QString kUnusableName = QStringLiteral(
    "status:false:The update file offered by the server has an unusable name, so it was not "
    "downloaded.");

ReleaseServer::Response inPieces(const QByteArray& body, QList<qint64> pieces)
{
    ReleaseServer::Response response = ReleaseServer::Response::ok(body);
    response.pieces = pieces;
    response.pieceDelayMs = 50;
    return response;
}

}  // namespace

class DownloadTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void outcomes_data();
    void outcomes();
    void unusableFileNames_data();
    void unusableFileNames();
    void urlCharactersInName_data();
    void urlCharactersInName();
    void probeAndDownloadRepliesLeaveCatalogueAlone();
    void secondRunStartsWithEmptyBuffer();
    void folderServedRelease();
    void destroyedWhileDownloading();

private:
    std::unique_ptr<Downloader> downloaderFor(const QByteArray& catalogue);
    QString fileIn(const QString& name) const
    {
        return TestEnvironment::downloadFolder() + QLatin1Char('/') + name;
    }

    ReleaseServer server;
    QString tempRoot;
    QTemporaryDir curlDir;
    std::unique_ptr<QTemporaryDir> tempDir;
};

void DownloadTest::initTestCase()
{
    TestEnvironment::originalSearchPath();
    tempRoot = QDir::tempPath();
    QVERIFY2(server.start(), qPrintable(server.errorText()));
    ReleaseServer::trustInThisProcess();
    QVERIFY(curlDir.isValid());
    TestEnvironment::writeStandInCurl(curlDir.path(),
                                      "#!/bin/sh\necho 'stand-in: no network' >&2\nexit 6\n");
    TestEnvironment::setSearchPath(curlDir.path(), false);
}

void DownloadTest::init()
{
    tempDir = std::make_unique<QTemporaryDir>(tempRoot + QStringLiteral("/download-XXXXXX"));
    QVERIFY(tempDir->isValid());
    TestEnvironment::setTempDir(tempDir->path());
    server.clearResponses();
    server.clearRequests();
}

void DownloadTest::cleanup()
{
    tempDir.reset();
}

std::unique_ptr<Downloader> DownloadTest::downloaderFor(const QByteArray& catalogue)
{
    return TestEnvironment::downloaderAfterCatalogue<Downloader>(server, catalogue);
}

void DownloadTest::outcomes_data()
{
    QTest::addColumn<ReleaseServer::Response>("get");
    QTest::addColumn<bool>("ownHead");
    QTest::addColumn<ReleaseServer::Response>("head");
    QTest::addColumn<QByteArray>("existing");       // null: no file beforehand
    QTest::addColumn<bool>("checkProgress");
    QTest::addColumn<QList<qint64>>("progress");
    QTest::addColumn<QStringList>("rest");          // the other signals; %D is the folder
    QTest::addColumn<QByteArray>("fileAfter");      // null: no file afterwards

    const QByteArray body = TestEnvironment::pattern(1000);
    const QStringList success{"finished:true:%D/u.tvq:u.tvq", "transfer:true"};
    const QStringList fallback{kFallbackStarted, kStandInFailure, "finished:false:%D/u.tvq:u.tvq",
                               "transfer:false"};
    const ReleaseServer::Response none;

    QTest::newRow("written, 300/300/400 give 30/60/100")
        << inPieces(body, {300, 300}) << false << none << QByteArray() << true
        << QList<qint64>{30, 60, 100} << success << body;
    QTest::newRow("division first: 290 of 1000 gives 28")
        << inPieces(body, {290}) << false << none << QByteArray() << true
        << QList<qint64>{28, 100} << success << body;
    // A file of the right size proves nothing on its own: without a record of what the
    // server said when it was downloaded, it is fetched again.
    QTest::newRow("same size on disk without a record is downloaded again")
        << inPieces(body, {300}) << false << none << TestEnvironment::pattern(1000, 'A') << true
        << QList<qint64>{30, 100} << success << body;
    QTest::newRow("other size on disk is downloaded again")
        << inPieces(body, {500}) << false << none << QByteArray("old update") << true
        << QList<qint64>{50, 100} << success << body;
    QTest::newRow("HEAD error, GET works")
        << inPieces(body, {500}) << true << ReleaseServer::Response::error(500)
        << TestEnvironment::pattern(1000, 'A') << true << QList<qint64>{50, 100} << success
        << body;
    ReleaseServer::Response headWithoutLength = ReleaseServer::Response::ok(body);
    headWithoutLength.sendContentLength = false;
    QTest::newRow("HEAD without length never reuses")
        << inPieces(body, {500}) << true << headWithoutLength
        << TestEnvironment::pattern(1000, 'A') << true << QList<qint64>{50, 100} << success
        << body;
    ReleaseServer::Response noLength = inPieces(body, {300, 300});
    noLength.sendContentLength = false;
    QTest::newRow("no Content-Length reports 0")
        << noLength << false << none << QByteArray() << true << QList<qint64>{0, 0, 0} << success
        << body;
    QTest::newRow("GET 404 falls back")
        << ReleaseServer::Response::error(404) << false << none << QByteArray() << false
        << QList<qint64>{} << fallback << QByteArray();
    QTest::newRow("GET 500 falls back, old file left alone")
        << ReleaseServer::Response::error(500) << false << none << QByteArray("old") << false
        << QList<qint64>{} << fallback << QByteArray("old");
    ReleaseServer::Response shortBody = inPieces(body.left(600), {300});
    shortBody.declaredLength = 1000;
    QTest::newRow("body shorter than its length falls back")
        << shortBody << true << ReleaseServer::Response::ok(body) << QByteArray() << true
        << QList<qint64>{30, 60} << fallback << QByteArray();
    ReleaseServer::Response cut = inPieces(body, {400});
    cut.closeAfterBytes = 700;
    QTest::newRow("connection closed mid-body falls back")
        << cut << false << none << QByteArray() << true << QList<qint64>{40, 70} << fallback
        << QByteArray();
    ReleaseServer::Response longBody = inPieces(body + body.left(200), {600});
    longBody.chunkedEncoding = true;
    longBody.declaredLength = 1000;
    QTest::newRow("body longer than its length falls back")
        << longBody << true << ReleaseServer::Response::ok(body) << QByteArray() << true
        << QList<qint64>{60, 120} << fallback << QByteArray();
    QTest::newRow("redirect is followed")
        << ReleaseServer::Response::redirect(302, "/releases/moved/u.tvq") << false << none
        << QByteArray() << true << QList<qint64>{50, 100} << success << body;
}

void DownloadTest::outcomes()
{
    QFETCH(ReleaseServer::Response, get);
    QFETCH(bool, ownHead);
    QFETCH(ReleaseServer::Response, head);
    QFETCH(QByteArray, existing);
    QFETCH(bool, checkProgress);
    QFETCH(QList<qint64>, progress);
    QFETCH(QStringList, rest);
    QFETCH(QByteArray, fileAfter);

    auto downloader = downloaderFor(TestEnvironment::catalogueFor(QStringLiteral("u.tvq")));
    QVERIFY(downloader);
    const QString path = QStringLiteral("/releases/u.tvq");
    server.setResponse("GET", path, get);
    if (ownHead)
        server.setResponse("HEAD", path, head);
    server.setResponse("GET", QStringLiteral("/releases/moved/u.tvq"),
                       inPieces(TestEnvironment::pattern(1000), {500}));
    if (!existing.isNull())
        QVERIFY(TestEnvironment::writeFile(fileIn(QStringLiteral("u.tvq")), existing));

    SignalLog log(downloader.get());
    downloader->downloadFile();
    QVERIFY2(log.waitFor(QStringLiteral("transfer:")), qPrintable(log.entries.join(" | ")));
    QVERIFY(log.waitUntilIdle());  // nothing may follow

    for (QString& entry : rest)
        entry.replace(QStringLiteral("%D"), TestEnvironment::downloadFolder());
    QCOMPARE(log.withoutProgress(), rest);
    if (checkProgress)
        QCOMPARE(log.progress(), progress);

    const QString file = fileIn(QStringLiteral("u.tvq"));
    if (fileAfter.isNull()) {
        QVERIFY(!QFile::exists(file));
    } else {
        QCOMPARE(TestEnvironment::readFile(file), fileAfter);
    }
    // Nothing else is left in the download folder (no temporary or partial files).
    QVERIFY(TestEnvironment::downloadedFiles().size() <= 1);
    QCOMPARE(server.countRequests("HEAD", path), 1);
}

void DownloadTest::unusableFileNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("empty") << QString();
    QTest::newRow("slash") << QStringLiteral("../../evil.tvq");
    QTest::newRow("sub folder") << QStringLiteral("sub/u.tvq");
    QTest::newRow("backslash") << QStringLiteral("..\\u.tvq");
    QTest::newRow("dot") << QStringLiteral(".");
    QTest::newRow("dot dot") << QStringLiteral("..");
    QTest::newRow("drive prefix") << QStringLiteral("C:u.tvq");
    QTest::newRow("newline") << QStringLiteral("u\n.tvq");
    QTest::newRow("tab") << QStringLiteral("u\t.tvq");
    QTest::newRow("delete character") << QStringLiteral("u\x7f.tvq");
    QTest::newRow("Windows device name") << QStringLiteral("con.tvq");
    QTest::newRow("Windows device name without extension") << QStringLiteral("LPT1");
}

void DownloadTest::unusableFileNames()
{
    QFETCH(QString, name);
    auto downloader = downloaderFor(TestEnvironment::catalogueFor(name));
    QVERIFY(downloader);
    QCOMPARE(downloader->currentFileName(), name);
    server.serveFolder(tempRoot);  // whatever the server might offer, nothing is fetched

    SignalLog log(downloader.get());
    downloader->downloadFile();
    QVERIFY(log.waitUntilIdle());
    QCOMPARE(log.entries, (QStringList{kUnusableName, "finished:false::", "transfer:false"}));
    QVERIFY(server.requests().isEmpty());
    QVERIFY(TestEnvironment::downloadedFiles().isEmpty());
    server.serveFolder(QString());
}

void DownloadTest::urlCharactersInName_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("device name only as a prefix") << QStringLiteral("console.tvq");
    QTest::newRow("blank") << QStringLiteral("Tavlo Update 1.6.tvq");
    QTest::newRow("question mark and hash") << QStringLiteral("u?v=2#x.tvq");
    QTest::newRow("percent that looks like an escape") << QStringLiteral("u%41%2F.tvq");
    QTest::newRow("non-ASCII") << QStringLiteral("M\u00fcnchen.tvq");
}

void DownloadTest::urlCharactersInName()
{
    QFETCH(QString, name);
    auto downloader = downloaderFor(TestEnvironment::catalogueFor(name));
    QVERIFY(downloader);
    const QByteArray body = TestEnvironment::pattern(1000);
    server.setResponse("GET", QStringLiteral("/releases/") + name, ReleaseServer::Response::ok(body));

    SignalLog log(downloader.get());
    downloader->downloadFile();
    QVERIFY2(log.waitFor(QStringLiteral("transfer:")), qPrintable(log.entries.join(" | ")));
    QCOMPARE(log.withoutProgress(),
             (QStringList{QStringLiteral("finished:true:%1:%2").arg(fileIn(name), name),
                          "transfer:true"}));
    QCOMPARE(TestEnvironment::readFile(fileIn(name)), body);
    QCOMPARE(server.countRequests("HEAD", QStringLiteral("/releases/") + name), 1);
    QCOMPARE(server.countRequests("GET", QStringLiteral("/releases/") + name), 1);
}

void DownloadTest::probeAndDownloadRepliesLeaveCatalogueAlone()
{
    auto downloader = downloaderFor(TestEnvironment::catalogueFor(QStringLiteral("u.tvq")));
    QVERIFY(downloader);
    const QString urlBefore = downloader->currentDownloadUrl();
    // The update file is itself a valid catalogue: parsing it would change the state.
    const QByteArray body = TestEnvironment::catalogueFor(QStringLiteral("other.tvq"), QStringLiteral("9.9.9"));
    server.setResponse("GET", QStringLiteral("/releases/u.tvq"), ReleaseServer::Response::ok(body));

    SignalLog log(downloader.get());
    downloader->downloadFile();
    QVERIFY(log.waitFor(QStringLiteral("transfer:true")));
    QVERIFY(log.waitUntilIdle());
    QCOMPARE(log.count(QStringLiteral("releases")), 0);
    QCOMPARE(log.count(QStringLiteral("latest:")), 0);
    QCOMPARE(downloader->currentLatestVersion(), QStringLiteral("1.6.0"));
    QCOMPARE(downloader->currentFileName(), QStringLiteral("u.tvq"));
    QCOMPARE(downloader->currentDownloadUrl(), urlBefore);
    QCOMPARE(TestEnvironment::readFile(fileIn(QStringLiteral("u.tvq"))), body);
}

void DownloadTest::secondRunStartsWithEmptyBuffer()
{
    auto downloader = downloaderFor(TestEnvironment::catalogueFor(QStringLiteral("u.tvq")));
    QVERIFY(downloader);
    const QByteArray body = TestEnvironment::pattern(1000);
    ReleaseServer::Response cut = inPieces(body, {300});
    cut.closeAfterBytes = 300;
    // The download and its three retries are cut.
    for (int i = 0; i < 4; ++i)
        server.queueResponse("GET", QStringLiteral("/releases/u.tvq"), cut);
    server.setResponse("GET", QStringLiteral("/releases/u.tvq"), inPieces(body, {300, 300}));

    SignalLog log(downloader.get());
    downloader->downloadFile();
    QVERIFY(log.waitFor(QStringLiteral("transfer:false")));
    QCOMPARE(log.progress(), (QList<qint64>{30}));

    log.entries.clear();
    downloader->downloadFile();
    QVERIFY(log.waitFor(QStringLiteral("transfer:")));
    QCOMPARE(log.progress(), (QList<qint64>{30, 60, 100}));
    QCOMPARE(log.withoutProgress(),
             (QStringList{QStringLiteral("finished:true:%1:u.tvq").arg(fileIn("u.tvq")),
                          "transfer:true"}));
    QCOMPARE(TestEnvironment::readFile(fileIn(QStringLiteral("u.tvq"))), body);
}

void DownloadTest::folderServedRelease()
{
    QTemporaryDir folder(tempRoot + QStringLiteral("/served-XXXXXX"));
    QVERIFY(folder.isValid());
    const QByteArray body = TestEnvironment::pattern(3 * 1024 * 1024 + 17);
    QVERIFY(TestEnvironment::writeFile(folder.filePath("releases.json"),
                                       TestEnvironment::catalogueFor(QStringLiteral("tavlo_2_0.tvq"), "2.0.0")));
    QVERIFY(TestEnvironment::writeFile(folder.filePath("tavlo_2_0.tvq"), body));
    server.serveFolder(folder.path());

    auto downloader = std::make_unique<Downloader>(server.baseUrl());
    SignalLog log(downloader.get());
    downloader->fetchReleasesJson();
    QVERIFY(log.waitFor(QStringLiteral("latest:2.0.0")));
    downloader->downloadFile();
    QVERIFY(log.waitFor(QStringLiteral("transfer:")));
    QCOMPARE(log.withoutProgress().mid(2),
             (QStringList{QStringLiteral("finished:true:%1:tavlo_2_0.tvq")
                              .arg(fileIn("tavlo_2_0.tvq")),
                          "transfer:true"}));
    QCOMPARE(log.progress().last(), qint64(100));
    QCOMPARE(TestEnvironment::readFile(fileIn(QStringLiteral("tavlo_2_0.tvq"))), body);
    server.serveFolder(QString());
}

void DownloadTest::destroyedWhileDownloading()
{
    auto downloader = downloaderFor(TestEnvironment::catalogueFor(QStringLiteral("u.tvq")));
    QVERIFY(downloader);
    ReleaseServer::Response slow = inPieces(TestEnvironment::pattern(1000), {100, 100, 100});
    slow.pieceDelayMs = 300;
    server.setResponse("GET", QStringLiteral("/releases/u.tvq"), slow);

    auto* log = new SignalLog(downloader.get());
    downloader->downloadFile();
    QVERIFY(log->waitFor(QStringLiteral("progress:")));
    downloader.reset();  // the reply is still open
    // The server goes on sending into a closed connection until it notices.
    QTRY_COMPARE_WITH_TIMEOUT(server.openConnections(), 0, 10000);
    QVERIFY(!QFile::exists(fileIn(QStringLiteral("u.tvq"))));
}

QTEST_GUILESS_MAIN(DownloadTest)
#include "tst_transfer.moc"
