// The update file is trusted only once checked: a local copy is reused only when it passes
// the same check as a download; a download streams to a temporary file and takes its final
// name only when its length, the catalogue's size and SHA-256 agree; an error page is no
// progress; a stall ends the download with a reason, and bytes that trickle in below a
// write's worth are no stall and are all saved. Both editions' Downloader.
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

#include <unistd.h>

#include <memory>

#include "DownloadFailureText.h"
#include "download/full/Downloader.h"
#include "DownloadTimings.h"
#include "LocalCopyRecord.h"
#include "ReleaseServer.h"
#include "SignalLog.h"
#include "TestEnvironment.h"
#include "UpdateReceiver.h"

Q_DECLARE_METATYPE(ReleaseServer::Response)

namespace {

const QString kName = QStringLiteral("u.tvq");
const QString kPath = QStringLiteral("/releases/u.tvq");

QByteArray sha(const QByteArray& data)
{
    return QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex();
}

ReleaseServer::Response withHeader(const QByteArray& body, const QByteArray& name,
                                   const QByteArray& value)
{
    ReleaseServer::Response response = ReleaseServer::Response::ok(body);
    response.extraHeaders.append({name, value});
    return response;
}

}  // namespace

class IntegrityTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void folderIsTheUsersOwn();
    void reuse_data();
    void reuse();
    void checkedDownload_data();
    void checkedDownload();
    void errorPageIsNoProgress();
    void tooLargeIsRefused_data();
    void tooLargeIsRefused();
    void stallEndsTheDownload();
    void trickleIsNoStall();
    void fullDiskIsSaidSo();

private:
    std::unique_ptr<Downloader> downloaderFor(const QByteArray& extraFields);
    QString fileIn(const QString& name) const
    {
        return TestEnvironment::downloadFolder() + QLatin1Char('/') + name;
    }

    ReleaseServer server;
    QTemporaryDir curlDir;
    std::unique_ptr<QTemporaryDir> tempDir;
};

void IntegrityTest::initTestCase()
{
    TestEnvironment::originalSearchPath();
    QVERIFY2(server.start(), qPrintable(server.errorText()));
    ReleaseServer::trustInThisProcess();
    QVERIFY(curlDir.isValid());
    TestEnvironment::writeStandInCurl(curlDir.path(),
                                      "#!/bin/sh\necho 'stand-in: no network' >&2\nexit 6\n");
    TestEnvironment::setSearchPath(curlDir.path(), false);
}

void IntegrityTest::init()
{
    tempDir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/integrity-XXXXXX"));
    QVERIFY(tempDir->isValid());
    TestEnvironment::setTempDir(tempDir->path());
    server.clearResponses();
    server.clearRequests();
}

void IntegrityTest::cleanup()
{
    tempDir.reset();
}

std::unique_ptr<Downloader> IntegrityTest::downloaderFor(const QByteArray& extraFields)
{
    return TestEnvironment::downloaderAfterCatalogue<Downloader>(
        server, TestEnvironment::catalogueFor(kName, QStringLiteral("1.6.0"), extraFields));
}

void IntegrityTest::folderIsTheUsersOwn()
{
    auto downloader = downloaderFor(QByteArray());
    QVERIFY(downloader);
    const QString folder = downloader->currentDownloadDir();
    QCOMPARE(folder, QDir(TestEnvironment::downloadFolder()).absolutePath());
    QVERIFY(!folder.startsWith(QDir::tempPath() + QStringLiteral("/u")));
    const QFile::Permissions permissions = QFileInfo(folder).permissions();
    QVERIFY(permissions & QFile::WriteOwner);
    QVERIFY(!(permissions & (QFile::WriteGroup | QFile::WriteOther | QFile::ReadOther)));

    // A symbolic link planted where the folder belongs is not followed.
    QVERIFY(QDir(folder).removeRecursively());
    QVERIFY(QFile::link(tempDir->path(), folder));
    Downloader planted(server.baseUrl());
    QCOMPARE(planted.currentDownloadDir(), QString());
}

void IntegrityTest::reuse_data()
{
    QTest::addColumn<QByteArray>("extra");       // catalogue fields
    QTest::addColumn<ReleaseServer::Response>("get");
    QTest::addColumn<QByteArray>("existing");
    QTest::addColumn<QByteArray>("record");      // side file; null: none
    QTest::addColumn<bool>("reused");

    const QByteArray body = TestEnvironment::pattern(1000);
    const QByteArray other = TestEnvironment::pattern(1000, 'A');
    const QByteArray withSum = ",\"sha256\":\"" + sha(body) + "\"";
    const auto etag = withHeader(body, "ETag", "\"v1\"");
    const auto modified = withHeader(body, "Last-Modified", "Tue, 01 Dec 2026 10:00:00 GMT");
    LocalCopyRecord r;
    r.size = 1000;
    r.etag = QStringLiteral("\"v1\"");
    const QByteArray v1 = r.serialize();
    r.etag = QStringLiteral("\"v0\"");
    const QByteArray v0 = r.serialize();
    r.etag.clear();
    r.lastModified = QStringLiteral("Tue, 01 Dec 2026 10:00:00 GMT");
    const QByteArray lm = r.serialize();
    r.size = 999;
    const QByteArray wrongSize = r.serialize();

    QTest::newRow("checksum matches: reused") << withSum << ReleaseServer::Response::ok(body) << body
                                              << QByteArray() << true;
    QTest::newRow("checksum differs, same size: downloaded")
        << withSum << ReleaseServer::Response::ok(body) << other << QByteArray() << false;
    QTest::newRow("recorded ETag matches: reused") << QByteArray() << etag << other << v1 << true;
    QTest::newRow("recorded ETag is older: downloaded") << QByteArray() << etag << other << v0 << false;
    QTest::newRow("recorded Last-Modified matches: reused") << QByteArray() << modified << other << lm
                                                            << true;
    QTest::newRow("record of another size: downloaded") << QByteArray() << modified << other
                                                        << wrongSize << false;
    QTest::newRow("server sends no validator: downloaded") << QByteArray()
                                                           << ReleaseServer::Response::ok(body)
                                                           << other << v1 << false;
    QTest::newRow("garbage record: downloaded") << QByteArray() << etag << other
                                                << QByteArray("\x01{not json") << false;
    QTest::newRow("catalogue size differs from the server's: downloaded, then refused")
        << QByteArray(",\"total_file_size\":\"999\"") << etag << other << v1 << false;
}

void IntegrityTest::reuse()
{
    QFETCH(QByteArray, extra);
    QFETCH(ReleaseServer::Response, get);
    QFETCH(QByteArray, existing);
    QFETCH(QByteArray, record);
    QFETCH(bool, reused);

    auto downloader = downloaderFor(extra);
    QVERIFY(downloader);
    server.setResponse("GET", kPath, get);
    QVERIFY(TestEnvironment::writeFile(fileIn(kName), existing));
    if (!record.isNull())
        QVERIFY(TestEnvironment::writeFile(LocalCopyRecord::pathFor(fileIn(kName)), record));

    SignalLog log(downloader.get());
    downloader->downloadFile();
    QVERIFY2(log.waitFor(QStringLiteral("transfer:")), qPrintable(log.entries.join(" | ")));
    QVERIFY(log.waitUntilIdle());
    QCOMPARE(server.countRequests("GET", kPath), reused ? 0 : 1);
    if (reused) {
        QCOMPARE(log.entries, (QStringList{QStringLiteral("finished:true:%1:u.tvq").arg(fileIn(kName)),
                                           "transfer:true"}));
        QCOMPARE(TestEnvironment::readFile(fileIn(kName)), existing);
    }
    // Never a partial file in the folder.
    for (const QString& name : TestEnvironment::downloadedFiles())
        QVERIFY2(!name.endsWith(QLatin1String(".part")), qPrintable(name));
}

void IntegrityTest::checkedDownload_data()
{
    QTest::addColumn<QByteArray>("extra");
    QTest::addColumn<QByteArray>("served");
    QTest::addColumn<QString>("reason");  // empty: the download succeeds

    const QByteArray body = TestEnvironment::pattern(5000);
    QTest::newRow("checksum and size agree") << (",\"sha256\":\"" + sha(body).toUpper()
                                                 + "\",\"total_file_size\":\"5000\"")
                                             << body << QString();
    QTest::newRow("checksum differs") << (",\"sha256\":\"" + sha(body + "x") + "\"") << body
                                      << "The update file does not match its checksum, so it was "
                                         "not used.";
    QTest::newRow("size differs") << QByteArray(",\"total_file_size\":\"4000\"") << body
                                  << "The update file has the wrong size (5000 bytes instead of "
                                     "4000), so it was not used.";
    QTest::newRow("size not a positive whole number is ignored")
        << QByteArray(",\"total_file_size\":\"-5\"") << body << QString();
    // A checksum that is none: the file is not even asked for (so nothing is left either).
    QTest::newRow("malformed checksum refuses the file")
        << QByteArray(",\"sha256\":\"xyz\"") << body
        << "The catalogue's checksum for this file cannot be read, so it was not downloaded.";
}

void IntegrityTest::checkedDownload()
{
    QFETCH(QByteArray, extra);
    QFETCH(QByteArray, served);
    QFETCH(QString, reason);

    auto downloader = downloaderFor(extra);
    QVERIFY(downloader);
    ReleaseServer::Response response = ReleaseServer::Response::ok(served);
    response.pieces = {2000, 2000};
    response.pieceDelayMs = 20;
    server.setResponse("GET", kPath, response);

    SignalLog log(downloader.get());
    downloader->downloadFile();
    QVERIFY2(log.waitFor(QStringLiteral("transfer:")), qPrintable(log.entries.join(" | ")));
    QVERIFY(log.waitUntilIdle());
    if (reason.isEmpty()) {
        QCOMPARE(log.withoutProgress().last(), QStringLiteral("transfer:true"));
        QCOMPARE(TestEnvironment::readFile(fileIn(kName)), served);
        QCOMPARE(TestEnvironment::downloadedFiles(), QStringList{kName});
        return;
    }
    // A file refused before it is asked for has no path yet.
    const bool asked = server.countRequests("GET", kPath) > 0;
    QCOMPARE(asked, !reason.contains(QLatin1String("checksum for this file cannot be read")));
    QCOMPARE(log.withoutProgress(),
             (QStringList{QStringLiteral("status:false:") + reason,
                          "finished:false:" + (asked ? fileIn(kName) : QString()) + ":u.tvq", "transfer:false"}));
    QCOMPARE(downloader->failureReason(), reason);
    // Deleted: nothing of it is left, under any name.
    QCOMPARE(TestEnvironment::downloadedFiles(), QStringList{});
}

// No update file is larger than 2 GiB: one the catalogue or the server says is larger is not
// taken (nor, from the catalogue, even asked for).
void IntegrityTest::tooLargeIsRefused_data()
{
    QTest::addColumn<QByteArray>("extra");
    QTest::addColumn<qint64>("announced"); // the Content-Length the server gives; -1: the true one
    QTest::addColumn<bool>("asked");
    QTest::newRow("catalogue's size over 2 GiB") << QByteArray(",\"total_file_size\":\"3000000000\"") << qint64(-1)
                                                 << false;
    QTest::newRow("announced over 2 GiB") << QByteArray() << qint64(3000000000) << true;
}

void IntegrityTest::tooLargeIsRefused()
{
    QFETCH(QByteArray, extra);
    QFETCH(qint64, announced);
    QFETCH(bool, asked);
    auto downloader = downloaderFor(extra);
    QVERIFY(downloader);
    ReleaseServer::Response response = ReleaseServer::Response::ok(QByteArray(4000, 'u'));
    response.declaredLength = announced;
    response.pieces = {2000, 2000};
    response.pieceDelayMs = 200;
    server.setResponse("GET", kPath, response);

    SignalLog log(downloader.get());
    downloader->downloadFile();
    QVERIFY2(log.waitFor(QStringLiteral("transfer:")), qPrintable(log.entries.join(" | ")));
    QCOMPARE(downloader->failureReason(),
             QStringLiteral("The update file is larger than an update file can be (over 2 GiB), so it was not downloaded."));
    QCOMPARE(server.countRequests("GET", kPath) > 0, asked);
    QCOMPARE(TestEnvironment::downloadedFiles(), QStringList{});
}

void IntegrityTest::errorPageIsNoProgress()
{
    auto downloader = downloaderFor(QByteArray());
    QVERIFY(downloader);
    ReleaseServer::Response page = ReleaseServer::Response::ok(QByteArray(153, 'e'));
    page.status = 404;
    server.setResponse("GET", kPath, page);

    SignalLog log(downloader.get());
    downloader->downloadFile();
    QVERIFY(log.waitFor(QStringLiteral("transfer:false")));
    QCOMPARE(log.progress(), QList<qint64>{});
    // The second route failed after it (the stand-in has no network): its reason is the last.
    QVERIFY(!downloader->failureReason().isEmpty());
    QCOMPARE(TestEnvironment::downloadedFiles(), QStringList{});
}

void IntegrityTest::stallEndsTheDownload()
{
    DownloadTimings timings = TestEnvironment::quickRetries();
    timings.stallTimeoutMs = 300;
    server.setCatalogue(TestEnvironment::catalogueFor(kName));
    Downloader downloader(server.baseUrl(), timings);
    SignalLog log(&downloader);
    downloader.fetchReleasesJson();
    QVERIFY(log.waitFor(QStringLiteral("latest:")));
    ReleaseServer::Response stalls = ReleaseServer::Response::ok(TestEnvironment::pattern(1000));
    stalls.pieces = {300};
    stalls.pieceDelayMs = 5000;
    server.setResponse("GET", kPath, stalls);

    log.entries.clear();
    downloader.downloadFile();
    // The stall, then three more tries that stall the same way.
    QVERIFY(log.waitFor(QStringLiteral("transfer:false"), 4000));
    int byQt = 0;
    for (const ReleaseServer::Request& request : server.requests())
        byQt += request.method == "GET" && request.path == kPath && !request.userAgent.startsWith("curl/");
    QCOMPARE(byQt, 4);
    QCOMPARE(log.progress(), QList<qint64>{30});
    // The stand-in curl fails too; the reason of the first route was the stall.
    QCOMPARE(log.withoutProgress().first(),
             QStringLiteral("status:true:Hmm, the download didn\u2019t go through"));
    QVERIFY2(downloader.failureReason().contains(QStringLiteral("could not be reached")),
             qPrintable(downloader.failureReason()));
    QCOMPARE(TestEnvironment::downloadedFiles(), QStringList{});
}

void IntegrityTest::trickleIsNoStall()
{
    // 4000 bytes are written 20 at a time: after the first piece, pieces of 10 bytes are
    // left in the reply, 200 ms apart, for longer than the stall time in all; the last 10
    // bytes come alone, just before the end.
    DownloadTimings timings = DownloadTimings::production();
    timings.stallTimeoutMs = 350;
    const QByteArray body = TestEnvironment::pattern(4000);
    QCOMPARE(UpdateReceiver::batchFor(body.size()), qint64(20));
    server.setCatalogue(TestEnvironment::catalogueFor(
        kName, QStringLiteral("1.6.0"), ",\"sha256\":\"" + sha(body) + "\""));
    Downloader downloader(server.baseUrl(), timings);
    SignalLog log(&downloader);
    downloader.fetchReleasesJson();
    QVERIFY(log.waitFor(QStringLiteral("latest:")));
    ReleaseServer::Response trickles = ReleaseServer::Response::ok(body);
    trickles.pieces = {100, 10, 10, 10, 10, 10, 10, 3830};
    trickles.pieceDelayMs = 200;
    server.setResponse("GET", kPath, trickles);

    log.entries.clear();
    downloader.downloadFile();
    QVERIFY2(log.waitFor(QStringLiteral("transfer:"), 8000), qPrintable(log.entries.join(" | ")));
    QVERIFY2(log.entries.contains(QStringLiteral("transfer:true")), qPrintable(log.entries.join(" | ")));
    // The held bytes came with the end of the reply: every one of them is in the file.
    QCOMPARE(TestEnvironment::downloadedFiles(), QStringList{kName});
    QFile saved(fileIn(kName));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), body);
    QCOMPARE(log.progress().first(), qint64(2));
    QCOMPARE(log.progress().last(), qint64(100));
}

// A disk that fills up during the download is said to be full (not read-only), and nothing
// of the file is left. Needs a small disk of its own: as root, a tmpfs.
void IntegrityTest::fullDiskIsSaidSo()
{
    if (::geteuid() != 0)
        QSKIP("needs root for a small tmpfs");
    QTemporaryDir disk;
    QVERIFY(disk.isValid());
    const auto mount = [](const QStringList& arguments) {
        QProcess process;
        process.start(QStringLiteral("/bin/mount"), arguments); // the search path is the stand-in curl's
        return process.waitForFinished() && process.exitCode() == 0;
    };
    QVERIFY(mount({"-t", "tmpfs", "-o", "size=256k,mode=0700", "tavlo-test", disk.path()}));
    const auto unmount = qScopeGuard([&] { QProcess::execute("/bin/umount", {"-l", disk.path()}); });

    ReleaseServer::Response response = ReleaseServer::Response::ok(TestEnvironment::pattern(3 * 1024 * 1024));
    response.pieces = {100 * 1000, 100 * 1000, 100 * 1000};
    server.setResponse("GET", kPath, response);
    QNetworkAccessManager network;
    UpdateReceiver receiver;
    QSignalSpy failed(&receiver, &UpdateReceiver::failed);
    QUrl url = server.baseUrl();
    url.setPath(kPath);
    receiver.start(network, url, kName, disk.path() + QLatin1Char('/') + kName);
    QTRY_COMPARE_WITH_TIMEOUT(failed.size(), 1, 20000);
    QCOMPARE(failed.at(0).at(0).value<UpdateReceiver::Failure>(), UpdateReceiver::Failure::WriteFailed);
    QCOMPARE(failed.at(0).at(2).toString(), DownloadFailureText::folderFull());
    QCOMPARE(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

QTEST_GUILESS_MAIN(IntegrityTest)
#include "tst_integrity.moc"
