// A record's line in the history file and what is said of it: every record comes back from its
// line as it was written, and a line that is not a record is none, whatever it holds.
#include "HistoryLine.h"
#include "HistoryText.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QTest>

Q_DECLARE_METATYPE(HistoryRecord)

namespace {

HistoryRecord update(const QString& from, const QString& to, const QString& result)
{
    HistoryRecord r;
    r.kind = HistoryRecord::Kind::Update;
    r.time = QDateTime(QDate(2026, 12, 9), QTime(14, 3, 7, 250), Qt::UTC);
    r.instrument = QStringLiteral("1D6B:0104");
    r.fromVersion = from;
    r.toVersion = to;
    r.result = result;
    return r;
}

HistoryRecord backup(int files, qint64 bytes, const QString& result)
{
    HistoryRecord r;
    r.kind = HistoryRecord::Kind::Backup;
    r.time = QDateTime(QDate(2026, 12, 9), QTime(14, 3), Qt::UTC);
    r.instrument = QStringLiteral("1D6B:0104");
    r.firmware = QStringLiteral("1.5.2");
    r.folder = QStringLiteral("/home/u/Tavlo Backups/2026-12-09 14-03");
    r.files = files;
    r.bytes = bytes;
    r.result = result;
    return r;
}

HistoryRecord restore(int files, const QString& result, const QString& reason = QString())
{
    HistoryRecord r;
    r.kind = HistoryRecord::Kind::Restore;
    r.time = QDateTime(QDate(2026, 12, 10), QTime(9, 0), Qt::UTC);
    r.firmware = QStringLiteral("1.5.2");
    r.folder = QStringLiteral("/home/u/Tavlo Backups/2026-12-09 14-03/");
    r.files = files;
    r.result = result;
    r.reason = reason;
    return r;
}

// A valid update line with one field set to the given JSON text.
QByteArray updateWith(const char* field, const char* json)
{
    return QByteArray(R"({"kind":"update","time":"2026-12-09T14:03:00Z","result":"confirmed",")") + field
        + "\":" + json + "}";
}

QByteArray backupWith(const char* field, const char* json)
{
    return QByteArray(R"({"kind":"backup","time":"2026-12-09T14:03:00Z","result":"done",")") + field
        + "\":" + json + "}";
}

} // namespace

class HistoryLineTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void roundTrip_data();
    void roundTrip();
    void hostileLines_data();
    void hostileLines();
    void writtenTextsArePlainAndBounded();
    void texts_data();
    void texts();
};

void HistoryLineTest::roundTrip_data()
{
    QTest::addColumn<HistoryRecord>("record");
    HistoryRecord full = update("1.5.2", "1.6.0", "confirmed");
    full.fileName = QStringLiteral("tavlo-1.6.0.tvq");
    full.sha256 = QString(64, QLatin1Char('a'));
    full.confirmedVersion = QStringLiteral("1.6.0");
    QTest::newRow("update, every field") << full;
    QTest::newRow("update, nothing known but the result") << update(QString(), QString(), "not-confirmed");
    HistoryRecord done = backup(412, 38'000'000, "done");
    done.linkedBytes = 37'000'000;
    done.durationMs = 91'500;
    QTest::newRow("backup") << done;
    QTest::newRow("backup, largest exact counts") << backup(2147483647, 9007199254740992LL, "done");
    QTest::newRow("backup cancelled, with reason") << [] {
        HistoryRecord r = backup(0, 0, "cancelled");
        r.reason = QStringLiteral("Die Verbindung ging verloren — ✓ 𝄞");
        return r;
    }();
    QTest::newRow("restore") << restore(3, "done");
    QTest::newRow("restore failed") << restore(0, "failed", "The volume is full.");
}

void HistoryLineTest::roundTrip()
{
    QFETCH(HistoryRecord, record);
    const QByteArray line = HistoryLine::serialise(record);
    QVERIFY(!line.contains('\n'));
    const std::optional<HistoryRecord> back = HistoryLine::parse(line);
    QVERIFY2(back.has_value(), line.constData());
    QCOMPARE(back->time, record.time);
    QVERIFY2(*back == record, line.constData());
}

void HistoryLineTest::hostileLines_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("isRecord");
    QTest::addColumn<QString>("text"); // a record's from (update) or reason (backup)

    QTest::newRow("empty") << QByteArray() << false << QString();
    QTest::newRow("null") << QByteArray("null") << false << QString();
    QTest::newRow("array") << QByteArray("[1,2]") << false << QString();
    QTest::newRow("empty object") << QByteArray("{}") << false << QString();
    QTest::newRow("cut off") << updateWith("from", "\"1.5").left(40) << false << QString();
    QTest::newRow("binary") << QByteArray("\x00\xff\xfe{", 4) << false << QString();
    QTest::newRow("unknown kind") << QByteArray(R"({"kind":"reboot","time":"2026-12-09T14:03:00Z","result":"done"})")
                                  << false << QString();
    QTest::newRow("kind a number") << QByteArray(R"({"kind":1,"time":"2026-12-09T14:03:00Z","result":"done"})")
                                   << false << QString();
    QTest::newRow("no time") << QByteArray(R"({"kind":"update","result":"confirmed"})") << false << QString();
    QTest::newRow("time not a date") << QByteArray(R"({"kind":"update","time":"yesterday","result":"failed"})")
                                     << false << QString();
    QTest::newRow("time a number") << QByteArray(R"({"kind":"update","time":1765000000,"result":"failed"})")
                                   << false << QString();
    QTest::newRow("time past year 9999 in UTC") << updateWith("from", "\"1\"").replace("2026-12-09T14:03:00Z", "9999-12-31T23:00:00-02:00")
                                                 << false << QString();
    QTest::newRow("no result") << QByteArray(R"({"kind":"update","time":"2026-12-09T14:03:00Z"})") << false << QString();
    QTest::newRow("unknown result") << updateWith("result", "\"great\"") << false << QString();
    QTest::newRow("result of another kind") << updateWith("result", "\"done\"") << false << QString();
    QTest::newRow("version a number") << updateWith("from", "1.5") << false << QString();
    QTest::newRow("version an object") << updateWith("from", "{\"a\":1}") << false << QString();
    QTest::newRow("files negative") << backupWith("files", "-1") << false << QString();
    QTest::newRow("files not whole") << backupWith("files", "1.5") << false << QString();
    QTest::newRow("files past int") << backupWith("files", "2147483648") << false << QString();
    QTest::newRow("files a text") << backupWith("files", "\"3\"") << false << QString();
    QTest::newRow("bytes past 2^53") << backupWith("bytes", "9007199254740994") << false << QString();
    QTest::newRow("bytes huge") << backupWith("bytes", "1e300") << false << QString();
    QTest::newRow("over 64 KiB") << updateWith("padding", ('"' + QByteArray(64 * 1024, 'x') + '"').constData())
                                 << false << QString();
    QTest::newRow("deep nesting") << updateWith("x", (QByteArray(5000, '[') + QByteArray(5000, ']')).constData())
                                  << false << QString();
    // Records, as far as they can be read.
    QTest::newRow("unknown field ignored") << updateWith("colour", "\"red\"") << true << QString();
    QTest::newRow("time with an offset") << updateWith("from", "\"1.5.2\"").replace("14:03:00Z", "16:03:00+02:00")
                                         << true << "1.5.2";
    QTest::newRow("control characters") << updateWith("from", R"("1.5\u0000\n\u001b[31m\u007f\u0085")") << true
                                        << QStringLiteral("1.5\uFFFD\uFFFD\uFFFD[31m\uFFFD\uFFFD");
    QTest::newRow("bidirectional controls") << updateWith("from", R"("\u202e2.5.1\u2066")") << true
                                            << QStringLiteral("\uFFFD2.5.1\uFFFD");
    QTest::newRow("lone surrogate") << updateWith("from", R"("a\ud800b")") << true << QStringLiteral("a\uFFFDb");
    QTest::newRow("long text cut") << updateWith("from", ('"' + QByteArray(5000, 'v') + '"').constData()) << true
                                   << QString(HistoryLine::kMaxTextChars, QLatin1Char('v'));
    QTest::newRow("backup reason") << backupWith("reason", R"("disk\tfull")") << true << QStringLiteral("disk\uFFFDfull");
}

void HistoryLineTest::hostileLines()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, isRecord);
    QFETCH(QString, text);
    const std::optional<HistoryRecord> record = HistoryLine::parse(line);
    QCOMPARE(record.has_value(), isRecord);
    if (!record)
        return;
    QCOMPARE(record->time.timeSpec(), Qt::UTC);
    QCOMPARE(record->time, QDateTime(QDate(2026, 12, 9), QTime(14, 3), Qt::UTC));
    QCOMPARE(record->kind == HistoryRecord::Kind::Update ? record->fromVersion : record->reason, text);
}

void HistoryLineTest::writtenTextsArePlainAndBounded()
{
    // Every text as long as can be, each character three bytes of UTF-8, some escaped.
    const QString longest = QString(5000, QChar(0x20AC)) + QStringLiteral("\n\"\\");
    HistoryRecord r = update(longest, longest, "failed");
    r.fileName = r.sha256 = r.confirmedVersion = r.instrument = longest;
    const QByteArray line = HistoryLine::serialise(r);
    QVERIFY(line.size() <= HistoryLine::kMaxLineBytes);
    QVERIFY(!line.contains('\n'));
    const std::optional<HistoryRecord> back = HistoryLine::parse(line);
    QVERIFY(back.has_value());
    QCOMPARE(back->fromVersion, QString(HistoryLine::kMaxTextChars, QChar(0x20AC)));

    HistoryRecord shortOne = update(QStringLiteral("1.5\n2\u202e"), "1.6.0", "failed");
    const std::optional<HistoryRecord> plain = HistoryLine::parse(HistoryLine::serialise(shortOne));
    QVERIFY(plain.has_value());
    QCOMPARE(plain->fromVersion, QStringLiteral("1.5\uFFFD2\uFFFD"));
}

void HistoryLineTest::texts_data()
{
    QTest::addColumn<HistoryRecord>("record");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QString>("detail");

    HistoryRecord confirmed = update("1.5.2", "1.6.0", "confirmed");
    confirmed.fileName = QStringLiteral("tavlo-1.6.0.tvq");
    confirmed.sha256 = QStringLiteral("ab12");
    confirmed.confirmedVersion = QStringLiteral("1.6.0");
    QTest::newRow("update confirmed") << confirmed << QStringLiteral("Update 1.5.2 → 1.6.0: confirmed")
                                      << "File tavlo-1.6.0.tvq\nSHA-256 ab12\nThe instrument reported firmware 1.6.0 afterwards.";
    QTest::newRow("update not applied") << update("1.5.2", "1.6.0", "not-applied")
                                        << QStringLiteral("Update 1.5.2 → 1.6.0: not applied") << QString();
    QTest::newRow("local file, version unknown") << update("1.5.2", "", "not-confirmed")
                                                 << "Update from 1.5.2: not confirmed" << QString();
    QTest::newRow("finished from update mode") << update("", "1.6.0", "cancelled") << "Update to 1.6.0: cancelled"
                                               << QString();
    QTest::newRow("backup") << backup(412, 38'000'000, "done") << "Backup: 412 files, 38 MB"
                            << "Folder /home/u/Tavlo Backups/2026-12-09 14-03";
    QTest::newRow("backup of one small file") << backup(1, 999, "done") << "Backup: 1 file, 999 bytes"
                                              << "Folder /home/u/Tavlo Backups/2026-12-09 14-03";
    QTest::newRow("backup, kB rounds up to MB") << backup(2, 999'600, "done") << "Backup: 2 files, 1.0 MB"
                                                << "Folder /home/u/Tavlo Backups/2026-12-09 14-03";
    QTest::newRow("backup, GB") << backup(9, 1'500'000'000, "done") << "Backup: 9 files, 1.5 GB"
                                << "Folder /home/u/Tavlo Backups/2026-12-09 14-03";
    QTest::newRow("backup failed") << backup(5, 100, "failed") << "Backup: failed"
                                   << "Folder /home/u/Tavlo Backups/2026-12-09 14-03";
    QTest::newRow("restore") << restore(3, "done") << "Restore from 2026-12-09 14-03 firmware 1.5.2: 3 files"
                             << "Folder /home/u/Tavlo Backups/2026-12-09 14-03/";
    HistoryRecord percent = restore(3, "done");
    percent.folder = QStringLiteral("C:\\Backups\\100%2 %1");
    QTest::newRow("restore, a folder with place markers") << percent
                                                          << "Restore from 100%2 %1 firmware 1.5.2: 3 files"
                                                          << "Folder C:\\Backups\\100%2 %1";
    QTest::newRow("restore failed") << restore(0, "failed", "The volume is full.")
                                    << "Restore from 2026-12-09 14-03 firmware 1.5.2: failed"
                                    << "Folder /home/u/Tavlo Backups/2026-12-09 14-03/\nThe volume is full.";
}

void HistoryLineTest::texts()
{
    QFETCH(HistoryRecord, record);
    QFETCH(QString, summary);
    QFETCH(QString, detail);
    QCOMPARE(HistoryText::summary(record), summary);
    QCOMPARE(HistoryText::detail(record), detail);
}

QTEST_GUILESS_MAIN(HistoryLineTest)
#include "tst_history_line.moc"
