// The downloads through a proxy, against the local release server under a name only the test
// proxy (SimProxy) resolves: the catalogue and the update file go through it, for the Qt
// download and (full edition) for the curl fallback, with the proxy's user name and password
// where it asks for them; a proxy that asks for them in vain, forbids the tunnel or refuses the
// connection is named in the reason. Built once per edition (TAVLO_DOWNLOADER_HEADER,
// TAVLO_HAS_CURL).
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include TAVLO_DOWNLOADER_HEADER
#include "ProxyFailureText.h"
#include "ReleaseServer.h"
#include "SignalLog.h"
#include "SimProxy.h"
#include "TestEnvironment.h"

Q_DECLARE_METATYPE(SimProxy::Mode)

namespace {

constexpr bool kHasCurl = TAVLO_HAS_CURL;
const QString kName = QStringLiteral("tavlo-1.6.0.tvq");
const QString kPath = QStringLiteral("/releases/tavlo-1.6.0.tvq");

void useProxy(const QString& address)
{
    for (const char* name : {"http_proxy", "https_proxy", "all_proxy", "no_proxy", "HTTP_PROXY",
                             "HTTPS_PROXY", "ALL_PROXY", "NO_PROXY"})
        qunsetenv(name);
    if (!address.isEmpty())
        qputenv("https_proxy", address.toUtf8());
}

QStringList g_messages;

void keepMessage(QtMsgType, const QMessageLogContext& context, const QString& text)
{
    g_messages << QString::fromLatin1(context.category ? context.category : "") + QLatin1Char(' ') + text;
}

QString reasonOf(const Downloader& downloader)
{
    return downloader.failureReason();
}

} // namespace

class ProxyRouteTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();
    void catalogueAndFileThroughTheProxy();
    void curlThroughTheProxy();
    void passwordFromTheSetting();
    void catalogueRefusedByTheProxy_data();
    void catalogueRefusedByTheProxy();
    void fileRefusedByTheProxy_data();
    void fileRefusedByTheProxy();

private:
    std::unique_ptr<Downloader> downloaderAfterCatalogue();
    QString proxyName() const { return QStringLiteral("127.0.0.1:%1").arg(proxy.port()); }

    ReleaseServer server;
    SimProxy proxy;
    QByteArray body;
    std::unique_ptr<QTemporaryDir> tempDir;
};

void ProxyRouteTest::initTestCase()
{
    TestEnvironment::originalSearchPath();
    QVERIFY2(server.start(), qPrintable(server.errorText()));
    QVERIFY(proxy.start());
    ReleaseServer::trustInThisProcess();
    body = TestEnvironment::pattern(70000);
    server.setCatalogue(TestEnvironment::catalogueFor(kName));
}

void ProxyRouteTest::init()
{
    tempDir = std::make_unique<QTemporaryDir>();
    QVERIFY(tempDir->isValid());
    TestEnvironment::setTempDir(tempDir->path());
    server.clearResponses();
    server.setCatalogue(TestEnvironment::catalogueFor(kName));
    server.setResponse("GET", kPath, ReleaseServer::Response::ok(body));
    server.clearRequests();
    proxy.clear();
    proxy.setMode(SimProxy::Mode::Tunnel);
    useProxy(proxy.address());
}

void ProxyRouteTest::cleanupTestCase()
{
    useProxy(QString());
}

std::unique_ptr<Downloader> ProxyRouteTest::downloaderAfterCatalogue()
{
    auto downloader = std::make_unique<Downloader>(server.namedUrl());
    SignalLog log(downloader.get());
    downloader->fetchReleasesJson();
    if (!log.waitFor(QStringLiteral("latest:"), 10000) || !log.waitUntilIdle(10000))
        return nullptr;
    return downloader;
}

void ProxyRouteTest::catalogueAndFileThroughTheProxy()
{
    auto downloader = downloaderAfterCatalogue();
    QVERIFY2(downloader, qPrintable(proxy.targets().join(QLatin1Char(' '))));
    SignalLog log(downloader.get());
    downloader->downloadFile();
    QVERIFY2(log.waitFor(QStringLiteral("transfer:")), qPrintable(log.entries.join(" | ")));
    QVERIFY(log.waitUntilIdle());
    QVERIFY2(log.contains(QStringLiteral("transfer:true")), qPrintable(log.entries.join(" | ")));
    QCOMPARE(TestEnvironment::readFile(TestEnvironment::downloadFolder() + QLatin1Char('/') + kName), body);

    // The name resolves nowhere but at the proxy: every request the server saw came through it.
    QCOMPARE(server.countRequests("GET", QStringLiteral("/releases/releases.json")), 1);
    QCOMPARE(server.countRequests("GET", kPath), 1);
    const QString target = QStringLiteral("%1:%2").arg(ReleaseServer::namedHost()).arg(server.namedUrl().port());
    QVERIFY(proxy.tunnelsOpened() >= 2);
    for (const QString& asked : proxy.targets())
        QCOMPARE(asked, target);
    QVERIFY2(proxy.bytesThrough() > body.size(), qPrintable(QString::number(proxy.bytesThrough())));
    QVERIFY(!server.requests().last().userAgent.startsWith("curl/"));
}

void ProxyRouteTest::curlThroughTheProxy()
{
    if (!kHasCurl)
        QSKIP("the update-only edition has no second route");
    auto downloader = downloaderAfterCatalogue();
    QVERIFY(downloader);
    server.queueResponse("GET", kPath, ReleaseServer::Response::error(503));
    const int tunnelsBefore = proxy.tunnelsOpened();
    SignalLog log(downloader.get());
    downloader->downloadFile();
    QVERIFY2(log.waitFor(QStringLiteral("transfer:")), qPrintable(log.entries.join(" | ")));
    QVERIFY(log.waitUntilIdle());
    QVERIFY2(log.contains(QStringLiteral("transfer:true")), qPrintable(log.entries.join(" | ")));
    QCOMPARE(TestEnvironment::readFile(TestEnvironment::downloadFolder() + QLatin1Char('/') + kName), body);
    QVERIFY(server.requests().last().userAgent.startsWith("curl/"));
    // curl's own request took a tunnel of its own.
    QVERIFY2(proxy.tunnelsOpened() > tunnelsBefore + 1, qPrintable(QString::number(proxy.tunnelsOpened())));
}

void ProxyRouteTest::passwordFromTheSetting()
{
    const QString user = QStringLiteral("j@ne");
    const QString password = QStringLiteral("p:a\"ss\\word");
    proxy.setMode(SimProxy::Mode::AskForPassword);
    proxy.requirePassword(user, password);
    useProxy(proxy.address(user, password));
    g_messages.clear();
    // Every line the session log would take.
    QLoggingCategory::setFilterRules(QStringLiteral("tavlo.*=true"));
    const QtMessageHandler previous = qInstallMessageHandler(keepMessage);
    auto downloader = downloaderAfterCatalogue();
    QVERIFY2(downloader, qPrintable(proxy.targets().join(QLatin1Char(' '))));
    if (kHasCurl)
        server.queueResponse("GET", kPath, ReleaseServer::Response::error(503));
    SignalLog log(downloader.get());
    downloader->downloadFile();
    QVERIFY2(log.waitFor(QStringLiteral("transfer:")), qPrintable(log.entries.join(" | ")));
    QVERIFY(log.waitUntilIdle());
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QString());
    QVERIFY2(log.contains(QStringLiteral("transfer:true")), qPrintable(log.entries.join(" | ")));
    // The log names the proxy, never its user name or password.
    const QString logged = g_messages.join(QLatin1Char('\n'));
    QVERIFY2(!logged.contains(password) && !logged.contains(QStringLiteral("j@ne"))
                 && !logged.contains(QStringLiteral("j%40ne")),
             qPrintable(logged));
    if (kHasCurl) {
        QVERIFY2(logged.contains(QStringLiteral("(proxy: %1)").arg(proxyName())), qPrintable(logged));
        QVERIFY2(logged.contains(QStringLiteral("curl's proxy: \"%1\"").arg(proxyName())), qPrintable(logged));
    }
    QCOMPARE(server.countRequests("GET", kPath), kHasCurl ? 2 : 1);
    if (kHasCurl)
        QVERIFY(server.requests().last().userAgent.startsWith("curl/"));
    QVERIFY(!proxy.authorizations().isEmpty());
}

void ProxyRouteTest::catalogueRefusedByTheProxy_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("asks for a password") << "407";
    QTest::newRow("forbids the tunnel") << "403";
    QTest::newRow("refuses the connection") << "closed";
}

void ProxyRouteTest::catalogueRefusedByTheProxy()
{
    QFETCH(QString, kind);
    QString name = proxyName();
    QString expected;
    if (kind == QLatin1String("407")) {
        proxy.setMode(SimProxy::Mode::AskForPassword);
        expected = ProxyFailureText::asksForPassword(name);
    } else if (kind == QLatin1String("403")) {
        proxy.setMode(SimProxy::Mode::Forbid);
        expected = ProxyFailureText::refused(name);
    } else {
        const quint16 closed = SimProxy::closedPort();
        useProxy(QStringLiteral("http://127.0.0.1:%1").arg(closed));
        name = QStringLiteral("127.0.0.1:%1").arg(closed);
        expected = ProxyFailureText::refused(name);
    }
    Downloader downloader(server.namedUrl());
    SignalLog log(&downloader);
    downloader.fetchReleasesJson();
    QTRY_VERIFY_WITH_TIMEOUT(!reasonOf(downloader).isEmpty(), 10000);
    QVERIFY(log.waitUntilIdle());
    QVERIFY2(reasonOf(downloader).endsWith(expected), qPrintable(reasonOf(downloader)));
    QVERIFY(reasonOf(downloader).contains(name));
    QCOMPARE(server.requests().size(), 0);
}

void ProxyRouteTest::fileRefusedByTheProxy_data()
{
    catalogueRefusedByTheProxy_data();
}

void ProxyRouteTest::fileRefusedByTheProxy()
{
    QFETCH(QString, kind);
    auto downloader = downloaderAfterCatalogue();
    QVERIFY(downloader);
    QString name = proxyName();
    QString expected;
    if (kind == QLatin1String("407")) {
        proxy.setMode(SimProxy::Mode::AskForPassword);
        expected = ProxyFailureText::asksForPassword(name);
    } else if (kind == QLatin1String("403")) {
        proxy.setMode(SimProxy::Mode::Forbid);
        expected = ProxyFailureText::refused(name);
    } else {
        const quint16 closed = SimProxy::closedPort();
        useProxy(QStringLiteral("http://127.0.0.1:%1").arg(closed));
        name = QStringLiteral("127.0.0.1:%1").arg(closed);
        expected = ProxyFailureText::refused(name);
    }
    QStringList reasons;
    connect(downloader.get(), &Downloader::failureReasonChanged, this,
            [&reasons](const QString& reason) { reasons << reason; });
    server.clearRequests();
    SignalLog log(downloader.get());
    downloader->downloadFile();
    QVERIFY2(log.waitFor(QStringLiteral("transfer:")), qPrintable(log.entries.join(" | ")));
    QVERIFY(log.waitUntilIdle());
    QVERIFY2(log.contains(QStringLiteral("transfer:false")), qPrintable(log.entries.join(" | ")));
    // The Qt download's reason, and (full edition) curl's after it: both name the proxy.
    QCOMPARE(reasons.value(0), expected);
    QCOMPARE(reasonOf(*downloader), expected);
    if (kHasCurl) {
        QVERIFY2(log.contains(QStringLiteral("status:true:Hmm")), qPrintable(log.entries.join(" | ")));
        QVERIFY2(log.contains(QStringLiteral("status:false:Fallback failed")), qPrintable(log.entries.join(" | ")));
    }
    QCOMPARE(server.requests().size(), 0);
    QVERIFY(TestEnvironment::downloadedFiles().isEmpty());
}

QTEST_GUILESS_MAIN(ProxyRouteTest)
#include "tst_proxy_route.moc"
