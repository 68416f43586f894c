// "tavlo backup", "tavlo restore" and the backup before "tavlo update", end to end: the
// program in its own process against the simulated instrument, whose storage lasts from one
// run to the next within a harness, as the instrument's card does.
#include "CliProcess.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(CliProcess::Setup)

namespace {

QString joined(const QStringList& lines)
{
    return lines.join(QLatin1Char('\n'));
}

CliProcess::Setup setup(const QString& firmware = QStringLiteral("1.5.2"), const QByteArray& input = QByteArray())
{
    CliProcess::Setup s;
    s.firmware = firmware;
    s.input = input;
    return s;
}

CliProcess::Setup withBackupsIn(const QString& folder, CliProcess::Setup s = setup())
{
    s.environment.insert(QStringLiteral("TAVLO_SIM_BACKUPS"), folder);
    return s;
}

QStringList backupsIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

QList<QJsonObject> events(const QStringList& out)
{
    QList<QJsonObject> list;
    for (const QString& line : out)
        list << QJsonDocument::fromJson(line.toUtf8()).object();
    return list;
}

// Each event's name once per run of the same name (progress repeats).
QStringList eventNames(const QList<QJsonObject>& list)
{
    QStringList names;
    for (const QJsonObject& o : list) {
        QString name = o.value("event").toString();
        if (name == QLatin1String("progress"))
            name += QLatin1Char(':') + o.value("stage").toString();
        if (o.contains("step"))
            name += QLatin1Char(':') + o.value("step").toString();
        if (names.isEmpty() || names.last() != name)
            names << name;
    }
    return names;
}

} // namespace

class CliBackupTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void refusals_data();
    void refusals();
    void backupMakesACheckedFolder();
    void interruptKeepsNothing();
    void updateAndItsBackup_data();
    void updateAndItsBackup();
    void listOfBackups();
    void restore_data();
    void restore();
    void restoreJsonEvents();
    void changedBackupIsRefusedBeforeTheInstrumentIsTouched();

private:
    CliProcess cli;
};

void CliBackupTest::refusals_data()
{
    QTest::addColumn<QStringList>("arguments"); // "{dir}": an empty folder of the row's own
    QTest::addColumn<QString>("firmware");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("errText");

    QTest::newRow("backup, firmware without transfer mode") << QStringList{"backup", "--to", "{dir}"} << "1.4.9" << 12
        << "Backups need firmware 1.5.0 or later; the instrument has 1.4.9.";
    QTest::newRow("backup, no folder for backups") << QStringList{"backup"} << "1.5.2" << 2
        << "There is no folder for backups; name one with --to DIR.";
    QTest::newRow("restore, firmware without transfer mode") << QStringList{"restore", "{dir}", "--yes"} << "1.4.9" << 12
        << "Restoring needs firmware 1.5.0 or later";
    QTest::newRow("restore, no such backup") << QStringList{"restore", "2020-01-01 nothing", "--from", "{dir}"}
        << "1.5.2" << 12 << "There is no backup \"2020-01-01 nothing\"";
    QTest::newRow("restore, a folder that is no backup") << QStringList{"restore", "{dir}", "--yes"} << "1.5.2" << 13
        << "manifest.json";
    QTest::newRow("update --backup, firmware without transfer mode") << QStringList{"update", "--yes", "--backup"}
        << "1.4.9" << 12 << "The update was not started; run it with --no-backup";
    QTest::newRow("update --backup, no folder for backups") << QStringList{"update", "--yes", "--backup"}
        << "1.5.2" << 12 << "There is no folder for backups.";
    QTest::newRow("--to with update") << QStringList{"update", "--to", "{dir}"} << "1.5.2" << 2
        << "--to belongs to the command backup";
    QTest::newRow("--backup and --no-backup") << QStringList{"update", "--backup", "--no-backup"} << "1.5.2" << 2
        << "either --backup or --no-backup";
    QTest::newRow("two backups named") << QStringList{"restore", "a", "b"} << "1.5.2" << 2
        << "Unexpected word \"b\"";
}

void CliBackupTest::refusals()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, firmware);
    QFETCH(int, exitCode);
    QFETCH(QString, errText);

    QTemporaryDir dir;
    arguments.replaceInStrings(QStringLiteral("{dir}"), dir.path());
    const CliProcess::Result r = cli.run(arguments, setup(firmware));
    QVERIFY(!r.crashed);
    QVERIFY2(r.exitCode == exitCode, qPrintable(QStringLiteral("exit %1\n%2\n%3").arg(r.exitCode).arg(joined(r.out), r.err)));
    QVERIFY2(r.err.contains(errText), qPrintable(r.err));
    // Nothing made, nothing switched, nothing installed.
    QVERIFY(backupsIn(dir.path()).isEmpty());
    QCOMPARE(r.state.value("woken"), QStringLiteral("0"));
    QVERIFY(!r.state.contains("applied"));
}

void CliBackupTest::backupMakesACheckedFolder()
{
    QTemporaryDir dir;
    const QString to = dir.filePath("made/on/demand");
    const CliProcess::Result r = cli.run({"--json", "backup", "--to", to}, setup());
    QVERIFY2(r.exitCode == 0, qPrintable(joined(r.out) + r.err));
    const QList<QJsonObject> list = events(r.out);
    QCOMPARE(eventNames(list), (QStringList{"backup_started", "backup_step:entering", "backup_step:copying",
                                            "backup_progress", "backup_step:leaving", "backup_done"}));
    int lastPercent = -1;
    for (const QJsonObject& o : list) {
        if (o.value("event").toString() == QLatin1String("backup_progress")) {
            QVERIFY(o.value("percent").toInt() > lastPercent);
            lastPercent = o.value("percent").toInt();
        }
    }
    QCOMPARE(lastPercent, 100);
    const QJsonObject done = list.last();
    const QStringList made = backupsIn(to);
    QCOMPARE(made.size(), 1);
    QCOMPARE(done.value("folder").toString(), QDir(to).filePath(made.first()));
    QVERIFY(QFile::exists(QDir(done.value("folder").toString()).filePath("manifest.json")));
    QVERIFY(done.value("files").toInt() > 0);
    QVERIFY(done.value("bytes").toInteger() > 0);
    // Back in normal mode, the card as it was.
    QCOMPARE(r.state.value("mounted_TAVLO"), QStringLiteral("0"));
    QCOMPARE(r.state.value("on_bus"), QStringLiteral("1"));

    // The same as text: the flow's own sentences.
    const CliProcess::Result text = cli.run({"backup", "--to", to}, setup());
    QCOMPARE(text.exitCode, 0);
    QVERIFY2(joined(text.out).contains("Switching Tavlo to transfer mode"), qPrintable(joined(text.out)));
    QVERIFY(joined(text.out).contains("Saved and checked: "));
    QCOMPARE(backupsIn(to).size(), 2);
}

void CliBackupTest::interruptKeepsNothing()
{
    QTemporaryDir dir;
    const CliProcess::Result r = cli.run({"backup", "--to", dir.path()}, setup(), [](const QString& out) {
        return out.contains(QLatin1String("Switching Tavlo to transfer mode"));
    });
    QCOMPARE(r.exitCode, 130);
    QVERIFY2(r.err.contains("Nothing was kept."), qPrintable(r.err));
    QVERIFY(backupsIn(dir.path()).isEmpty());
    QCOMPARE(r.state.value("mounted_TAVLO"), QStringLiteral("0"));
    QCOMPARE(r.state.value("on_bus"), QStringLiteral("1"));
}

void CliBackupTest::updateAndItsBackup_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("backedUp");
    QTest::newRow("by default") << QStringList{} << true;
    QTest::newRow("--backup") << QStringList{"--backup"} << true;
    QTest::newRow("--no-backup") << QStringList{"--no-backup"} << false;
}

void CliBackupTest::updateAndItsBackup()
{
    QFETCH(QStringList, options);
    QFETCH(bool, backedUp);
    QTemporaryDir dir;
    const CliProcess::Result r = cli.run(QStringList{"--json", "update", "--yes"} + options, withBackupsIn(dir.path()));
    const QStringList names = eventNames(events(r.out));
    QCOMPARE(backupsIn(dir.path()).size(), backedUp ? 1 : 0);
    QCOMPARE(names.contains("backup_done"), backedUp);
    // The backup is complete, and the instrument back in normal mode, before the download.
    if (backedUp)
        QVERIFY2(names.indexOf("backup_done") < names.indexOf("progress:download"), qPrintable(names.join(' ')));
    // The update then runs as without it (its update-mode message is not taken for a loss).
    QVERIFY2(r.exitCode == 0, qPrintable(joined(r.out) + r.err));
    QCOMPARE(r.state.value("applied"), QStringLiteral("1.6.0 ") + CliProcess::sha256(cli.updateFile()));
}

void CliBackupTest::listOfBackups()
{
    QTemporaryDir dir;
    const CliProcess::Result none = cli.run({"restore", "--from", dir.path()}, setup());
    QCOMPARE(none.exitCode, 0);
    QVERIFY(joined(none.out).contains("There is no backup yet."));

    const CliProcess::Result r = cli.run({"backup", "--to", dir.path(), "+++", "--json", "restore", "--from", dir.path()}, setup());
    QVERIFY2(r.exitCode == 0, qPrintable(joined(r.out) + r.err));
    const QJsonObject row = events(r.out).last();
    QCOMPARE(row.value("event").toString(), QStringLiteral("backup"));
    QCOMPARE(row.value("name").toString(), backupsIn(dir.path()).value(0));
    QVERIFY2(row.value("text").toString().contains("firmware 1.5.2"), qPrintable(row.value("text").toString()));
}

void CliBackupTest::restore_data()
{
    QTest::addColumn<QStringList>("restoreWords"); // after "restore @newest:DIR"
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<bool>("changeFirst");         // a file changed on the instrument after the backup
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<bool>("putBack");             // the card is as it was at the backup
    QTest::addColumn<QString>("text");             // in standard output or error

    QTest::newRow("changed file, --yes") << QStringList{"--yes"} << QByteArray() << true << 0 << true
                                         << "(changed on Tavlo)";
    QTest::newRow("changed file, nobody to ask") << QStringList{} << QByteArray("y\n") << true << 7 << false
                                                 << "nobody at a terminal to answer";
    QTest::newRow("nothing changed") << QStringList{"--yes"} << QByteArray() << false << 0 << true
                                     << "nothing was replaced";
}

void CliBackupTest::restore()
{
    QFETCH(QStringList, restoreWords);
    QFETCH(QByteArray, input);
    QFETCH(bool, changeFirst);
    QFETCH(int, exitCode);
    QFETCH(bool, putBack);
    QFETCH(QString, text);

    QTemporaryDir dir;
    // The card's fingerprint as it is at the backup (the content is the same on every run).
    const CliProcess::Result before = cli.run({"list"}, setup());
    QStringList words{"backup", "--to", dir.path(), "+++"};
    if (changeFirst)
        words << "@change" << "+++";
    words << "restore" << QStringLiteral("@newest:") + dir.path();
    const CliProcess::Result r = cli.run(words + restoreWords, setup("1.5.2", input));
    QVERIFY2(r.exitCode == exitCode, qPrintable(QStringLiteral("exit %1\n%2\n%3").arg(r.exitCode).arg(joined(r.out), r.err)));
    QVERIFY2((joined(r.out) + r.err).contains(text), qPrintable(joined(r.out) + r.err));
    QCOMPARE(r.state.value("storage") == before.state.value("storage"), putBack);
    QCOMPARE(r.state.value("mounted_TAVLO"), QStringLiteral("0"));
    QCOMPARE(r.state.value("on_bus"), QStringLiteral("1"));
}

void CliBackupTest::restoreJsonEvents()
{
    QTemporaryDir dir;
    const CliProcess::Result r = cli.run({"backup", "--to", dir.path(), "+++", "@change", "+++", "--json", "restore",
                                          QStringLiteral("@newest:") + dir.path(), "--yes"}, setup());
    QVERIFY2(r.exitCode == 0, qPrintable(joined(r.out) + r.err));
    QList<QJsonObject> list;
    for (const QJsonObject& o : events(r.out)) {
        if (o.value("event").toString().startsWith(QLatin1String("restore")))
            list << o;
    }
    QCOMPARE(eventNames(list), (QStringList{"restore_started", "restore_step:checking", "restore_step:entering",
                                            "restore_step:comparing", "restore_differing", "restore_step:writing",
                                            "restore_progress", "restore_step:leaving", "restore_done"}));
    // The one file the instrument changed, named as the question names it; it is written back.
    const QJsonArray differing = list.at(4).value("files").toArray();
    QCOMPARE(differing.size(), 1);
    QVERIFY(differing.at(0).toString().endsWith(QLatin1String(" (changed on Tavlo)")));
    QVERIFY2(r.err.contains("harness: changed " + differing.at(0).toString().section(" (", 0, 0)), qPrintable(r.err));
    QCOMPARE(list.last().value("files").toInt(), 1);
    QCOMPARE(list.last().value("folder").toString(), QDir(dir.path()).filePath(backupsIn(dir.path()).value(0)));
}

void CliBackupTest::changedBackupIsRefusedBeforeTheInstrumentIsTouched()
{
    QTemporaryDir dir;
    const CliProcess::Result made = cli.run({"backup", "--to", dir.path()}, setup());
    QCOMPARE(made.exitCode, 0);
    const QString backup = QDir(dir.path()).filePath(backupsIn(dir.path()).value(0));
    // A file of the backup changed afterwards: the largest one, whatever its name.
    QString victim;
    qint64 largest = -1;
    QDirIterator it(backup, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (it.fileName() != QLatin1String("manifest.json") && it.fileInfo().size() > largest) {
            largest = it.fileInfo().size();
            victim = path;
        }
    }
    QVERIFY(!victim.isEmpty());
    QFile file(victim);
    QVERIFY(file.open(QIODevice::ReadWrite));
    file.seek(0);
    file.write("x");
    file.close();

    const CliProcess::Result r = cli.run({"--json", "restore", backup, "--yes"}, setup());
    QVERIFY2(r.exitCode == 13, qPrintable(QStringLiteral("exit %1\n%2\n%3").arg(r.exitCode).arg(joined(r.out), r.err)));
    QVERIFY2(r.err.contains(QFileInfo(victim).fileName()), qPrintable(r.err));
    QCOMPARE(r.state.value("woken"), QStringLiteral("0"));
    QVERIFY(eventNames(events(r.out)).contains("restore_failed"));
}

QTEST_GUILESS_MAIN(CliBackupTest)
#include "tst_cli_backup.moc"
