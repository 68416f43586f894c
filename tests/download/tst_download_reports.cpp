// What follows each failure of the update download, by the edition's choice: the full
// edition's reports hand a failed transfer or write to curl (its first step told through
// downloadStatus), the update-only edition's end the download with the reason; the failures
// that end a download at once do so the same way in both. The download's failures are raised
// directly: no server, and no curl run (the file names given to curl are ones it refuses).
#include "DownloadFailureText.h"
#include "DownloadReports.h"
#include "SignalLog.h"
#include "UpdateDownload.h"

#include <QTest>

namespace {

enum class Failure { Transfer, Write, Check, NoCatalogue, UnusableName, CatalogueUnavailable };

void raise(UpdateDownload& download, Failure failure, const QString& name, const QString& why)
{
    switch (failure) {
    case Failure::Transfer:
        Q_EMIT download.transferFailed(name, why);
        break;
    case Failure::Write:
        Q_EMIT download.writeFailed(name, why);
        break;
    case Failure::Check:
        Q_EMIT download.checkFailed(name, why);
        break;
    case Failure::NoCatalogue:
        Q_EMIT download.noCatalogue(why);
        break;
    case Failure::UnusableName:
        Q_EMIT download.unusableFileName(name);
        break;
    case Failure::CatalogueUnavailable:
        Q_EMIT download.catalogueUnavailable(why);
        break;
    }
}

// The entries of a download that ends failed with this reason.
QStringList endsWith(const QString& why)
{
    return {QStringLiteral("reason:") + why, QStringLiteral("status:false:") + why,
            QStringLiteral("finished:false::"), QStringLiteral("transfer:false")};
}

} // namespace

Q_DECLARE_METATYPE(DownloadReports::FailedTransfer)
Q_DECLARE_METATYPE(Failure)

class TestDownloadReports : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void failures_data();
    void failures();
};

void TestDownloadReports::failures_data()
{
    QTest::addColumn<DownloadReports::FailedTransfer>("route");
    QTest::addColumn<Failure>("failure");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("why");
    QTest::addColumn<QStringList>("expected");

    const auto curl = DownloadReports::FailedTransfer::FallBackToCurl;
    const auto reason = DownloadReports::FailedTransfer::FailWithReason;
    const QString unusable = DownloadFailureText::unusableFileName();
    const QString curlStarts = QStringLiteral("status:true:Hmm, the download didn\u2019t go through");
    const QString refused = QStringLiteral("../tavlo.tvq"); // curl refuses it before it runs

    QTest::newRow("update-only: transfer failed")
        << reason << Failure::Transfer << "tavlo.tvq" << "cut short" << endsWith("cut short");
    QTest::newRow("update-only: write failed")
        << reason << Failure::Write << "tavlo.tvq" << "disk full" << endsWith("disk full");
    QTest::newRow("full: transfer failed, curl takes over")
        << curl << Failure::Transfer << refused << "cut short"
        << (QStringList{"reason:cut short", curlStarts} + endsWith(unusable));
    QTest::newRow("full: write failed, reported, then curl takes over")
        << curl << Failure::Write << refused << "disk full"
        << (QStringList{"finished:false::", "transfer:false", "reason:disk full", curlStarts}
            + endsWith(unusable));
    for (const auto route : {curl, reason}) {
        const char* edition = route == curl ? "full" : "update-only";
        QTest::addRow("%s: check failed", edition)
            << route << Failure::Check << "tavlo.tvq" << "wrong size" << endsWith("wrong size");
        QTest::addRow("%s: no catalogue", edition)
            << route << Failure::NoCatalogue << QString() << "offline" << endsWith("offline");
        QTest::addRow("%s: unusable file name", edition)
            << route << Failure::UnusableName << refused << QString() << endsWith(unusable);
        QTest::addRow("%s: catalogue unavailable", edition)
            << route << Failure::CatalogueUnavailable << QString() << "offline"
            << QStringList{"reason:offline"};
    }
}

void TestDownloadReports::failures()
{
    QFETCH(DownloadReports::FailedTransfer, route);
    QFETCH(Failure, failure);
    QFETCH(QString, name);
    QFETCH(QString, why);
    QFETCH(QStringList, expected);

    UpdateDownload download(QUrl(QStringLiteral("https://127.0.0.1:1")));
    DownloadReports reports(download, route, DownloadTimings::production());
    SignalLog log(&reports);
    connect(&reports, &DownloadReports::failureReasonChanged, &log,
            [&log](const QString& reason) { log.entries << QStringLiteral("reason:") + reason; });

    raise(download, failure, name, why);
    QCOMPARE(log.entries, expected);
    QCOMPARE(reports.failureReason(), expected.filter(QStringLiteral("reason:")).last().mid(7));
}

QTEST_GUILESS_MAIN(TestDownloadReports)
#include "tst_download_reports.moc"
