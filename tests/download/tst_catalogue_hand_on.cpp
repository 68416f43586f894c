// A long catalogue's entries are handed on in slices, one per event-loop turn, with the same
// signals as a short one's at once: one releasesJsonFetched and latestVersionFetched per entry
// in catalogue order, catalogueRead after the last. What comes meanwhile waits for the last
// entry ("Start Update", a picked version) or replaces the whole hand-on (another catalogue),
// never mixing two catalogues; a cancel or the downloader's end leave nothing behind.
#include <QMap>
#include <QSet>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

#include "download/full/Downloader.h"
#include "ReleaseLocation.h"
#include "ReleaseServer.h"
#include "TestEnvironment.h"
#include "UpdateChoices.h"

namespace {

// The event-loop turn a signal comes in: signals of one turn get the same number.
class Turns : public QObject
{
public:
    int now()
    {
        if (!pending) {
            pending = true;
            QMetaObject::invokeMethod(this, [this] { pending = false; ++count; }, Qt::QueuedConnection);
        }
        return count;
    }

private:
    int count = 0;
    bool pending = false;
};

// The versions handed on, in order, each with its turn, and the turn of catalogueRead.
// unpaired counts the signals out of place: a version not right after its own
// releasesJsonFetched or with the hand-on no longer under way, a catalogueRead with it still
// under way.
struct HandOnLog
{
    QStringList versions;
    QList<int> turns;
    int readAtTurn = -1;
    int unpaired = 0;

    // The most entries of one catalogue (their versions begin with major) handed on in one
    // turn, and in how many turns all were.
    int largestTurn(int major = 1) const
    {
        QMap<int, int> perTurn;
        const QString prefix = QString::number(major) + QLatin1Char('.');
        for (int i = 0; i < turns.size(); ++i) {
            if (versions.at(i).startsWith(prefix))
                ++perTurn[turns.at(i)];
        }
        return perTurn.isEmpty() ? 0 : *std::max_element(perTurn.cbegin(), perTurn.cend());
    }
    int turnCount() const { return QSet<int>(turns.cbegin(), turns.cend()).size(); }

    void follow(Downloader& downloader, Turns& clock, QObject* context)
    {
        auto fetched = std::make_shared<int>(0);
        QObject::connect(&downloader, &Downloader::releasesJsonFetched, context, [fetched] { ++*fetched; });
        UpdateDownload* core = &downloader.updateDownload();
        QObject::connect(&downloader, &Downloader::latestVersionFetched, context,
                         [this, fetched, core, &clock](const QString& version) {
                             if (*fetched != versions.size() + 1 || !core->handingOnCatalogue())
                                 ++unpaired;
                             versions << version;
                             turns << clock.now();
                         });
        QObject::connect(core, &UpdateDownload::catalogueRead, context, [this, core, &clock] {
            if (core->handingOnCatalogue())
                ++unpaired;
            readAtTurn = clock.now();
        });
    }
};

QStringList versionsOf(int major, int from, int to)
{
    QStringList list;
    for (int i = from; i < to; ++i)
        list << TestEnvironment::numberedVersion(major, i);
    return list;
}

}  // namespace

class CatalogueHandOn : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void handOnInSlices_data();
    void handOnInSlices();
    void startDuringHandOn_data();
    void startDuringHandOn();
    void interruptedHandOn_data();
    void interruptedHandOn();

private:
    ReleaseServer server;
    QTemporaryDir tempDir;
};

void CatalogueHandOn::initTestCase()
{
    QVERIFY2(server.start(), qPrintable(server.errorText()));
    ReleaseServer::trustInThisProcess();
    QVERIFY(tempDir.isValid());
    TestEnvironment::setTempDir(tempDir.path());
}

void CatalogueHandOn::handOnInSlices_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("entryBytes");
    QTest::addColumn<int>("fewestTurns");

    const int slice = UpdateDownload::kSliceEntries;
    QTest::newRow("a short one at once") << UpdateDownload::kEntriesAtOnce << 100 << 1;
    QTest::newRow("read at once, handed on in slices") << 1000 << 200 << (1000 + slice - 1) / slice;
    QTest::newRow("read aside, handed on in slices") << 3000 << 250 << (3000 + slice - 1) / slice;
}

void CatalogueHandOn::handOnInSlices()
{
    QFETCH(int, count);
    QFETCH(int, entryBytes);
    QFETCH(int, fewestTurns);
    server.setCatalogue(TestEnvironment::numberedCatalogue(count, entryBytes));
    Downloader downloader(server.baseUrl());
    QSignalSpy read(&downloader.updateDownload(), &UpdateDownload::catalogueRead);
    Turns clock;
    HandOnLog log;
    log.follow(downloader, clock, this);
    downloader.fetchReleasesJson();
    QTRY_COMPARE_WITH_TIMEOUT(read.size(), 1, 20000);

    QCOMPARE(log.versions, versionsOf(1, 0, count));
    QCOMPARE(log.unpaired, 0);
    QCOMPARE(downloader.currentLatestVersion(), TestEnvironment::numberedVersion(1, count - 1));
    QCOMPARE(downloader.currentFileName(), QStringLiteral("f-%1.tvq").arg(TestEnvironment::numberedVersion(1, count - 1)));
    // No slice longer than allowed, and the list read right after the last entry.
    QVERIFY(log.turnCount() >= fewestTurns);
    if (count <= UpdateDownload::kEntriesAtOnce)
        QCOMPARE(log.turnCount(), 1);
    QVERIFY(log.largestTurn() <= UpdateDownload::kSliceEntries);
    QCOMPARE(log.readAtTurn, log.turns.last());
    QCoreApplication::processEvents();
    QCOMPARE(read.size(), 1);
    QCOMPARE(log.versions.size(), count);
}

void CatalogueHandOn::startDuringHandOn_data()
{
    QTest::addColumn<int>("pressAt"); // after this many entries
    QTest::addColumn<int>("pickedRow"); // of the earlier list; -1: "Start Update"
    QTest::addColumn<QString>("fetched");

    const QString last = QStringLiteral("f-1.9.99.tvq");
    QTest::newRow("Start Update in the first slice") << 1 << -1 << last;
    QTest::newRow("Start Update in a later slice") << 600 << -1 << last;
    QTest::newRow("Start Update at the last entry") << 1000 << -1 << last;
    QTest::newRow("a version picked from the earlier list") << 600 << 1 << "f-0.0.1.tvq";
}

void CatalogueHandOn::startDuringHandOn()
{
    QFETCH(int, pressAt);
    QFETCH(int, pickedRow);
    QFETCH(QString, fetched);
    server.clearResponses();
    for (const QString& name : {QStringLiteral("f-1.9.99.tvq"), QStringLiteral("f-0.0.1.tvq")})
        server.setResponse("GET", QStringLiteral("/releases/") + name,
                           ReleaseServer::Response::ok(QByteArray(1000, 'u')));
    // The list on screen is of an earlier catalogue.
    server.setCatalogue(TestEnvironment::numberedCatalogue(3, 100, 0));
    Downloader downloader(server.baseUrl());
    UpdateChoices choices(downloader.updateDownload());
    QSignalSpy listed(&choices, &UpdateChoices::listChanged);
    downloader.fetchReleasesJson();
    QTRY_COMPARE_WITH_TIMEOUT(listed.size(), 1, 20000);
    QCOMPARE(choices.describe(1).value(QStringLiteral("version")).toString(), QStringLiteral("0.0.1"));

    server.setCatalogue(TestEnvironment::numberedCatalogue(1000, 200));
    server.clearRequests();
    QSignalSpy finished(&downloader, &Downloader::downloadFinished);
    int entries = 0;
    connect(&downloader, &Downloader::latestVersionFetched, this, [&](const QString&) {
        if (++entries != pressAt)
            return;
        // As the window does it: a pick, or "Start Update" (the default row), then the download.
        if (pickedRow >= 0)
            QVERIFY(choices.choose(pickedRow));
        else
            choices.chooseDefault();
        downloader.downloadFile();
    });
    downloader.fetchReleasesJson();
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 20000);

    QCOMPARE(entries, 1000);
    QCOMPARE(finished.first().at(0).toBool(), true);
    QCOMPARE(finished.first().at(2).toString(), fetched);
    QCOMPARE(server.countRequests("HEAD", QStringLiteral("/releases/") + fetched), 1);
    QCOMPARE(server.countRequests("HEAD", QStringLiteral("/releases/f-0.0.2.tvq")), 0);
    QCOMPARE(server.countRequests("GET", QStringLiteral("/releases/releases.json")), 1);
    QCoreApplication::processEvents();
    QCOMPARE(finished.size(), 1);
}

void CatalogueHandOn::interruptedHandOn_data()
{
    QTest::addColumn<QString>("what");
    QTest::newRow("another catalogue taken inside a signal") << "other, inside";
    QTest::newRow("another catalogue between two slices") << "other, between";
    QTest::newRow("a press cancelled") << "cancel";
    QTest::newRow("the downloader destroyed between two slices") << "destroy";
}

void CatalogueHandOn::interruptedHandOn()
{
    QFETCH(QString, what);
    // The second catalogue's reply is at hand before the first hand-on starts.
    server.setCatalogue(TestEnvironment::numberedCatalogue(300, 200, 2));
    server.clearRequests();
    QNetworkAccessManager network;
    QNetworkReply* other = network.get(QNetworkRequest(ReleaseLocation::catalogueUrl(server.baseUrl())));
    QTRY_VERIFY_WITH_TIMEOUT(other->isFinished(), 20000);
    server.setCatalogue(TestEnvironment::numberedCatalogue(1000, 200));

    auto downloader = std::make_unique<Downloader>(server.baseUrl());
    UpdateDownload* core = &downloader->updateDownload();
    QSignalSpy read(core, &UpdateDownload::catalogueRead);
    QSignalSpy destroyed(core, &QObject::destroyed);
    Turns clock;
    HandOnLog log;
    log.follow(*downloader, clock, this);
    connect(downloader.get(), &Downloader::latestVersionFetched, this, [&](const QString& version) {
        if (version != TestEnvironment::numberedVersion(1, 299))
            return;
        if (what == QLatin1String("other, inside"))
            core->handleCatalogueReply(other);
        else if (what == QLatin1String("other, between"))
            QMetaObject::invokeMethod(this, [&] { core->handleCatalogueReply(other); }, Qt::QueuedConnection);
        else if (what == QLatin1String("cancel")) {
            downloader->downloadFile();
            downloader->cancelDownload();
        } else
            QMetaObject::invokeMethod(this, [&] { downloader.reset(); }, Qt::QueuedConnection);
    });
    downloader->fetchReleasesJson();
    if (what == QLatin1String("destroy")) {
        QTRY_COMPARE_WITH_TIMEOUT(destroyed.size(), 1, 20000);
        const int handedOn = log.versions.size();
        QVERIFY(handedOn >= 300 && handedOn < 1000);
        QCoreApplication::processEvents();
        QCOMPARE(log.versions.size(), handedOn);
        QCOMPARE(read.size(), 0);
        return;
    }
    QTRY_COMPARE_WITH_TIMEOUT(read.size(), 1, 20000);
    QCoreApplication::processEvents();
    QCOMPARE(read.size(), 1);
    QCOMPARE(log.unpaired, 0);
    // One hand-on at a time: the replaced one does not go on beside the new one.
    QVERIFY(log.largestTurn(1) <= UpdateDownload::kSliceEntries);
    QVERIFY(log.largestTurn(2) <= UpdateDownload::kSliceEntries);
    if (what == QLatin1String("cancel")) {
        // The catalogue is handed on to its end; the cancelled press downloads nothing.
        QCOMPARE(log.versions, versionsOf(1, 0, 1000));
        QCOMPARE(downloader->currentLatestVersion(), TestEnvironment::numberedVersion(1, 999));
        QCOMPARE(server.countRequests("HEAD", QStringLiteral("/releases/f-1.9.99.tvq")), 0);
        return;
    }
    // The first catalogue's entries up to where it was replaced, then all of the second's.
    const int first = log.versions.indexOf(TestEnvironment::numberedVersion(2, 0));
    QVERIFY(first >= 300 && first < 1000);
    if (what == QLatin1String("other, inside"))
        QCOMPARE(first, 300);
    QCOMPARE(log.versions.mid(0, first), versionsOf(1, 0, first));
    QCOMPARE(log.versions.mid(first), versionsOf(2, 0, 300));
    QCOMPARE(downloader->currentLatestVersion(), TestEnvironment::numberedVersion(2, 299));
    QCOMPARE(downloader->currentFileName(), QStringLiteral("f-2.2.99.tvq"));
    QCOMPARE(core->catalogueEntries().size(), 300);
    QCOMPARE(core->catalogueChoices().rows().size(), 300);
}

QTEST_MAIN(CatalogueHandOn)
#include "tst_catalogue_hand_on.moc"
