// What a download makes of a partial file and of the server's answer to a continued request,
// and what curl is told for it: pure tables, no server.
#include <QTest>

#include "CurlFallback.h"
#include "ResumeDecision.h"
#include "ServedRange.h"
#include "UpdateDownload.h"

using Action = ResumeDecision::Action;

class ResumeDecisionsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void judge_data();
    void judge();
    void resumeFrom_data();
    void resumeFrom();
    void validatorOf_data();
    void validatorOf();
    void brokeOff_data();
    void brokeOff();
    void curlArguments_data();
    void curlArguments();
    void curlAnswer_data();
    void curlAnswer();
    void curlBrokeOff_data();
    void curlBrokeOff();
    void retryWaits_data();
    void retryWaits();
    // The simulated release server's side of the same exchange.
    void served_data();
    void served();
};

namespace {
const QString kEtag = QStringLiteral("\"v1\"");
} // namespace

void ResumeDecisionsTest::judge_data()
{
    QTest::addColumn<qint64>("from");            // 0: no Range sent
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("contentRange");
    QTest::addColumn<qint64>("contentLength");   // -1: none
    QTest::addColumn<QString>("answerValidator");
    QTest::addColumn<int>("action");
    QTest::addColumn<qint64>("total");

    const int append = int(Action::Append);
    const int fresh = int(Action::StartFresh);
    const int restart = int(Action::Restart);
    const int none = int(Action::NotTheFile);
    QTest::newRow("206 from the asked byte to the end") << qint64(1000) << 206 << QByteArray("bytes 1000-4999/5000") << qint64(4000) << kEtag << append << qint64(5000);
    QTest::newRow("206 naming no validator") << qint64(1000) << 206 << QByteArray("bytes 1000-4999/5000") << qint64(-1) << QString() << append << qint64(5000);
    QTest::newRow("206 of the last byte only") << qint64(4999) << 206 << QByteArray("bytes 4999-4999/5000") << qint64(1) << kEtag << append << qint64(5000);
    QTest::newRow("206 from byte 0 instead") << qint64(1000) << 206 << QByteArray("bytes 0-4999/5000") << qint64(5000) << kEtag << restart << qint64(-1);
    QTest::newRow("206 from a later byte") << qint64(1000) << 206 << QByteArray("bytes 1500-4999/5000") << qint64(3500) << kEtag << restart << qint64(-1);
    QTest::newRow("206 not to the end") << qint64(1000) << 206 << QByteArray("bytes 1000-1999/5000") << qint64(1000) << kEtag << restart << qint64(-1);
    QTest::newRow("206 of unknown total") << qint64(1000) << 206 << QByteArray("bytes 1000-4999/*") << qint64(4000) << kEtag << restart << qint64(-1);
    QTest::newRow("206 past its own total") << qint64(1000) << 206 << QByteArray("bytes 1000-5000/5000") << qint64(4001) << kEtag << restart << qint64(-1);
    QTest::newRow("206 of another version") << qint64(1000) << 206 << QByteArray("bytes 1000-4999/5000") << qint64(4000) << QStringLiteral("\"v2\"") << restart << qint64(-1);
    QTest::newRow("206 whose length disagrees") << qint64(1000) << 206 << QByteArray("bytes 1000-4999/5000") << qint64(3999) << kEtag << restart << qint64(-1);
    QTest::newRow("206 without Content-Range") << qint64(1000) << 206 << QByteArray() << qint64(4000) << kEtag << restart << qint64(-1);
    QTest::newRow("206 with a garbled range") << qint64(1000) << 206 << QByteArray("bytes 1000-x/5000") << qint64(4000) << kEtag << restart << qint64(-1);
    QTest::newRow("206 in other units") << qint64(1000) << 206 << QByteArray("items 1000-4999/5000") << qint64(4000) << kEtag << restart << qint64(-1);
    QTest::newRow("206 to a request without Range") << qint64(0) << 206 << QByteArray("bytes 0-4999/5000") << qint64(5000) << kEtag << restart << qint64(-1);
    QTest::newRow("200 to a Range (ranges ignored)") << qint64(1000) << 200 << QByteArray() << qint64(5000) << kEtag << fresh << qint64(5000);
    QTest::newRow("200 to If-Range (file changed)") << qint64(1000) << 200 << QByteArray() << qint64(6000) << QStringLiteral("\"v2\"") << fresh << qint64(6000);
    QTest::newRow("200 without a length") << qint64(1000) << 200 << QByteArray() << qint64(-1) << kEtag << fresh << qint64(-1);
    QTest::newRow("200 to a plain request") << qint64(0) << 200 << QByteArray() << qint64(5000) << kEtag << fresh << qint64(5000);
    QTest::newRow("416 to a Range") << qint64(5000) << 416 << QByteArray("bytes */5000") << qint64(-1) << kEtag << restart << qint64(-1);
    QTest::newRow("416 to a plain request") << qint64(0) << 416 << QByteArray() << qint64(-1) << kEtag << none << qint64(-1);
    QTest::newRow("404 to a Range") << qint64(1000) << 404 << QByteArray() << qint64(100) << QString() << none << qint64(-1);
    QTest::newRow("503 to a Range") << qint64(1000) << 503 << QByteArray() << qint64(100) << QString() << none << qint64(-1);
    QTest::newRow("no answer") << qint64(1000) << 0 << QByteArray() << qint64(-1) << QString() << none << qint64(-1);
}

void ResumeDecisionsTest::judge()
{
    QFETCH(qint64, from);
    QFETCH(int, status);
    QFETCH(QByteArray, contentRange);
    QFETCH(qint64, contentLength);
    QFETCH(QString, answerValidator);
    QFETCH(int, action);
    QFETCH(qint64, total);

    const ResumeDecision::Outcome outcome = ResumeDecision::judge(
        from, from > 0 ? kEtag : QString(), status, contentRange, contentLength, answerValidator);
    QCOMPARE(int(outcome.action), action);
    if (outcome.action == Action::Append || outcome.action == Action::StartFresh)
        QCOMPARE(outcome.total, total);
}

void ResumeDecisionsTest::resumeFrom_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QString>("validator");
    QTest::addColumn<QString>("recordedUrl");
    QTest::addColumn<qint64>("from");

    const QString url = QStringLiteral("https://example.org/releases/t.tvq");
    QTest::newRow("bytes, ETag, same address") << qint64(700) << kEtag << url << qint64(700);
    QTest::newRow("bytes, date, same address") << qint64(700) << QStringLiteral("Tue, 01 Dec 2026 10:00:00 GMT") << url << qint64(700);
    QTest::newRow("no validator") << qint64(700) << QString() << url << qint64(0);
    QTest::newRow("another address") << qint64(700) << kEtag << QStringLiteral("https://example.org/releases/u.tvq") << qint64(0);
    QTest::newRow("no address recorded") << qint64(700) << kEtag << QString() << qint64(0);
    QTest::newRow("empty partial") << qint64(0) << kEtag << url << qint64(0);
    QTest::newRow("validator with a line break") << qint64(700) << QStringLiteral("\"a\"\r\nX-Evil: 1") << url << qint64(0);
    QTest::newRow("validator beyond ASCII") << qint64(700) << QStringLiteral("\"\u00e4\"") << url << qint64(0);
}

void ResumeDecisionsTest::resumeFrom()
{
    QFETCH(qint64, size);
    QFETCH(QString, validator);
    QFETCH(QString, recordedUrl);
    QFETCH(qint64, from);

    ResumeDecision::Partial partial;
    partial.size = size;
    partial.validator = validator;
    partial.url = recordedUrl;
    QCOMPARE(ResumeDecision::resumeFrom(partial, QStringLiteral("https://example.org/releases/t.tvq")), from);
}

void ResumeDecisionsTest::validatorOf_data()
{
    QTest::addColumn<QString>("etag");
    QTest::addColumn<QString>("lastModified");
    QTest::addColumn<QString>("validator");

    const QString date = QStringLiteral("Tue, 01 Dec 2026 10:00:00 GMT");
    QTest::newRow("strong ETag first") << kEtag << date << kEtag;
    QTest::newRow("only a date") << QString() << date << date;
    QTest::newRow("weak ETag: the date") << QStringLiteral("W/\"v1\"") << date << date;
    QTest::newRow("weak ETag alone: none") << QStringLiteral("W/\"v1\"") << QString() << QString();
    QTest::newRow("neither") << QString() << QString() << QString();
}

void ResumeDecisionsTest::validatorOf()
{
    QFETCH(QString, etag);
    QFETCH(QString, lastModified);
    QFETCH(QString, validator);
    QCOMPARE(ResumeDecision::validatorOf(etag, lastModified), validator);
}

void ResumeDecisionsTest::brokeOff_data()
{
    QTest::addColumn<QNetworkReply::NetworkError>("error");
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("brokeOff");

    QTest::newRow("closed by the server") << QNetworkReply::RemoteHostClosedError << 200 << true;
    QTest::newRow("closed before an answer") << QNetworkReply::RemoteHostClosedError << 0 << true;
    QTest::newRow("timed out") << QNetworkReply::TimeoutError << 200 << true;
    QTest::newRow("network gone a while") << QNetworkReply::TemporaryNetworkFailureError << 0 << true;
    QTest::newRow("404") << QNetworkReply::ContentNotFoundError << 404 << false;
    QTest::newRow("503 then closed") << QNetworkReply::RemoteHostClosedError << 503 << false;
    QTest::newRow("certificate") << QNetworkReply::SslHandshakeFailedError << 0 << false;
    QTest::newRow("refused") << QNetworkReply::ConnectionRefusedError << 0 << false;
    QTest::newRow("no such host") << QNetworkReply::HostNotFoundError << 0 << false;
    QTest::newRow("insecure redirect") << QNetworkReply::InsecureRedirectError << 302 << false;
}

void ResumeDecisionsTest::brokeOff()
{
    QFETCH(QNetworkReply::NetworkError, error);
    QFETCH(int, status);
    QFETCH(bool, brokeOff);
    QCOMPARE(ResumeDecision::brokeOff(error, status), brokeOff);
}

void ResumeDecisionsTest::curlArguments_data()
{
    QTest::addColumn<qint64>("from");
    QTest::addColumn<QString>("validator");
    QTest::addColumn<QString>("headers");
    QTest::addColumn<QStringList>("tail"); // after --max-filesize N (a direct connection)

    const QString h = QStringLiteral("/d/t.tvq.headers");
    const QString out = QStringLiteral("/d/t.tvq.part");
    const QString url = QStringLiteral("https://example.org/releases/t%20u.tvq");
    QTest::newRow("whole file") << qint64(0) << QString() << QString() << QStringList{"--noproxy", "*", "-o", out, url};
    QTest::newRow("whole file, headers kept") << qint64(0) << QString() << h
                                              << QStringList{"--dump-header", h, "--noproxy", "*", "-o", out, url};
    QTest::newRow("continued from byte 1000")
        << qint64(1000) << kEtag << h
        << QStringList{"--continue-at", "1000", "--header", "If-Range: \"v1\"", "--dump-header", h, "--noproxy", "*", "-o", out, url};
    QTest::newRow("continued, a date as validator")
        << qint64(5) << QStringLiteral("Tue, 01 Dec 2026 10:00:00 GMT") << h
        << QStringList{"--continue-at", "5", "--header", "If-Range: Tue, 01 Dec 2026 10:00:00 GMT", "--dump-header", h, "--noproxy", "*", "-o", out, url};
    QTest::newRow("no validator: never continued") << qint64(1000) << QString() << h
                                                   << QStringList{"--dump-header", h, "--noproxy", "*", "-o", out, url};
}

void ResumeDecisionsTest::curlArguments()
{
    QFETCH(qint64, from);
    QFETCH(QString, validator);
    QFETCH(QString, headers);
    QFETCH(QStringList, tail);

    const QStringList arguments = CurlFallback::argumentsFor(
        QStringLiteral("https://example.org/releases/t u.tvq"), QStringLiteral("/d/t.tvq.part"),
        DownloadTimings::production(), 3000, from, validator, headers);
    // The safety rules stand whatever is continued: no user configuration, HTTPS only.
    QCOMPARE(arguments.first(), QStringLiteral("-q"));
    QCOMPARE(arguments.mid(arguments.indexOf("--proto"), 2), (QStringList{"--proto", "=https"}));
    QCOMPARE(arguments.mid(arguments.indexOf("--proto-redir"), 2), (QStringList{"--proto-redir", "=https"}));
    const qsizetype limit = arguments.indexOf("--max-filesize");
    QVERIFY(limit > 0);
    QCOMPARE(arguments.at(limit + 1), QStringLiteral("3000"));
    QCOMPARE(arguments.mid(limit + 2), tail);
}

void ResumeDecisionsTest::curlAnswer_data()
{
    QTest::addColumn<QByteArray>("dump");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("validator");

    QTest::newRow("206 with an ETag")
        << QByteArray("HTTP/1.1 206 Partial Content\r\nContent-Range: bytes 10-99/100\r\nETag: \"v1\"\r\n\r\n")
        << 206 << kEtag;
    QTest::newRow("redirect, then 200 with a date")
        << QByteArray("HTTP/1.1 302 Found\r\nETag: \"old\"\r\nLocation: /x\r\n\r\n"
                      "HTTP/1.1 200 OK\r\nlast-modified: Tue, 01 Dec 2026 10:00:00 GMT\r\n\r\n")
        << 200 << QStringLiteral("Tue, 01 Dec 2026 10:00:00 GMT");
    QTest::newRow("HTTP/2, weak ETag only") << QByteArray("HTTP/2 200\r\netag: W/\"v1\"\r\n\r\n") << 200 << QString();
    QTest::newRow("416") << QByteArray("HTTP/1.1 416 Range Not Satisfiable\r\nContent-Range: bytes */100\r\n\r\n") << 416 << QString();
    QTest::newRow("nothing came") << QByteArray() << 0 << QString();
}

void ResumeDecisionsTest::curlAnswer()
{
    QFETCH(QByteArray, dump);
    QFETCH(int, status);
    QFETCH(QString, validator);
    QString found;
    QCOMPARE(CurlFallback::statusIn(dump, &found), status);
    QCOMPARE(found, validator);
}

void ResumeDecisionsTest::curlBrokeOff_data()
{
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<bool>("brokeOff");
    QTest::newRow("partial file") << 18 << true;
    QTest::newRow("too slow") << 28 << true;
    QTest::newRow("nothing back") << 52 << true;
    QTest::newRow("receive failed") << 56 << true;
    QTest::newRow("HTTP error") << 22 << false;
    QTest::newRow("range refused") << 33 << false;
    QTest::newRow("certificate") << 60 << false;
    QTest::newRow("write failed") << 23 << false;
    QTest::newRow("success") << 0 << false;
}

void ResumeDecisionsTest::curlBrokeOff()
{
    QFETCH(int, exitCode);
    QFETCH(bool, brokeOff);
    QCOMPARE(CurlFallback::brokeOff(exitCode), brokeOff);
}

void ResumeDecisionsTest::retryWaits_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("retry");
    QTest::addColumn<int>("waitMs");
    const int first = DownloadTimings::production().retryFirstDelayMs;
    QTest::newRow("first retry") << first << 0 << 1000;
    QTest::newRow("second retry") << first << 1 << 2000;
    QTest::newRow("third retry") << first << 2 << 4000;
    QTest::newRow("test timings, third") << 100 << 2 << 400;
}

void ResumeDecisionsTest::retryWaits()
{
    QFETCH(int, first);
    QFETCH(int, retry);
    QFETCH(int, waitMs);
    QCOMPARE(UpdateDownload::retryDelayMs(first, retry), waitMs);
}

void ResumeDecisionsTest::served_data()
{
    QTest::addColumn<QByteArray>("range");
    QTest::addColumn<QByteArray>("ifRange");
    QTest::addColumn<bool>("versioned");  // the response carries ETag "v1" and a date
    QTest::addColumn<int>("status");
    QTest::addColumn<qint64>("offset");
    QTest::addColumn<QByteArray>("contentRange");

    const QByteArray date = "Tue, 01 Dec 2026 10:00:00 GMT";
    QTest::newRow("no Range: whole") << QByteArray() << QByteArray() << true << 200 << qint64(0) << QByteArray();
    QTest::newRow("Range without If-Range") << QByteArray("bytes=40-") << QByteArray() << true << 206 << qint64(40) << QByteArray("bytes 40-99/100");
    QTest::newRow("If-Range with the ETag") << QByteArray("bytes=40-") << QByteArray("\"v1\"") << true << 206 << qint64(40) << QByteArray("bytes 40-99/100");
    QTest::newRow("If-Range with the date") << QByteArray("bytes=40-") << date << true << 206 << qint64(40) << QByteArray("bytes 40-99/100");
    QTest::newRow("If-Range with another ETag: whole") << QByteArray("bytes=40-") << QByteArray("\"v0\"") << true << 200 << qint64(0) << QByteArray();
    QTest::newRow("If-Range, no validator served: whole") << QByteArray("bytes=40-") << QByteArray("\"v1\"") << false << 200 << qint64(0) << QByteArray();
    QTest::newRow("beyond the end: 416") << QByteArray("bytes=100-") << QByteArray("\"v1\"") << true << 416 << qint64(0) << QByteArray("bytes */100");
    QTest::newRow("a list of ranges: whole") << QByteArray("bytes=0-9,20-") << QByteArray() << true << 200 << qint64(0) << QByteArray();
    QTest::newRow("suffix range: whole") << QByteArray("bytes=-10") << QByteArray() << true << 200 << qint64(0) << QByteArray();
}

void ResumeDecisionsTest::served()
{
    QFETCH(QByteArray, range);
    QFETCH(QByteArray, ifRange);
    QFETCH(bool, versioned);
    QFETCH(int, status);
    QFETCH(qint64, offset);
    QFETCH(QByteArray, contentRange);

    ReleaseServer::Request request;
    request.method = "GET";
    request.range = range;
    request.ifRange = ifRange;
    ReleaseServer::Response response = ReleaseServer::Response::ok(QByteArray(100, 'x'));
    if (versioned)
        response.extraHeaders = {{"ETag", "\"v1\""}, {"Last-Modified", "Tue, 01 Dec 2026 10:00:00 GMT"}};
    const ReleaseServer::Response sent = ServedRange::answer(request, response, 100);
    QCOMPARE(sent.status, status);
    QCOMPARE(sent.bodyOffset, offset);
    QCOMPARE(ServedRange::headerOf(sent, "Content-Range"), contentRange);
}

QTEST_GUILESS_MAIN(ResumeDecisionsTest)
#include "tst_resume_decisions.moc"
