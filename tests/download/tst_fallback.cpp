#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "download/full/Downloader.h"
#include "ReleaseServer.h"
#include "SignalLog.h"
#include "TestEnvironment.h"

namespace {

const QString kFallbackStarted = QStringLiteral("status:true:Hmm, the download didn\u2019t go through");

QByteArray catalogueFor(const QString& name)
{
    return "[{\"file_name\":\"" + name.toUtf8() + "\",\"version\":\"1.6.0\"}]";
}

QList<QString> capturedWarnings;

void captureWarning(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtWarningMsg)
        capturedWarnings.append(text);
}

}  // namespace

class FallbackTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void realCurlRecovers_data();
    void realCurlRecovers();
    void realCurlDoesNotSaveErrorPages();
    void realCurlPartialFileIsRemoved();
    void fileCannotBeOpened();
    void temporaryFolderUnavailable();
    void fullDisk();
    void standInCurl_data();
    void standInCurl();
    void curlInWorkingDirectoryIsNotUsed();
    void errorLogLine();

private:
    std::unique_ptr<Downloader> downloaderFor(const QString& name);
    QString fileIn(const QString& name) const
    {
        return TestEnvironment::downloadFolder() + QLatin1Char('/') + name;
    }

    ReleaseServer server;
    QString tempRoot;
    QString originalWorkingDir;
    std::unique_ptr<QTemporaryDir> tempDir;
    std::unique_ptr<QTemporaryDir> curlDir;
    QString mountPoint;
};

void FallbackTest::initTestCase()
{
    TestEnvironment::originalSearchPath();
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("curl")).isEmpty(),
             "the real curl is needed on the search path");
    tempRoot = QDir::tempPath();
    originalWorkingDir = QDir::currentPath();
    QVERIFY2(server.start(), qPrintable(server.errorText()));
    ReleaseServer::trustInThisProcess();
}

void FallbackTest::init()
{
    tempDir = std::make_unique<QTemporaryDir>(tempRoot + QStringLiteral("/fallback-XXXXXX"));
    curlDir = std::make_unique<QTemporaryDir>(tempRoot + QStringLiteral("/curl-XXXXXX"));
    QVERIFY(tempDir->isValid() && curlDir->isValid());
    TestEnvironment::setTempDir(tempDir->path());
    qputenv("PATH", TestEnvironment::originalSearchPath());
    server.clearResponses();
    server.clearRequests();
}

void FallbackTest::cleanup()
{
    if (!mountPoint.isEmpty()) {
        QProcess::execute(QStringLiteral("umount"), {mountPoint});
        mountPoint.clear();
    }
    QDir::setCurrent(originalWorkingDir);
    tempDir.reset();
    curlDir.reset();
}

std::unique_ptr<Downloader> FallbackTest::downloaderFor(const QString& name)
{
    return TestEnvironment::downloaderAfterCatalogue<Downloader>(server, catalogueFor(name));
}

void FallbackTest::realCurlRecovers_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("plain name") << QStringLiteral("tavlo_1_6_0.tvq");
    QTest::newRow("blank in the name") << QStringLiteral("Tavlo Update 1.6.tvq");
}

void FallbackTest::realCurlRecovers()
{
    QFETCH(QString, name);
    auto downloader = downloaderFor(name);
    QVERIFY(downloader);
    const QString path = QStringLiteral("/releases/") + name;
    const QByteArray body = TestEnvironment::pattern(50000);
    server.setResponse("GET", path, ReleaseServer::Response::ok(body));
    server.queueResponse("GET", path, ReleaseServer::Response::error(503));

    SignalLog log(downloader.get());
    downloader->downloadFile();
    QVERIFY2(log.waitFor(QStringLiteral("transfer:")), qPrintable(log.entries.join(" | ")));
    QVERIFY(log.waitUntilIdle());
    QCOMPARE(log.withoutProgress(),
             (QStringList{kFallbackStarted, "status:true:Download completed",
                          QStringLiteral("finished:true:%1:%2").arg(fileIn(name), name),
                          "transfer:true"}));
    QCOMPARE(TestEnvironment::readFile(fileIn(name)), body);
    QCOMPARE(server.countRequests("GET", path), 2);
    QVERIFY(server.requests().last().userAgent.startsWith("curl/"));
    // curl wrote into the download folder, never into the working directory.
    QVERIFY(!QFile::exists(QDir::current().filePath(name)));
}

void FallbackTest::realCurlDoesNotSaveErrorPages()
{
    auto downloader = downloaderFor(QStringLiteral("u.tvq"));
    QVERIFY(downloader);
    server.setResponse("GET", QStringLiteral("/releases/u.tvq"), ReleaseServer::Response::error(404));

    SignalLog log(downloader.get());
    downloader->downloadFile();
    QVERIFY(log.waitFor(QStringLiteral("transfer:")));
    const QStringList rest = log.withoutProgress();
    QCOMPARE(rest.size(), 4);
    QCOMPARE(rest.at(0), kFallbackStarted);
    QVERIFY2(rest.at(1).startsWith(QStringLiteral("status:false:Fallback failed: curl: (22)")),
             qPrintable(rest.at(1)));
    QCOMPARE(rest.at(2), QStringLiteral("finished:false:%1:u.tvq").arg(fileIn("u.tvq")));
    QCOMPARE(rest.at(3), QStringLiteral("transfer:false"));
    QVERIFY(TestEnvironment::downloadedFiles().isEmpty());
}

void FallbackTest::realCurlPartialFileIsRemoved()
{
    auto downloader = downloaderFor(QStringLiteral("u.tvq"));
    QVERIFY(downloader);
    ReleaseServer::Response shortBody = ReleaseServer::Response::ok(TestEnvironment::pattern(60000));
    shortBody.declaredLength = 100000;
    server.setResponse("GET", QStringLiteral("/releases/u.tvq"), shortBody);

    SignalLog log(downloader.get());
    downloader->downloadFile();
    QVERIFY(log.waitFor(QStringLiteral("transfer:")));
    const QStringList rest = log.withoutProgress();
    QCOMPARE(rest.size(), 4);
    QCOMPARE(rest.at(0), kFallbackStarted);
    QVERIFY2(rest.at(1).startsWith(QStringLiteral("status:false:Fallback failed: curl: (18)")),
             qPrintable(rest.at(1)));
    QCOMPARE(rest.at(3), QStringLiteral("transfer:false"));
    QVERIFY(!log.contains(QStringLiteral("finished:true")));
    QVERIFY(TestEnvironment::downloadedFiles().isEmpty());
}

void FallbackTest::fileCannotBeOpened()
{
    // The download folder vanishes after start-up: neither the Downloader nor curl can write.
    const QString gone = tempDir->path() + QStringLiteral("/gone");
    QVERIFY(QDir().mkpath(gone));
    TestEnvironment::setTempDir(gone);
    auto downloader = downloaderFor(QStringLiteral("u.tvq"));
    QVERIFY(downloader);
    QVERIFY(QDir(gone).removeRecursively());
    ReleaseServer::Response head = ReleaseServer::Response::ok(QByteArray());
    head.sendContentLength = false;  // the probe learns no size and leaves filePath empty
    server.setResponse("HEAD", QStringLiteral("/releases/u.tvq"), head);
    server.setResponse("GET", QStringLiteral("/releases/u.tvq"),
                       ReleaseServer::Response::ok(TestEnvironment::pattern(1000)));

    SignalLog log(downloader.get());
    downloader->downloadFile();
    QVERIFY2(log.waitFor(QStringLiteral("status:false")), qPrintable(log.entries.join(" | ")));
    QVERIFY(log.waitFor(QStringLiteral("transfer:false")));
    QVERIFY(log.waitUntilIdle());
    const QStringList rest = log.withoutProgress();
    QVERIFY2(rest.size() == 6, qPrintable(rest.join(" | ")));
    QCOMPARE(rest.mid(0, 3), (QStringList{"finished:false::u.tvq", "transfer:false",
                                          kFallbackStarted}));
    QVERIFY2(rest.at(3).startsWith(QStringLiteral("status:false:Fallback failed: curl: (23)")),
             qPrintable(rest.at(3)));
    QCOMPARE(rest.mid(4), (QStringList{QStringLiteral("finished:false:%1:u.tvq").arg(fileIn("u.tvq")),
                                       "transfer:false"}));
    // The temporary file could not be made, so the download stopped before its body.
    QCOMPARE(log.progress(), QList<qint64>{});
}

void FallbackTest::temporaryFolderUnavailable()
{
    // A download folder that cannot be made at start-up (a file stands where the cache
    // folder belongs) leaves no download folder at all; the update must not land in the
    // root folder instead.
    const QString blocked = tempDir->path() + QStringLiteral("/blocked");
    QVERIFY(TestEnvironment::writeFile(blocked, "not a folder"));
    TestEnvironment::setTempDir(blocked);
    auto downloader = downloaderFor(QStringLiteral("u.tvq"));
    QVERIFY(downloader);
    QVERIFY(downloader->currentDownloadDir().isEmpty());
    server.setResponse("GET", QStringLiteral("/releases/u.tvq"),
                       ReleaseServer::Response::ok(TestEnvironment::pattern(1000)));

    SignalLog log(downloader.get());
    downloader->downloadFile();
    QVERIFY(log.waitFor(QStringLiteral("status:false")));
    QVERIFY(log.waitUntilIdle());
    QCOMPARE(log.withoutProgress(),
             (QStringList{"finished:false::u.tvq", "transfer:false", kFallbackStarted,
                          "status:false:Fallback failed: there is no temporary folder to "
                          "download the update into",
                          "finished:false::u.tvq", "transfer:false"}));
    // With no place to put it, the file is not fetched at all.
    QCOMPARE(server.countRequests("GET", QStringLiteral("/releases/u.tvq")), 0);
    QVERIFY(!QFile::exists(QStringLiteral("/u.tvq")));
}

void FallbackTest::fullDisk()
{
    const QString small = tempDir->path() + QStringLiteral("/small");
    QVERIFY(QDir().mkpath(small));
    if (QProcess::execute(QStringLiteral("mount"),
                          {"-t", "tmpfs", "-o", "size=128k", "tmpfs", small}) != 0) {
        QSKIP("a small tmpfs cannot be mounted here (needs root)");
    }
    mountPoint = small;
    TestEnvironment::setTempDir(small);
    auto downloader = downloaderFor(QStringLiteral("u.tvq"));
    QVERIFY(downloader);
    const QByteArray body = TestEnvironment::pattern(512 * 1024);
    server.setResponse("GET", QStringLiteral("/releases/u.tvq"), ReleaseServer::Response::ok(body));

    SignalLog log(downloader.get());
    downloader->downloadFile();
    QVERIFY2(log.waitFor(QStringLiteral("status:false")), qPrintable(log.entries.join(" | ")));
    QVERIFY(log.waitFor(QStringLiteral("transfer:false")));
    QVERIFY(log.waitUntilIdle());
    const QStringList rest = log.withoutProgress();
    QVERIFY2(rest.size() == 6, qPrintable(rest.join(" | ")));
    QCOMPARE(rest.at(0), QStringLiteral("finished:false:%1:u.tvq").arg(fileIn("u.tvq")));
    QCOMPARE(rest.at(1), QStringLiteral("transfer:false"));
    QCOMPARE(rest.at(2), kFallbackStarted);
    QVERIFY2(rest.at(3).startsWith(QStringLiteral("status:false:Fallback failed: curl: (23)")),
             qPrintable(rest.at(3)));
    QVERIFY(!log.contains(QStringLiteral("finished:true")));
    // Neither the Downloader's write nor curl's left a truncated update file behind.
    QVERIFY2(TestEnvironment::downloadedFiles().isEmpty(),
             qPrintable(TestEnvironment::filesIn(small).join(", ")));
}

void FallbackTest::standInCurl_data()
{
    QTest::addColumn<QByteArray>("script");  // null: no curl on the search path at all
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("records its arguments and succeeds")
        << QByteArray("#!/bin/sh\n: > \"$ARGS_FILE\"\n"
                      "for a in \"$@\"; do printf '%s\\n' \"$a\" >> \"$ARGS_FILE\"; done\n"
                      "while [ \"$1\" != -o ]; do shift; done\n"
                      "printf 'stand-in payload' > \"$2\"\n")
        << QStringList{kFallbackStarted, "status:true:Download completed",
                       "finished:true:%D/Tavlo Update.tvq:Tavlo Update.tvq", "transfer:true"};
    QTest::newRow("fails with a message")
        << QByteArray("#!/bin/sh\necho 'curl: (6) Could not resolve host: example' >&2\nexit 6\n")
        << QStringList{kFallbackStarted,
                       "status:false:Fallback failed: curl: (6) Could not resolve host: example\n",
                       "finished:false:%D/Tavlo Update.tvq:Tavlo Update.tvq", "transfer:false"};
    QTest::newRow("fails silently")
        << QByteArray("#!/bin/sh\nexit 3\n")
        << QStringList{kFallbackStarted, "status:false:Fallback failed: curl exited with code 3",
                       "finished:false:%D/Tavlo Update.tvq:Tavlo Update.tvq", "transfer:false"};
    QTest::newRow("crashes")
        << QByteArray("#!/bin/sh\nkill -SEGV $$\n")
        << QStringList{kFallbackStarted, "status:false:Fallback failed: curl stopped unexpectedly",
                       "finished:false:%D/Tavlo Update.tvq:Tavlo Update.tvq", "transfer:false"};
    QTest::newRow("missing")
        << QByteArray()
        << QStringList{kFallbackStarted,
                       "status:false:Fallback failed: the program \"curl\" was not found on the "
                       "search path",
                       "finished:false:%D/Tavlo Update.tvq:Tavlo Update.tvq", "transfer:false"};
}

void FallbackTest::standInCurl()
{
    QFETCH(QByteArray, script);
    QFETCH(QStringList, expected);

    const QString name = QStringLiteral("Tavlo Update.tvq");
    auto downloader = downloaderFor(name);
    QVERIFY(downloader);
    server.setResponse("GET", QStringLiteral("/releases/") + name,
                       ReleaseServer::Response::error(500));
    if (!script.isNull())
        TestEnvironment::writeStandInCurl(curlDir->path(), script);
    TestEnvironment::setSearchPath(curlDir->path(), false);
    const QString argsFile = tempDir->path() + QStringLiteral("/args.txt");
    qputenv("ARGS_FILE", QFile::encodeName(argsFile));

    SignalLog log(downloader.get());
    downloader->downloadFile();
    QVERIFY2(log.waitFor(QStringLiteral("transfer:")), qPrintable(log.entries.join(" | ")));
    QVERIFY(log.waitUntilIdle());
    for (QString& entry : expected)
        entry.replace(QStringLiteral("%D"), TestEnvironment::downloadFolder());
    QCOMPARE(log.withoutProgress(), expected);

    if (QFile::exists(argsFile)) {
        const QStringList arguments =
            QString::fromUtf8(TestEnvironment::readFile(argsFile)).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(arguments,
                 (QStringList{"-q", "-L", "--fail", "--proto", "=https", "--proto-redir", "=https", "--silent",
                              "--show-error", "--connect-timeout", "15", "--speed-limit", "1",
                              "--speed-time", "30", "--max-filesize", "2147483648",
                              "--dump-header", fileIn(name) + ".headers",
                              // The release server is on this computer: no proxy, whatever
                              // the environment says.
                              "--noproxy", "*", "-o", fileIn(name) + ".part",
                              server.baseUrl().toString()
                                  + QStringLiteral("/releases/Tavlo%20Update.tvq")}));
        QCOMPARE(TestEnvironment::readFile(fileIn(name)), QByteArray("stand-in payload"));
    }
}

void FallbackTest::curlInWorkingDirectoryIsNotUsed()
{
    auto downloader = downloaderFor(QStringLiteral("u.tvq"));
    QVERIFY(downloader);
    server.setResponse("GET", QStringLiteral("/releases/u.tvq"), ReleaseServer::Response::error(500));
    // A curl that would succeed lies in the working directory; the search path has none.
    TestEnvironment::writeStandInCurl(curlDir->path(), "#!/bin/sh\nwhile [ \"$1\" != -o ]; do shift; done\nprintf x > \"$2\"\n");
    QVERIFY(QDir::setCurrent(curlDir->path()));
    QTemporaryDir emptyDir(tempRoot + QStringLiteral("/empty-XXXXXX"));
    TestEnvironment::setSearchPath(emptyDir.path(), false);

    SignalLog log(downloader.get());
    downloader->downloadFile();
    QVERIFY(log.waitFor(QStringLiteral("transfer:")));
    QCOMPARE(log.withoutProgress().value(1),
             QStringLiteral("status:false:Fallback failed: the program \"curl\" was not found on "
                            "the search path"));
    QVERIFY(!QFile::exists(fileIn(QStringLiteral("u.tvq"))));
}

void FallbackTest::errorLogLine()
{
    auto downloader = downloaderFor(QStringLiteral("u.tvq"));
    QVERIFY(downloader);
    server.setResponse("GET", QStringLiteral("/releases/u.tvq"), ReleaseServer::Response::error(500));
    TestEnvironment::setSearchPath(curlDir->path(), false);  // no curl: the run ends quickly

    SignalLog log(downloader.get());
    capturedWarnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(captureWarning);
    downloader->downloadFile();
    const bool ended = log.waitFor(QStringLiteral("transfer:"));
    qInstallMessageHandler(previous);
    QVERIFY(ended);

    QStringList errorLines;
    for (const QString& line : capturedWarnings) {
        if (line.startsWith(QStringLiteral("DW: Download error occurred:")))
            errorLines << line;
    }
    QCOMPARE(errorLines.size(), 1);
    const QString line = errorLines.first();
    QVERIFY2(line.startsWith(QStringLiteral("DW: Download error occurred: InternalServerError "
                                            "Error string: \"")),
             qPrintable(line));
    QVERIFY2(line.contains(QStringLiteral(" HTTP Status: QVariant(int, 500) Headers: QList(")),
             qPrintable(line));
    QVERIFY2(line.contains(QStringLiteral("std::pair(\"Content-Length\",")), qPrintable(line));
}

QTEST_GUILESS_MAIN(FallbackTest)
#include "tst_fallback.moc"
