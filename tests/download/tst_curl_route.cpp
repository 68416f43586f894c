// The second download route's safety: which curl is started (absolute search path entries
// only), that it reads no configuration of the user's and speaks HTTPS only, and that a
// certificate the Qt download refused is not tried again through it.
#include <QDir>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "CurlFallback.h"
#include "CurlLocator.h"
#include "DownloadFailureText.h"
#include "download/full/Downloader.h"
#include "ReleaseServer.h"
#include "SignalLog.h"
#include "TestEnvironment.h"

using System = CurlLocator::System;
Q_DECLARE_METATYPE(CurlLocator::System)

namespace {

QStringList g_warnings;

void collectWarning(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtWarningMsg)
        g_warnings << text;
}

// A stand-in curl that writes where it was started from into the marker file and then the
// payload into curl's output file.
QByteArray standIn(const QByteArray& payload)
{
    return "#!/bin/sh\nprintf '%s' \"$0\" > \"$MARKER_FILE\"\n"
           "while [ \"$1\" != -o ]; do shift; done\nprintf '" + payload + "' > \"$2\"\n";
}

} // namespace

class CurlRouteTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void locator_data();
    void locator();
    void relativeEntryIsSkippedForReal();
    void userConfigurationIsNotRead();
    void plainHttpIsRefused_data();
    void plainHttpIsRefused();
    void untrustedCertificateEndsTheDownload();
    void failedRequestLogHoldsNoPassword();

private:
    ReleaseServer server;
    QString originalWorkingDir;
    std::unique_ptr<QTemporaryDir> tempDir;
};

void CurlRouteTest::initTestCase()
{
    TestEnvironment::originalSearchPath();
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("curl")).isEmpty(),
             "the real curl is needed on the search path");
    originalWorkingDir = QDir::currentPath();
    QVERIFY2(server.start(), qPrintable(server.errorText()));
    ReleaseServer::trustInThisProcess();
}

void CurlRouteTest::init()
{
    tempDir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/curl-route-XXXXXX"));
    QVERIFY(tempDir->isValid());
    TestEnvironment::setTempDir(tempDir->path());
    qputenv("PATH", TestEnvironment::originalSearchPath());
    qputenv("MARKER_FILE", QFile::encodeName(tempDir->filePath(QStringLiteral("started-from"))));
    server.clearResponses();
    server.clearRequests();
    server.presentUntrustedCertificate(false);
}

void CurlRouteTest::cleanup()
{
    QDir::setCurrent(originalWorkingDir);
    qunsetenv("CURL_HOME");
    server.presentUntrustedCertificate(false);
    tempDir.reset();
}

void CurlRouteTest::locator_data()
{
    QTest::addColumn<System>("system");
    QTest::addColumn<QString>("searchPath");
    QTest::addColumn<QStringList>("programs"); // the paths where a program lies
    QTest::addColumn<QString>("found");

    const QStringList posix{"bin/curl", "./curl", "curl", "../tools/curl", "/usr/bin/curl",
                            "/opt/curl/bin/curl", "/curl"};
    QTest::newRow("relative entry before the system's") << System::Posix << "bin:/usr/bin" << posix << "/usr/bin/curl";
    QTest::newRow("dot entry") << System::Posix << ".:/opt/curl/bin" << posix << "/opt/curl/bin/curl";
    QTest::newRow("empty entries (the working folder)") << System::Posix << "::/usr/bin:" << posix << "/usr/bin/curl";
    QTest::newRow("parent-relative entry") << System::Posix << "../tools:/usr/bin" << posix << "/usr/bin/curl";
    QTest::newRow("first absolute one wins") << System::Posix << "/opt/curl/bin:/usr/bin" << posix << "/opt/curl/bin/curl";
    QTest::newRow("entry without curl passed over") << System::Posix << "/usr/local/bin:/usr/bin" << posix << "/usr/bin/curl";
    QTest::newRow("trailing slashes") << System::Posix << "/usr/bin//" << posix << "/usr/bin/curl";
    QTest::newRow("root folder") << System::Posix << "bin:/" << posix << "/curl";
    QTest::newRow("only relative entries") << System::Posix << "bin:.:" << posix << QString();
    QTest::newRow("empty search path") << System::Posix << "" << posix << QString();
    QTest::newRow("windows entries mean nothing here") << System::Posix << "C:\\Tools;bin" << posix << QString();

    const QStringList windows{"bin\\curl.exe", "C:tools\\curl.exe", "\\tools\\curl.exe",
                              "C:\\Windows\\System32\\curl.exe", "D:/curl\\curl.exe",
                              "\\\\server\\share\\curl.exe", "C:\\Program Files\\curl\\curl.exe"};
    QTest::newRow("windows: relative entry") << System::Windows << "bin;C:\\Windows\\System32" << windows
                                             << "C:\\Windows\\System32\\curl.exe";
    QTest::newRow("windows: relative to a drive's folder") << System::Windows << "C:tools;D:/curl/" << windows
                                                           << "D:/curl\\curl.exe";
    QTest::newRow("windows: root of the current drive") << System::Windows << "\\tools;\\\\server\\share" << windows
                                                        << "\\\\server\\share\\curl.exe";
    QTest::newRow("windows: quoted entry") << System::Windows << ";\"C:\\Program Files\\curl\";C:\\Windows\\System32"
                                           << windows << "C:\\Program Files\\curl\\curl.exe";
    QTest::newRow("windows: curl without .exe is not it") << System::Windows << "C:\\x" << QStringList{"C:\\x\\curl"}
                                                          << QString();
    QTest::newRow("windows: only relative entries") << System::Windows << "bin;.;;C:tools" << windows << QString();
}

void CurlRouteTest::locator()
{
    QFETCH(System, system);
    QFETCH(QString, searchPath);
    QFETCH(QStringList, programs);
    QFETCH(QString, found);
    // The paths asked about are the ones the locator would start: a relative one would be
    // resolved against the working folder.
    const QSet<QString> lying(programs.cbegin(), programs.cend());
    QStringList asked;
    const QString result = CurlLocator::firstIn(searchPath, system, [&](const QString& path) {
        asked << path;
        return lying.contains(path);
    });
    QCOMPARE(result, found);
    for (const QString& path : asked)
        QVERIFY2(CurlLocator::isAbsoluteEntry(path, system), qPrintable(path));
}

void CurlRouteTest::relativeEntryIsSkippedForReal()
{
    // PATH=bin:<absolute folder>, with a curl in ./bin of the working folder: the absolute
    // folder's curl runs.
    auto downloader = TestEnvironment::downloaderAfterCatalogue<Downloader>(
        server, TestEnvironment::catalogueFor(QStringLiteral("u.tvq")));
    QVERIFY(downloader);
    server.setResponse("GET", QStringLiteral("/releases/u.tvq"), ReleaseServer::Response::error(500));
    const QString work = tempDir->filePath(QStringLiteral("work"));
    const QString trusted = tempDir->filePath(QStringLiteral("trusted"));
    QVERIFY(QDir().mkpath(work + QStringLiteral("/bin")) && QDir().mkpath(trusted));
    TestEnvironment::writeStandInCurl(work + QStringLiteral("/bin"), standIn("planted"));
    TestEnvironment::writeStandInCurl(trusted, standIn("trusted"));
    QVERIFY(QDir::setCurrent(work));
    qputenv("PATH", "bin:" + QFile::encodeName(trusted));

    SignalLog log(downloader.get());
    downloader->downloadFile();
    QVERIFY2(log.waitFor(QStringLiteral("transfer:")), qPrintable(log.entries.join(" | ")));
    QVERIFY(log.waitUntilIdle());
    QCOMPARE(TestEnvironment::readFile(tempDir->filePath(QStringLiteral("started-from"))),
             QFile::encodeName(trusted + QStringLiteral("/curl")));
    QCOMPARE(TestEnvironment::readFile(TestEnvironment::downloadFolder() + QStringLiteral("/u.tvq")),
             QByteArray("trusted"));
}

void CurlRouteTest::userConfigurationIsNotRead()
{
    // A configuration file of the user's that would name another user agent: the real curl
    // must not read it.
    const QString home = tempDir->filePath(QStringLiteral("home"));
    QVERIFY(QDir().mkpath(home));
    QVERIFY(TestEnvironment::writeFile(home + QStringLiteral("/.curlrc"),
                                       "user-agent = \"from-the-curlrc\"\n"));
    qputenv("CURL_HOME", QFile::encodeName(home));
    auto downloader = TestEnvironment::downloaderAfterCatalogue<Downloader>(
        server, TestEnvironment::catalogueFor(QStringLiteral("u.tvq")));
    QVERIFY(downloader);
    const QString path = QStringLiteral("/releases/u.tvq");
    server.setResponse("GET", path, ReleaseServer::Response::ok(TestEnvironment::pattern(1000)));
    server.queueResponse("GET", path, ReleaseServer::Response::error(503));

    SignalLog log(downloader.get());
    downloader->downloadFile();
    QVERIFY2(log.waitFor(QStringLiteral("transfer:")), qPrintable(log.entries.join(" | ")));
    QVERIFY(log.waitUntilIdle());
    QVERIFY(log.contains(QStringLiteral("transfer:true")));
    QCOMPARE(server.countRequests("GET", path), 2);
    const QString agent = server.requests().last().userAgent;
    QVERIFY2(agent.startsWith(QStringLiteral("curl/")), qPrintable(agent));
}

void CurlRouteTest::plainHttpIsRefused_data()
{
    QTest::addColumn<QString>("url");
    // Nothing listens on port 9 of this machine: a curl that tried would fail to connect (7)
    // instead of refusing the address (1).
    QTest::newRow("http") << QStringLiteral("http://127.0.0.1:9/releases/u.tvq");
    QTest::newRow("ftp") << QStringLiteral("ftp://127.0.0.1:9/releases/u.tvq");
}

void CurlRouteTest::plainHttpIsRefused()
{
    QFETCH(QString, url);
    QProcess curl;
    curl.start(CurlLocator::find(),
               CurlFallback::argumentsFor(url, tempDir->filePath(QStringLiteral("out"))));
    QVERIFY(curl.waitForFinished(30000));
    QCOMPARE(curl.exitStatus(), QProcess::NormalExit);
    QCOMPARE(curl.exitCode(), 1);
    QCOMPARE(CurlFallback::argumentsFor(url, QStringLiteral("o")).first(), QStringLiteral("-q"));
}

void CurlRouteTest::untrustedCertificateEndsTheDownload()
{
    auto downloader = TestEnvironment::downloaderAfterCatalogue<Downloader>(
        server, TestEnvironment::catalogueFor(QStringLiteral("u.tvq")));
    QVERIFY(downloader);
    server.setResponse("GET", QStringLiteral("/releases/u.tvq"),
                       ReleaseServer::Response::ok(TestEnvironment::pattern(1000)));
    QVERIFY2(server.presentUntrustedCertificate(true), "the server has no second certificate");
    // A curl that would succeed is on the search path: it must not be started.
    TestEnvironment::writeStandInCurl(tempDir->path(), standIn("fetched anyway"));
    TestEnvironment::setSearchPath(tempDir->path(), false);

    SignalLog log(downloader.get());
    downloader->downloadFile();
    QVERIFY2(log.waitFor(QStringLiteral("transfer:")), qPrintable(log.entries.join(" | ")));
    QVERIFY(log.waitUntilIdle());
    const QString reason = DownloadFailureText::untrustedWithoutSecondRoute();
    QCOMPARE(log.withoutProgress(),
             (QStringList{"status:false:" + reason, "finished:false::u.tvq", "transfer:false"}));
    QCOMPARE(downloader->failureReason(), reason);
    QVERIFY(!QFile::exists(tempDir->filePath(QStringLiteral("started-from"))));
    QVERIFY(TestEnvironment::downloadedFiles().isEmpty());
}

void CurlRouteTest::failedRequestLogHoldsNoPassword()
{
    // A mirror given with a user name and password: the failed request's error line (whose
    // error string names the address) keeps neither.
    QUrl base = server.baseUrl();
    base.setUserInfo(QStringLiteral("alice:s3cret"));
    server.setCatalogue(TestEnvironment::catalogueFor(QStringLiteral("u.tvq")));
    server.setResponse("GET", QStringLiteral("/releases/u.tvq"), ReleaseServer::Response::error(500));
    Downloader downloader(base);
    SignalLog log(&downloader);
    downloader.fetchReleasesJson();
    QVERIFY(log.waitFor(QStringLiteral("latest:")));
    QVERIFY(log.waitUntilIdle());
    TestEnvironment::setSearchPath(tempDir->path(), false);  // no curl: the run ends quickly

    g_warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collectWarning);
    downloader.downloadFile();
    const bool ended = log.waitFor(QStringLiteral("transfer:"));
    qInstallMessageHandler(previous);
    QVERIFY(ended);
    const QString all = g_warnings.join(QLatin1Char('\n'));
    QVERIFY2(all.contains(QStringLiteral("DW: Download error occurred: InternalServerError")), qPrintable(all));
    QVERIFY2(all.contains(server.baseUrl().toString() + QStringLiteral("/releases/u.tvq")), qPrintable(all));
    QVERIFY2(!all.contains(QStringLiteral("s3cret")) && !all.contains(QStringLiteral("alice")), qPrintable(all));
}

QTEST_GUILESS_MAIN(CurlRouteTest)
#include "tst_curl_route.moc"
