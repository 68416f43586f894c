// The update-only edition's download: the same probe, reuse and write as the full edition, but
// every failure ends silently (progress signals at most) and nothing falls back to curl.
#include "download/updater/Downloader.h"
#include "ReleaseServer.h"
#include "SignalLog.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(ReleaseServer::Response)

namespace {

const QString kName = QStringLiteral("tavlo-1.6.0.tvq");

} // namespace

class TestDownload : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void outcomes_data();
    void outcomes();
    void unusableFileNames_data();
    void unusableFileNames();

private:
    std::unique_ptr<Downloader> downloaderFor(const QByteArray& catalogue);
    // Runs downloadFile() and waits until the server has answered and the reply has ended.
    void runDownload(Downloader& downloader, SignalLog& log);
    QString fileIn(const QString& name) const
    {
        return TestEnvironment::downloadFolder() + QLatin1Char('/') + name;
    }

    ReleaseServer server;
    QTemporaryDir tempRoot; // holds nothing but the temporary folder of the current case
    QTemporaryDir curlDir;
    std::unique_ptr<QTemporaryDir> tempDir;
};

void TestDownload::initTestCase()
{
    TestEnvironment::originalSearchPath();
    QVERIFY(tempRoot.isValid());
    QVERIFY2(server.start(), qPrintable(server.errorText()));
    ReleaseServer::trustInThisProcess();
    QVERIFY(curlDir.isValid());
    // A curl that leaves a mark: this edition must never start it.
    TestEnvironment::writeStandInCurl(curlDir.path(), "#!/bin/sh\ntouch \"$(dirname \"$0\")/ran\"\nexit 6\n");
    TestEnvironment::setSearchPath(curlDir.path(), true);
}

void TestDownload::init()
{
    tempDir = std::make_unique<QTemporaryDir>(tempRoot.filePath(QStringLiteral("download-XXXXXX")));
    QVERIFY(tempDir->isValid());
    TestEnvironment::setTempDir(tempDir->path());
    server.clearResponses();
    server.clearRequests();
    QFile::remove(curlDir.filePath(QStringLiteral("ran")));
}

void TestDownload::cleanup()
{
    QVERIFY2(!QFile::exists(curlDir.filePath(QStringLiteral("ran"))), "curl was started");
    tempDir.reset();
}

std::unique_ptr<Downloader> TestDownload::downloaderFor(const QByteArray& catalogue)
{
    return TestEnvironment::downloaderAfterCatalogue<Downloader>(server, catalogue);
}

void TestDownload::runDownload(Downloader& downloader, SignalLog& log)
{
    downloader.downloadFile();
    // Done when the result is announced (after the retries of a dropped connection).
    QTRY_VERIFY_WITH_TIMEOUT(log.contains(QStringLiteral("transfer:")), 15000);
    QVERIFY(log.waitUntilIdle());
}

void TestDownload::outcomes_data()
{
    QTest::addColumn<ReleaseServer::Response>("get");
    QTest::addColumn<QByteArray>("existing");  // null: no file beforehand
    QTest::addColumn<bool>("directoryInTheWay"); // the update file's path is a directory
    QTest::addColumn<bool>("succeeds");
    QTest::addColumn<QByteArray>("fileAfter"); // null: no file afterwards

    const QByteArray body(25000, 'u');
    ReleaseServer::Response ok = ReleaseServer::Response::ok(body);
    ok.pieces = {10000, 10000};
    ok.pieceDelayMs = 50;

    QTest::newRow("downloaded and written") << ok << QByteArray() << false << true << body;
    // The same size alone proves nothing: without a record of the server's answer it is
    // downloaded again.
    QTest::newRow("local copy of the same size without a record replaced")
        << ok << QByteArray(25000, 'c') << false << true << body;
    QTest::newRow("local copy of another size replaced") << ok << QByteArray(100, 'c') << false << true << body;

    ReleaseServer::Response dropped = ok;
    dropped.closeAfterBytes = 12000;
    QTest::newRow("connection lost mid-body") << dropped << QByteArray() << false << false << QByteArray();
    ReleaseServer::Response longer = ReleaseServer::Response::ok(body);
    longer.declaredLength = 30000;
    longer.closeAfterBytes = 25000;
    QTest::newRow("body shorter than announced") << longer << QByteArray() << false << false << QByteArray();
    QTest::newRow("write refused") << ok << QByteArray() << true << false << QByteArray();
}

void TestDownload::outcomes()
{
    QFETCH(ReleaseServer::Response, get);
    QFETCH(QByteArray, existing);
    QFETCH(bool, directoryInTheWay);
    QFETCH(bool, succeeds);
    QFETCH(QByteArray, fileAfter);

    server.setResponse("GET", QStringLiteral("/releases/") + kName, get);
    auto downloader = downloaderFor(TestEnvironment::catalogueFor(kName));
    QVERIFY(downloader);
    if (!existing.isNull())
        QVERIFY(TestEnvironment::writeFile(fileIn(kName), existing));
    if (directoryInTheWay)
        QVERIFY(QDir(TestEnvironment::downloadFolder()).mkdir(kName));

    SignalLog log(downloader.get());
    runDownload(*downloader, log);

    if (succeeds) {
        QCOMPARE(log.withoutProgress(),
                 (QStringList{QStringLiteral("finished:true:%1:%2").arg(fileIn(kName), kName),
                              QStringLiteral("transfer:true")}));
    } else {
        // No longer silent: the failure is told, with its reason.
        const QStringList told = log.withoutProgress();
        QCOMPARE(told.size(), 2);
        QVERIFY(told.at(0).startsWith(QStringLiteral("finished:false:")));
        QCOMPARE(told.at(1), QStringLiteral("transfer:false"));
        QVERIFY(!downloader->failureReason().isEmpty());
    }
    const QList<qint64> progress = log.progress();
    for (int i = 1; i < progress.size(); ++i)
        QVERIFY(progress.at(i) >= progress.at(i - 1));
    if (!succeeds && !directoryInTheWay)
        QVERIFY(progress.isEmpty() || progress.constLast() < 100);

    if (directoryInTheWay) {
        QVERIFY(QFileInfo(fileIn(kName)).isDir());
        // No half-written file is left beside it.
        QCOMPARE(TestEnvironment::downloadedFiles(), QStringList{});
    } else if (fileAfter.isNull()) {
        QVERIFY(!QFile::exists(fileIn(kName)));
    } else {
        QCOMPARE(TestEnvironment::readFile(fileIn(kName)), fileAfter);
    }
}

void TestDownload::unusableFileNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("parent folder") << QStringLiteral("../escaped.tvq");
    QTest::newRow("subfolder") << QStringLiteral("sub/escaped.tvq");
    QTest::newRow("backslash") << QStringLiteral("..\\\\escaped.tvq");
    QTest::newRow("drive") << QStringLiteral("C:escaped.tvq");
    QTest::newRow("device name") << QStringLiteral("CON.tvq");
    QTest::newRow("dot dot") << QStringLiteral("..");
}

void TestDownload::unusableFileNames()
{
    QFETCH(QString, name);
    const QDir parent(tempRoot.path());
    const QStringList parentBefore = parent.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);

    auto downloader = downloaderFor(TestEnvironment::catalogueFor(name));
    QVERIFY(downloader);
    SignalLog log(downloader.get());
    downloader->downloadFile();
    QVERIFY(log.waitUntilIdle());

    // Nothing fetched, nothing written anywhere; the failure is told with its reason.
    QCOMPARE(log.entries, (QStringList{"finished:false::", "transfer:false"}));
    QVERIFY(downloader->failureReason().contains(QStringLiteral("unusable name")));
    QCOMPARE(server.requests().size(), 0);
    QCOMPARE(TestEnvironment::downloadedFiles(), QStringList{});
    QCOMPARE(QDir(TestEnvironment::downloadFolder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
             QStringList{});
    QCOMPARE(parent.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), parentBefore);
}

QTEST_MAIN(TestDownload)
#include "tst_updater_download.moc"
