// Dropped connections through the whole program (an edition's wiring, see RigEdition.h),
// one per row, against the simulated instrument and a local release server that gives the
// update file a validator and answers ranges: the server cuts the connection, ignores ranges
// or changes the file between two requests. Each row checks what the user sees (only
// progress, never a failure, while the download continues; the failure and its sentence when
// the tries run out), what the server was asked (a Range from the byte that arrived), that
// the instrument gets the right file and never a spliced one, and the way back ("Try again"
// continues from the bytes kept).
#include "FaultScreen.h"

#include "EndToEndRig.h"
#include "Startup.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kComplete = QStringLiteral("File transfer complete!");
const QString kDownloadFailed = QStringLiteral("Download failed!");

enum class Cut { Once, Always };

// What the flow showed on the way: every version line, and the progress while downloading.
struct Seen
{
    QStringList lines;
    QList<int> progress;
};

QByteArray catalogueWithChecksum(const EndToEndRig& rig, const QByteArray& file)
{
    QJsonArray entries = QJsonDocument::fromJson(rig.catalogue()).array();
    QJsonObject entry = entries.last().toObject();
    entry.insert(QStringLiteral("sha256"),
                 QString::fromLatin1(QCryptographicHash::hash(file, QCryptographicHash::Sha256).toHex()));
    entries.replace(entries.size() - 1, entry);
    return QJsonDocument(entries).toJson();
}

QList<ReleaseServer::Request> fileRequests(EndToEndRig& rig, bool byCurl)
{
    QList<ReleaseServer::Request> found;
    for (const ReleaseServer::Request& request : rig.server().requests()) {
        if (request.method == "GET" && request.path == rig.filePath()
            && request.userAgent.startsWith("curl/") == byCurl)
            found << request;
    }
    return found;
}

qint64 partialSize(const QString& root)
{
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.endsWith(QLatin1String(".part")))
            return QFileInfo(path).size();
    }
    return -1;
}

} // namespace

class ResumeMatrix : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(!ReleaseServer::caCertificatePath().isEmpty());
        QCOMPARE(Startup::registerFonts(), 3);
    }
    void init() { qputenv("TMPDIR", QFile::encodeName(processTemp.path())); }
    void continues_data();
    void continues();
    void triesRunOut();

private:
    QTemporaryDir processTemp;
};

void ResumeMatrix::continues_data()
{
    QTest::addColumn<int>("cutPercent");
    QTest::addColumn<bool>("ignoresRanges");
    QTest::addColumn<bool>("changes");       // a new version after the first request
    QTest::addColumn<bool>("withChecksum");  // the catalogue gives the first version's
    QTest::addColumn<bool>("continued");     // the second answer continues the first
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QString>("reason");

    QTest::newRow("cut at 10 %") << 10 << false << false << true << true << kComplete << QString();
    QTest::newRow("cut at 90 %") << 90 << false << false << true << true << kComplete << QString();
    QTest::newRow("server without ranges: a fresh 200")
        << 50 << true << false << true << false << kComplete << QString();
    QTest::newRow("file changed on the server: fails its check")
        << 50 << false << true << true << false << kDownloadFailed << QStringLiteral("checksum");
    QTest::newRow("file changed on the server: the new file whole")
        << 50 << false << true << false << false << kComplete << QString();
}

void ResumeMatrix::continues()
{
    QFETCH(int, cutPercent);
    QFETCH(bool, ignoresRanges);
    QFETCH(bool, changes);
    QFETCH(bool, withChecksum);
    QFETCH(bool, continued);
    QFETCH(QString, screen);
    QFETCH(QString, reason);

    EndToEndRig rig;
    QVERIFY2(rig.serve(), qPrintable(rig.error()));
    const QByteArray file = rig.updateFile();
    // As long as the first and sharing its first half: a splice would have the right size.
    QByteArray newer = file;
    newer.replace(file.size() / 2, 4096, QByteArray(4096, 'Z'));
    const qint64 cut = file.size() * cutPercent / 100;
    ReleaseServer& server = rig.server();
    server.setResponse("GET", rig.filePath(), ReleaseServer::Response::versioned(file));
    if (withChecksum)
        server.setCatalogue(catalogueWithChecksum(rig, file));
    server.setHonoursRanges(!ignoresRanges);
    server.cutAfterByte(rig.filePath(), cut);
    if (changes)
        server.changeAfterNextRequest(rig.filePath(), newer);
    rig.instrument().plugIn();
    QVERIFY(rig.start(false));
    UpdateFlow& flow = rig.program().updateFlow();
    FlowScreen w(rig.program().presence(), flow);
    Seen seen;
    QObject::connect(&flow, &UpdateFlow::changed, &flow, [&]() {
        if (seen.lines.isEmpty() || seen.lines.constLast() != flow.versionLineText())
            seen.lines << flow.versionLineText();
        if (flow.state() != UpdateFlow::State::Downloading)
            return;
        // As a bar or as a text ("… 42 %"), by the edition.
        int percent = -1;
        if (flow.progressShown() && flow.progressMode() == QLatin1String("downloading")) {
            percent = flow.progress();
        } else {
            static const QRegularExpression inText(QStringLiteral("(\\d+)\\s*%"));
            const QRegularExpressionMatch match = inText.match(flow.versionLineText());
            if (match.hasMatch())
                percent = match.captured(1).toInt();
        }
        if (percent >= 0 && (seen.progress.isEmpty() || seen.progress.constLast() != percent))
            seen.progress << percent;
    });

    QTRY_VERIFY_WITH_TIMEOUT(w.isShown(QStringLiteral("updateButton")), 5000);
    QVERIFY(w.clickButton(QStringLiteral("Update")));
    QTRY_VERIFY_WITH_TIMEOUT(w.startEnabled(), 5000);
    QVERIFY(w.clickButton(QStringLiteral("Start Update")));
    QTRY_COMPARE_WITH_TIMEOUT(w.text(QStringLiteral("versionText")), screen, 30000);

    const QList<ReleaseServer::Request> asked = fileRequests(rig, false);
    QCOMPARE(asked.size(), 2);
    QVERIFY(asked.at(0).range.isEmpty());
    // The second asked from the byte that arrived, of the version it belongs to.
    QCOMPARE(asked.at(1).range, "bytes=" + QByteArray::number(cut) + '-');
    QVERIFY(!asked.at(1).ifRange.isEmpty());
    QVERIFY(fileRequests(rig, true).isEmpty());
    if (screen == kComplete) {
        // Nothing but progress on the way.
        QVERIFY2(!seen.lines.contains(kDownloadFailed), qPrintable(seen.lines.join(QLatin1String(" | "))));
        QVERIFY(w.text(QStringLiteral("failureReasonText")).isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(rig.instrument().appliedUpdates().size(), 1, 15000);
        // The right file, never one spliced from two versions.
        QVERIFY(rig.instrument().appliedUpdates().constFirst().bytes == (changes ? newer : file));
        if (continued) {
            QVERIFY(seen.progress.size() >= 2);
            for (qsizetype i = 1; i < seen.progress.size(); ++i)
                QVERIFY2(seen.progress.at(i) >= seen.progress.at(i - 1),
                         qPrintable(QStringLiteral("progress went back at %1").arg(i)));
        }
    } else {
        // The reason under the failure text, or in the notice when it says it already.
        const QString why = w.text(QStringLiteral("failureReasonText")).isEmpty()
            ? w.text(QStringLiteral("infoText")) : w.text(QStringLiteral("failureReasonText"));
        QVERIFY2(why.contains(reason), qPrintable(why));
        QVERIFY(rig.instrument().appliedUpdates().isEmpty());
        QCOMPARE(partialSize(rig.downloadRoot()), qint64(-1)); // nothing of it kept
    }
}

void ResumeMatrix::triesRunOut()
{
    EndToEndRig rig;
    QVERIFY2(rig.serve(), qPrintable(rig.error()));
    const QByteArray file = rig.updateFile();
    ReleaseServer& server = rig.server();
    server.setCatalogue(catalogueWithChecksum(rig, file));
    // Every answer breaks off after a tenth of the file more.
    ReleaseServer::Response stingy = ReleaseServer::Response::versioned(file);
    stingy.closeAfterBytes = file.size() / 10;
    server.setResponse("GET", rig.filePath(), stingy);
    rig.instrument().plugIn();
    QVERIFY(rig.start(false));
    UpdateFlow& flow = rig.program().updateFlow();
    FlowScreen w(rig.program().presence(), flow);

    QTRY_VERIFY_WITH_TIMEOUT(w.isShown(QStringLiteral("updateButton")), 5000);
    QVERIFY(w.clickButton(QStringLiteral("Update")));
    QTRY_VERIFY_WITH_TIMEOUT(w.startEnabled(), 5000);
    QVERIFY(w.clickButton(QStringLiteral("Start Update")));
    QTRY_COMPARE_WITH_TIMEOUT(w.text(QStringLiteral("versionText")), kDownloadFailed, 30000);
    // The download and its three retries, each from where the one before stopped (and curl
    // after them where there is curl).
    const QList<ReleaseServer::Request> byQt = fileRequests(rig, false);
    QCOMPARE(byQt.size(), 4);
    for (int i = 1; i < 4; ++i)
        QCOMPARE(byQt.at(i).range, "bytes=" + QByteArray::number(i * stingy.closeAfterBytes) + '-');
    const qint64 kept = partialSize(rig.downloadRoot());
    QCOMPARE(kept, (RigEdition::kHasCurlFallback ? 5 : 4) * stingy.closeAfterBytes);
    const QString why = w.text(QStringLiteral("failureReasonText")).isEmpty()
        ? w.text(QStringLiteral("infoText")) : w.text(QStringLiteral("failureReasonText"));
    QVERIFY2(why.contains(QStringLiteral("the download continues where it stopped")), qPrintable(why));
    QVERIFY(w.isShown(QStringLiteral("tryAgainButton")));

    // The connection well again: "Try again" continues from the bytes kept.
    server.setResponse("GET", rig.filePath(), ReleaseServer::Response::versioned(file));
    server.clearRequests();
    QSignalSpy applied(&rig.instrument(), &SimInstrument::updateApplied);
    QVERIFY(w.clickButton(QStringLiteral("Try again")));
    QTRY_VERIFY_WITH_TIMEOUT(w.startEnabled(), 5000);
    QVERIFY(w.clickButton(QStringLiteral("Start Update")));
    QTRY_COMPARE_WITH_TIMEOUT(w.text(QStringLiteral("versionText")), kComplete, 30000);
    const QList<ReleaseServer::Request> again = fileRequests(rig, false);
    QCOMPARE(again.size(), 1);
    QCOMPARE(again.at(0).range, "bytes=" + QByteArray::number(kept) + '-');
    QTRY_COMPARE_WITH_TIMEOUT(applied.size(), 1, 30000);
    QVERIFY(rig.instrument().appliedUpdates().constLast().bytes == file);
    QCOMPARE(partialSize(rig.downloadRoot()), qint64(-1));
}

QTEST_MAIN(ResumeMatrix)
#include "tst_resume_matrix.moc"
