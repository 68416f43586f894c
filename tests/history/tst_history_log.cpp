// The history file: records come back newest first, what is no record is skipped, the file
// stays bounded and kept for the user alone, and a place where nothing can be written is
// harmless.
#include "HistoryLine.h"
#include "HistoryLog.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

HistoryRecord numbered(int n)
{
    HistoryRecord r;
    r.kind = HistoryRecord::Kind::Backup;
    r.time = QDateTime(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC).addSecs(n * 60);
    r.files = n;
    r.folder = QStringLiteral("/backups/") + QString(200, QLatin1Char('f'));
    r.result = QStringLiteral("done");
    return r;
}

QList<int> numbers(const QList<HistoryRecord>& records)
{
    QList<int> out;
    for (const HistoryRecord& r : records)
        out << r.files;
    return out;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

class HistoryLogTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void noPathKeepsNothing();
    void appendsAndReadsNewestFirst();
    void linesThatAreNoRecordAreSkipped_data();
    void linesThatAreNoRecordAreSkipped();
    void staysBounded();
    void unwritablePlacesAreHarmless_data();
    void unwritablePlacesAreHarmless();
};

void HistoryLogTest::noPathKeepsNothing()
{
    const HistoryLog log = HistoryLog::inFolder(QString());
    QVERIFY(log.path().isEmpty());
    QVERIFY(!log.append(numbered(1)));
    QVERIFY(log.read().isEmpty());
}

void HistoryLogTest::appendsAndReadsNewestFirst()
{
    QTemporaryDir dir;
    // The state folder is made on the first record.
    const HistoryLog log = HistoryLog::inFolder(dir.filePath(QStringLiteral("state/tavlo")));
    QVERIFY(log.read().isEmpty());
    for (int n : {1, 2, 3})
        QVERIFY(log.append(numbered(n)));
    QCOMPARE(numbers(log.read()), (QList<int>{3, 2, 1}));
    QCOMPARE(log.read().first(), numbered(3));
    QFile file(log.path());
    QCOMPARE(QFileInfo(file).fileName(), QStringLiteral("history.jsonl"));
    QCOMPARE(file.permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther),
             QFile::Permissions());
}

void HistoryLogTest::linesThatAreNoRecordAreSkipped_data()
{
    QTest::addColumn<QByteArray>("before"); // the file before a record 9 is appended
    QTest::addColumn<QList<int>>("read");
    const QByteArray one = HistoryLine::serialise(numbered(1)) + '\n';
    const QByteArray two = HistoryLine::serialise(numbered(2)) + '\n';
    QTest::newRow("garbage between") << one + "garbage\n{\"kind\":\"update\"}\n\n" + two << QList<int>{9, 2, 1};
    QTest::newRow("blank and CRLF lines") << "\r\n\n" + one.chopped(1) + "\r\n" << QList<int>{9, 1};
    // The program ended while writing: the new record is a line of its own all the same.
    QTest::newRow("last line cut off") << one + two.left(30) << QList<int>{9, 1};
    QTest::newRow("binary") << QByteArray("\x00\x01\xff\n", 4) + one << QList<int>{9, 1};
}

void HistoryLogTest::linesThatAreNoRecordAreSkipped()
{
    QFETCH(QByteArray, before);
    QFETCH(QList<int>, read);
    QTemporaryDir dir;
    const HistoryLog log = HistoryLog::inFolder(dir.path());
    writeFile(log.path(), before);
    QVERIFY(log.append(numbered(9)));
    QCOMPARE(numbers(log.read()), read);
}

void HistoryLogTest::staysBounded()
{
    QTemporaryDir dir;
    const qint64 limit = 100 * 1024;
    const HistoryLog log(dir.filePath(QStringLiteral("history.jsonl")), limit);
    const qint64 lineBytes = HistoryLine::serialise(numbered(100)).size() + 1;
    const int count = int(3 * limit / lineBytes);
    for (int n = 1; n <= count; ++n) {
        QVERIFY(log.append(numbered(n)));
        QVERIFY(QFileInfo(log.path()).size() <= limit);
    }
    const QList<HistoryRecord> records = log.read();
    // The newest are kept, each whole, none twice, without a gap.
    QCOMPARE(records.first().files, count);
    QVERIFY(records.size() >= int(limit / 2 / lineBytes) - 1);
    QVERIFY(records.size() < count);
    for (int i = 1; i < records.size(); ++i)
        QCOMPARE(records.at(i).files, records.at(i - 1).files - 1);
    // The rewrite went through a temporary file: nothing else is left beside it.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("history.jsonl")});
}

void HistoryLogTest::unwritablePlacesAreHarmless_data()
{
    QTest::addColumn<QString>("relative"); // from a scratch folder holding the file "plain"
    QTest::newRow("the folder is a file") << QStringLiteral("plain/history.jsonl");
    QTest::newRow("below a file") << QStringLiteral("plain/state/history.jsonl");
    QTest::newRow("the history is a folder") << QStringLiteral("taken");
}

void HistoryLogTest::unwritablePlacesAreHarmless()
{
    QFETCH(QString, relative);
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("plain")), "not a folder");
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("taken")));
    const HistoryLog log(dir.filePath(relative));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^The history could not be kept")));
    QVERIFY(!log.append(numbered(1)));
    QVERIFY(log.read().isEmpty());
    QCOMPARE(QFile(dir.filePath(QStringLiteral("plain"))).size(), qint64(12));
}

QTEST_GUILESS_MAIN(HistoryLogTest)
#include "tst_history_log.moc"
