// A download that loses its connection continues where it stopped: the full edition's
// Downloader against the local release server, which cuts the connection, ignores ranges,
// stalls or changes the file between two requests. Each case checks what the user gets (the
// file and its checksum, or the reason), what the server was asked (a Range from the byte
// that arrived last, with If-Range) and that progress never goes back.
#include "download/full/Downloader.h"
#include "CurlFallback.h"
#include "PartialFile.h"
#include "ReleaseServer.h"
#include "SignalLog.h"
#include "TestEnvironment.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QString kName = QStringLiteral("tavlo-1.6.0.tvq");
const QString kPath = QStringLiteral("/releases/tavlo-1.6.0.tvq");
constexpr qint64 kSize = 200000;

QByteArray sha256(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

QByteArray catalogueOf(const QByteArray& file, bool withChecksum)
{
    QByteArray fields = ",\"total_file_size\":\"" + QByteArray::number(file.size()) + "\"";
    if (withChecksum)
        fields += ",\"sha256\":\"" + sha256(file) + "\"";
    return TestEnvironment::catalogueFor(kName, QStringLiteral("1.6.0"), fields);
}

} // namespace

class ResumeTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void continues_data();
    void continues();
    void retriesRunOut();
    void notRetried_data();
    void notRetried();
    void keptPartial_data();
    void keptPartial();
    void refusedContinuationKeepsPartial_data();
    void refusedContinuationKeepsPartial();

private:
    std::unique_ptr<Downloader> downloader(const QByteArray& catalogue, int stallMs = 30000);
    QList<ReleaseServer::Request> fileRequests(bool byCurl) const;
    QString fileIn(const QString& name) const
    {
        return TestEnvironment::downloadFolder() + QLatin1Char('/') + name;
    }

    ReleaseServer server;
    QTemporaryDir tempRoot;
    std::unique_ptr<QTemporaryDir> tempDir;
    QByteArray body = TestEnvironment::pattern(kSize);
};

void ResumeTest::initTestCase()
{
    TestEnvironment::originalSearchPath();
    QVERIFY(tempRoot.isValid());
    QVERIFY2(server.start(), qPrintable(server.errorText()));
    ReleaseServer::trustInThisProcess();
}

void ResumeTest::init()
{
    tempDir = std::make_unique<QTemporaryDir>(tempRoot.filePath(QStringLiteral("resume-XXXXXX")));
    QVERIFY(tempDir->isValid());
    TestEnvironment::setTempDir(tempDir->path());
    server.clearResponses();
    server.clearRequests();
    server.setHonoursRanges(true);
}

void ResumeTest::cleanup()
{
    tempDir.reset();
}

std::unique_ptr<Downloader> ResumeTest::downloader(const QByteArray& catalogue, int stallMs)
{
    DownloadTimings timings = TestEnvironment::quickRetries();
    timings.stallTimeoutMs = stallMs;
    server.setCatalogue(catalogue);
    auto made = std::make_unique<Downloader>(server.baseUrl(), timings);
    SignalLog log(made.get());
    made->fetchReleasesJson();
    if (!log.waitFor(QStringLiteral("latest:"), 10000) || !log.waitUntilIdle(10000))
        return nullptr;
    server.clearRequests();
    return made;
}

QList<ReleaseServer::Request> ResumeTest::fileRequests(bool byCurl) const
{
    QList<ReleaseServer::Request> found;
    for (const ReleaseServer::Request& request : server.requests()) {
        if (request.method == "GET" && request.path == kPath
            && request.userAgent.startsWith("curl/") == byCurl)
            found << request;
    }
    return found;
}

void ResumeTest::continues_data()
{
    QTest::addColumn<int>("cutPercent");      // where the first answer breaks off
    QTest::addColumn<bool>("versioned");      // the server gives a validator
    QTest::addColumn<bool>("ignoresRanges");
    QTest::addColumn<bool>("changes");        // a new version after the first request
    QTest::addColumn<bool>("withChecksum");   // the catalogue gives the first version's
    QTest::addColumn<bool>("stalls");         // the first answer stalls instead of breaking off
    QTest::addColumn<QString>("range");       // the second request's Range ("" none)
    QTest::addColumn<bool>("succeeds");

    const auto at = [](int percent) { return QStringLiteral("bytes=%1-").arg(kSize * percent / 100); };
    QTest::newRow("cut at 10 %") << 10 << true << false << false << true << false << at(10) << true;
    QTest::newRow("cut at 90 %") << 90 << true << false << false << true << false << at(90) << true;
    QTest::newRow("stalled at 40 %") << 40 << true << false << false << true << true << at(40) << true;
    QTest::newRow("server without ranges: whole file again")
        << 50 << true << true << false << true << false << at(50) << true;
    QTest::newRow("no validator: whole file again, no Range")
        << 50 << false << false << false << true << false << QString() << true;
    QTest::newRow("changed on the server: the new file fails its check")
        << 50 << true << false << true << true << false << at(50) << false;
    QTest::newRow("changed on the server: the new file, whole")
        << 50 << true << false << true << false << false << at(50) << true;
}

void ResumeTest::continues()
{
    QFETCH(int, cutPercent);
    QFETCH(bool, versioned);
    QFETCH(bool, ignoresRanges);
    QFETCH(bool, changes);
    QFETCH(bool, withChecksum);
    QFETCH(bool, stalls);
    QFETCH(QString, range);
    QFETCH(bool, succeeds);

    const qint64 cut = kSize * cutPercent / 100;
    // The new version is as long as the old one and shares its first half: a file spliced
    // from both would have the right size.
    QByteArray newer = body;
    newer.replace(kSize / 2, 1000, QByteArray(1000, 'Z'));
    auto d = downloader(catalogueOf(body, withChecksum), stalls ? 400 : 30000);
    QVERIFY(d);
    server.setResponse("GET", kPath, versioned ? ReleaseServer::Response::versioned(body)
                                               : ReleaseServer::Response::ok(body));
    server.setHonoursRanges(!ignoresRanges);
    if (stalls) {
        ReleaseServer::Response slow = ReleaseServer::Response::versioned(body);
        slow.pieces = {cut};
        slow.pieceDelayMs = 5000;
        server.queueResponse("GET", kPath, slow);
    } else {
        server.cutAfterByte(kPath, cut);
    }
    if (changes)
        server.changeAfterNextRequest(kPath, newer);

    SignalLog log(d.get());
    d->downloadFile();
    QVERIFY2(log.waitFor(QStringLiteral("transfer:"), 30000), qPrintable(log.entries.join(" | ")));
    QVERIFY(log.waitUntilIdle());

    const QList<ReleaseServer::Request> asked = fileRequests(false);
    QCOMPARE(asked.size(), 2);
    QVERIFY(asked.at(0).range.isEmpty());
    QCOMPARE(QString::fromLatin1(asked.at(1).range), range);
    QCOMPARE(asked.at(1).ifRange.isEmpty(), range.isEmpty());
    QVERIFY(fileRequests(true).isEmpty()); // curl was not needed
    QCOMPARE(log.contains(QStringLiteral("transfer:true")), succeeds);
    // Never a spliced file: the old version, the new one whole, or nothing.
    if (succeeds)
        QCOMPARE(TestEnvironment::readFile(fileIn(kName)), changes ? newer : body);
    else
        QVERIFY(!QFile::exists(fileIn(kName)));
    if (!succeeds)
        QVERIFY2(d->failureReason().contains(QStringLiteral("checksum")), qPrintable(d->failureReason()));
    QVERIFY(!QFile::exists(PartialFile::pathFor(fileIn(kName))));
    // Progress goes on from what arrived: a continued download never falls back.
    const QList<qint64> progress = log.progress();
    QVERIFY(!progress.isEmpty());
    if (range.isEmpty() || ignoresRanges || changes)
        return; // started again from byte 0 by design
    for (qsizetype i = 1; i < progress.size(); ++i)
        QVERIFY2(progress.at(i) >= progress.at(i - 1), qPrintable(log.entries.join(" | ")));
    QCOMPARE(progress.constLast(), qint64(100));
}

void ResumeTest::retriesRunOut()
{
    auto d = downloader(catalogueOf(body, true));
    QVERIFY(d);
    // Every answer breaks off after 1000 more bytes: the Qt download and its three retries,
    // then curl, each continue a little further.
    ReleaseServer::Response stingy = ReleaseServer::Response::versioned(body);
    stingy.closeAfterBytes = 1000;
    server.setResponse("GET", kPath, stingy);

    SignalLog log(d.get());
    d->downloadFile();
    QVERIFY2(log.waitFor(QStringLiteral("transfer:"), 30000), qPrintable(log.entries.join(" | ")));
    QVERIFY(log.waitUntilIdle());
    QVERIFY(log.contains(QStringLiteral("transfer:false")));
    const QList<ReleaseServer::Request> byQt = fileRequests(false);
    QCOMPARE(byQt.size(), 4);
    for (int i = 1; i < 4; ++i)
        QCOMPARE(byQt.at(i).range, "bytes=" + QByteArray::number(1000 * i) + '-');
    const QList<ReleaseServer::Request> byCurl = fileRequests(true);
    QCOMPARE(byCurl.size(), 1);
    QCOMPARE(byCurl.at(0).range, QByteArray("bytes=4000-"));
    QVERIFY(!byCurl.at(0).ifRange.isEmpty());
    QVERIFY2(d->failureReason().contains(QStringLiteral("continues where it stopped")),
             qPrintable(d->failureReason()));
    const QString partial = PartialFile::pathFor(fileIn(kName));
    QCOMPARE(TestEnvironment::readFile(partial), body.left(5000));
    QVERIFY(!QFile::exists(fileIn(kName)));

    // "Try again" with the connection well again: from byte 5000 on.
    server.setResponse("GET", kPath, ReleaseServer::Response::versioned(body));
    server.clearRequests();
    log.entries.clear();
    d->downloadFile();
    QVERIFY2(log.waitFor(QStringLiteral("transfer:"), 30000), qPrintable(log.entries.join(" | ")));
    QVERIFY(log.contains(QStringLiteral("transfer:true")));
    QCOMPARE(fileRequests(false).size(), 1);
    QCOMPARE(fileRequests(false).at(0).range, QByteArray("bytes=5000-"));
    QCOMPARE(TestEnvironment::readFile(fileIn(kName)), body);
    QVERIFY(!log.progress().isEmpty());
    QVERIFY(log.progress().constFirst() >= 2); // 5000 of 200000 bytes, not 0
    QVERIFY(!QFile::exists(partial));
}

void ResumeTest::notRetried_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("wrongChecksum");
    QTest::addColumn<QString>("reason");
    QTest::newRow("404") << 404 << false << QStringLiteral("404");
    QTest::newRow("500") << 500 << false << QStringLiteral("500");
    QTest::newRow("checksum mismatch") << 200 << true << QStringLiteral("checksum");
}

void ResumeTest::notRetried()
{
    QFETCH(int, status);
    QFETCH(bool, wrongChecksum);
    QFETCH(QString, reason);

    QByteArray catalogue = catalogueOf(body, true);
    if (wrongChecksum)
        catalogue.replace(sha256(body), sha256("another file"));
    auto d = downloader(catalogue);
    QVERIFY(d);
    server.setResponse("GET", kPath, status == 200 ? ReleaseServer::Response::versioned(body)
                                                   : ReleaseServer::Response::error(status));
    SignalLog log(d.get());
    d->downloadFile();
    QVERIFY2(log.waitFor(QStringLiteral("transfer:"), 30000), qPrintable(log.entries.join(" | ")));
    QVERIFY(log.waitUntilIdle());
    QTest::qWait(300); // a retry would have come by now
    QCOMPARE(fileRequests(false).size(), 1);
    QVERIFY2(d->failureReason().contains(reason), qPrintable(d->failureReason()));
    QVERIFY(!d->failureReason().contains(QStringLiteral("continues where it stopped")));
    QVERIFY(!QFile::exists(PartialFile::pathFor(fileIn(kName))));
}

void ResumeTest::keptPartial_data()
{
    QTest::addColumn<bool>("byCurl");            // curl continues it, else the Qt download
    QTest::addColumn<QByteArray>("kept");        // the partial's bytes
    QTest::addColumn<bool>("sameValidator");     // its record names the server's version
    QTest::addColumn<bool>("ignoresRanges");
    QTest::addColumn<QByteArrayList>("ranges");  // curl's requests' Range headers
    QTest::addColumn<bool>("sizeKnown");         // the catalogue gives the file's size

    const QByteArray first = body.left(5000);
    QByteArray spoilt = first;
    spoilt[100] = '!';
    const QByteArrayList continued{"bytes=5000-"};
    const QByteArrayList thenWhole{"bytes=5000-", ""};
    for (const bool curl : {false, true}) {
        const auto row = [curl](const char* name) -> QTestData& {
            return QTest::addRow("%s: %s", curl ? "curl" : "Qt", name) << curl;
        };
        row("same version: the rest appended") << first << true << false << continued << true;
        // The Qt download takes the 200 as the whole file; curl refuses it and asks again.
        row("another version: whole file") << first << false << false << (curl ? thenWhole : continued) << true;
        row("server without ranges: whole file") << first << true << true << (curl ? thenWhole : continued) << true;
        row("kept bytes spoilt: the check fails, whole file") << spoilt << true << false << thenWhole << true;
        row("partial as large as the file: no range asked") << body << true << false << QByteArrayList{""} << true;
        row("partial longer than the file: 416, whole file")
            << body + "junk" << true << false << QByteArrayList{"bytes=200004-", ""} << false;
    }
}

void ResumeTest::keptPartial()
{
    QFETCH(bool, byCurl);
    QFETCH(QByteArray, kept);
    QFETCH(bool, sameValidator);
    QFETCH(bool, ignoresRanges);
    QFETCH(QByteArrayList, ranges);
    QFETCH(bool, sizeKnown);

    QVERIFY(QDir().mkpath(TestEnvironment::downloadFolder()));
    const QString local = fileIn(kName);
    const ReleaseServer::Response served = ReleaseServer::Response::versioned(body);
    server.setResponse("GET", kPath, served);
    server.setHonoursRanges(!ignoresRanges);
    QByteArray etag;
    for (const auto& header : served.extraHeaders) {
        if (header.first == "ETag")
            etag = header.second;
    }
    QVERIFY(!etag.isEmpty());
    QUrl url = server.baseUrl();
    url.setPath(kPath);
    const QString address = url.toString(QUrl::FullyEncoded);
    QVERIFY(TestEnvironment::writeFile(PartialFile::pathFor(local), kept));
    QVERIFY(PartialFile::record(local, sameValidator ? QString::fromLatin1(etag) : QStringLiteral("\"old\""), address));

    if (byCurl) {
        CurlFallback curl;
        QSignalSpy ended(&curl, &CurlFallback::ended);
        UpdateFileCheck expected;
        expected.size = sizeKnown ? body.size() : -1;
        expected.sha256 = QString::fromLatin1(sha256(body));
        curl.start(address, kName, local, expected);
        QTRY_COMPARE_WITH_TIMEOUT(ended.size(), 1, 20000);
        QVERIFY(ended.at(0).at(0).toBool());
    } else {
        QByteArray catalogue = catalogueOf(body, true);
        if (!sizeKnown)
            catalogue.replace(",\"total_file_size\":\"" + QByteArray::number(body.size()) + "\"", "");
        auto d = downloader(catalogue);
        QVERIFY(d);
        SignalLog log(d.get());
        d->downloadFile();
        QVERIFY2(log.waitFor(QStringLiteral("transfer:"), 30000), qPrintable(log.entries.join(" | ")));
        QVERIFY2(log.contains(QStringLiteral("transfer:true")), qPrintable(d->failureReason()));
    }
    QCOMPARE(TestEnvironment::readFile(local), body);
    QVERIFY(!QFile::exists(PartialFile::pathFor(local)));
    QByteArrayList asked;
    for (const ReleaseServer::Request& request : fileRequests(byCurl)) {
        asked << request.range;
        QCOMPARE(request.ifRange.isEmpty(), request.range.isEmpty());
    }
    QCOMPARE(asked, ranges);
}

void ResumeTest::refusedContinuationKeepsPartial_data()
{
    QTest::addColumn<bool>("byCurl");
    QTest::addColumn<int>("status");
    QTest::newRow("Qt: 503") << false << 503;
    QTest::newRow("Qt: 404") << false << 404;
    QTest::newRow("curl: 503") << true << 503;
}

void ResumeTest::refusedContinuationKeepsPartial()
{
    // An error page in answer to a continued request changes nothing of what was kept: the
    // next try continues it all the same.
    QFETCH(bool, byCurl);
    QFETCH(int, status);
    QVERIFY(QDir().mkpath(TestEnvironment::downloadFolder()));
    const QString local = fileIn(kName);
    QUrl url = server.baseUrl();
    url.setPath(kPath);
    const QString address = url.toString(QUrl::FullyEncoded);
    QVERIFY(TestEnvironment::writeFile(PartialFile::pathFor(local), body.left(5000)));
    QVERIFY(PartialFile::record(local, QStringLiteral("\"v1\""), address));
    server.setResponse("GET", kPath, ReleaseServer::Response::error(status));

    if (byCurl) {
        CurlFallback curl;
        QSignalSpy ended(&curl, &CurlFallback::ended);
        curl.start(address, kName, local, UpdateFileCheck());
        QTRY_COMPARE_WITH_TIMEOUT(ended.size(), 1, 20000);
        QVERIFY(!ended.at(0).at(0).toBool());
    } else {
        // The update-only edition's route alone: the Qt download without curl after it.
        auto d = downloader(catalogueOf(body, true));
        QVERIFY(d);
        TestEnvironment::setSearchPath(tempDir->path(), false); // no curl
        SignalLog log(d.get());
        d->downloadFile();
        QVERIFY2(log.waitFor(QStringLiteral("transfer:false"), 30000), qPrintable(log.entries.join(" | ")));
        QVERIFY(log.waitUntilIdle());
        qputenv("PATH", TestEnvironment::originalSearchPath());
    }
    QCOMPARE(fileRequests(byCurl).size(), 1);
    QCOMPARE(fileRequests(byCurl).at(0).range, QByteArray("bytes=5000-"));
    QCOMPARE(TestEnvironment::readFile(PartialFile::pathFor(local)), body.left(5000));
    const ResumeDecision::Partial kept = PartialFile::readFor(local);
    QCOMPARE(ResumeDecision::resumeFrom(kept, address), qint64(5000));
}

QTEST_GUILESS_MAIN(ResumeTest)
#include "tst_resume.moc"
