// A catalogue large enough to be read on the reader thread gives the same result as one read
// at once: the same signals in the same order, the same state, the same version list; a
// download asked for while it is being read waits for it instead of asking again.
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "download/full/Downloader.h"
#include "ReleaseServer.h"
#include "TestEnvironment.h"
#include "UpdateChoices.h"

namespace {

// count entries, versions 1.0.0 upwards; padding makes each entry about this many bytes.
QByteArray catalogue(int count, int entryBytes)
{
    QByteArray json = "[";
    for (int i = 0; i < count; ++i) {
        const QByteArray v = "1." + QByteArray::number(i / 100) + '.' + QByteArray::number(i % 100);
        QByteArray entry = R"({"file_name":"f-)" + v + R"(.tvq","version":")" + v
                           + R"(","total_file_size":"1000","code_name":")";
        entry += QByteArray(qMax(0, entryBytes - int(entry.size()) - 3), 'x') + "\"}";
        json += (i > 0 ? "," : "") + entry;
    }
    return json + "]";
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
    const QByteArray json = catalogue(count, entryBytes);
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
    const QByteArray json = catalogue(3000, 250);
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

QTEST_MAIN(CatalogueReadAside)
#include "tst_catalogue_read_aside.moc"
