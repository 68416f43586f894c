// The command line's pure parts and the session log's files.
#include "CliOptions.h"
#include "CliOutput.h"
#include "DeviceLog.h"
#include "InstrumentScan.h"
#include "SessionLog.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

#include <cstdio>

#include <unistd.h>

using Command = CliOptions::Command;
Q_DECLARE_METATYPE(CliOptions::Command)

class CliPartsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data();
    void parse();
    void parseErrors_data();
    void parseErrors();
    void progressBar();
    void portNames_data();
    void portNames();
    void sysExInHex();
    void logLines();
    void logKeepsTheLastSessions();
    void messagesBeforeTheLogGoIntoIt();
};

void CliPartsTest::parse_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<Command>("command");
    QTest::addColumn<QString>("fields"); // the options that came out set, in a fixed order

    QTest::newRow("list") << QStringList{"list"} << Command::List << QString();
    QTest::newRow("options first") << QStringList{"--json", "-v", "check"} << Command::Check << "json verbose";
    QTest::newRow("options after") << QStringList{"check", "--json", "--verbose"} << Command::Check << "json verbose";
    QTest::newRow("update file") << QStringList{"update", "--file", "/a/b.tvq", "--yes"} << Command::Update
                                 << "yes file=/a/b.tvq";
    QTest::newRow("update file=") << QStringList{"update", "--file=/a b.tvq", "-y"} << Command::Update
                                  << "yes file=/a b.tvq";
    QTest::newRow("update version") << QStringList{"update", "--version", "1.4.0", "--allow-downgrade"}
                                    << Command::Update << "downgrade version=1.4.0";
    QTest::newRow("update version=") << QStringList{"update", "--version=1.4.0"} << Command::Update
                                     << "version=1.4.0";
    QTest::newRow("program version") << QStringList{"--version"} << Command::None << "showVersion";
    QTest::newRow("program version after list") << QStringList{"list", "--version"} << Command::List
                                                << "showVersion";
    QTest::newRow("help wins") << QStringList{"-h"} << Command::None << "help";
    QTest::newRow("transfer done") << QStringList{"transfer", "--done"} << Command::Transfer << "done";
    QTest::newRow("backup to") << QStringList{"backup", "--to", "/b"} << Command::Backup << "to=/b";
    QTest::newRow("restore a name") << QStringList{"restore", "2026-12-09 14-03", "-y"} << Command::Restore
                                    << "yes backup=2026-12-09 14-03";
    QTest::newRow("restore, options first") << QStringList{"--from", "/b", "restore", "--yes", "x"} << Command::Restore
                                            << "yes backup=x from=/b";
    QTest::newRow("restore lists") << QStringList{"restore"} << Command::Restore << QString();
    QTest::newRow("update without backup") << QStringList{"update", "--no-backup"} << Command::Update << "backup=off";
    QTest::newRow("update with backup") << QStringList{"update", "--backup", "--backup"} << Command::Update << "backup=on";
    QTest::newRow("common values") << QStringList{"--release-server", "https://mirror.example/x", "--log-file",
                                                  "/tmp/l.log", "--port", "Tavlo:Tavlo MIDI 1 24:0", "list"}
                                   << Command::List
                                   << "server=https://mirror.example/x log=/tmp/l.log port=Tavlo:Tavlo MIDI 1 24:0";
}

void CliPartsTest::parse()
{
    QFETCH(QStringList, words);
    QFETCH(Command, command);
    QFETCH(QString, fields);
    const CliOptions o = CliOptions::parse(words);
    QVERIFY2(o.ok(), qPrintable(o.error));
    QCOMPARE(o.command, command);
    QStringList set;
    if (o.json) set << "json";
    if (o.verbose) set << "verbose";
    if (o.help) set << "help";
    if (o.showVersion) set << "showVersion";
    if (o.yes) set << "yes";
    if (o.allowDowngrade) set << "downgrade";
    if (o.done) set << "done";
    if (!o.file.isEmpty()) set << "file=" + o.file;
    if (!o.version.isEmpty()) set << "version=" + o.version;
    if (!o.releaseServer.isEmpty()) set << "server=" + o.releaseServer;
    if (!o.logFile.isEmpty()) set << "log=" + o.logFile;
    if (!o.port.isEmpty()) set << "port=" + o.port;
    if (o.backupFirst != CliOptions::BackupChoice::Default)
        set << (o.backupFirst == CliOptions::BackupChoice::On ? "backup=on" : "backup=off");
    if (!o.backupsTo.isEmpty()) set << "to=" + o.backupsTo;
    if (!o.backup.isEmpty()) set << "backup=" + o.backup;
    if (!o.backupsFrom.isEmpty()) set << "from=" + o.backupsFrom;
    QCOMPARE(set.join(' '), fields);
}

void CliPartsTest::parseErrors_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QString>("error");

    QTest::newRow("nothing") << QStringList{} << "No command given.";
    QTest::newRow("unknown command") << QStringList{"upgrade"} << "Unknown command \"upgrade\"";
    QTest::newRow("two commands") << QStringList{"list", "check"} << "Unexpected word \"check\"";
    QTest::newRow("unknown option") << QStringList{"list", "--colour"} << "Unknown option \"--colour\"";
    QTest::newRow("single dash unknown") << QStringList{"list", "-x"} << "Unknown option \"-x\"";
    QTest::newRow("value missing at end") << QStringList{"update", "--file"} << "--file needs a value";
    QTest::newRow("value is an option") << QStringList{"update", "--file", "--yes"} << "--file needs a value";
    QTest::newRow("empty value") << QStringList{"update", "--file="} << "--file needs a value";
    QTest::newRow("flag with value") << QStringList{"list", "--json=1"} << "--json takes no value";
    QTest::newRow("update version missing") << QStringList{"update", "--version"} << "needs the version";
    QTest::newRow("file with list") << QStringList{"list", "--file", "a.tvq"} << "--file belongs to the command update";
    QTest::newRow("yes with check") << QStringList{"check", "--yes"} << "--yes belongs to the commands update and restore";
    QTest::newRow("downgrade with transfer") << QStringList{"transfer", "--allow-downgrade"}
                                             << "--allow-downgrade belongs";
    QTest::newRow("done with update") << QStringList{"update", "--done"} << "--done belongs to the command transfer";
    QTest::newRow("file and version") << QStringList{"update", "--file", "a.tvq", "--version", "1.0.0"}
                                      << "either --version or --file";
    QTest::newRow("server not a URL") << QStringList{"check", "--release-server", "mirror"} << "not an https";
    QTest::newRow("server other scheme") << QStringList{"check", "--release-server=file:///x"} << "not an https";
    QTest::newRow("server over plain http") << QStringList{"check", "--release-server=http://mirror.example/x"}
                                            << "not an https";
    QTest::newRow("to with restore") << QStringList{"restore", "--to", "/b"} << "--to belongs to the command backup";
    QTest::newRow("from with backup") << QStringList{"backup", "--from", "/b"} << "--from belongs to the command restore";
    QTest::newRow("yes with backup") << QStringList{"backup", "--yes"} << "--yes belongs to the commands update and restore";
    QTest::newRow("backup with transfer") << QStringList{"transfer", "--no-backup"} << "--no-backup belongs to the command update";
    QTest::newRow("backup off and on") << QStringList{"update", "--no-backup", "--backup"} << "either --backup or --no-backup";
    QTest::newRow("a word after backup") << QStringList{"backup", "now"} << "Unexpected word \"now\"";
    QTest::newRow("error before help") << QStringList{"--frob", "--help"} << "Unknown option \"--frob\"";
}

void CliPartsTest::parseErrors()
{
    QFETCH(QStringList, words);
    QFETCH(QString, error);
    const CliOptions o = CliOptions::parse(words);
    QVERIFY(!o.ok());
    QVERIFY2(o.error.contains(error), qPrintable(o.error));
}

void CliPartsTest::progressBar()
{
    QCOMPARE(CliOutput::bar("Copy", 0, 10), QStringLiteral("Copy [          ]   0%"));
    QCOMPARE(CliOutput::bar("Copy", 45, 10), QStringLiteral("Copy [####      ]  45%"));
    QCOMPARE(CliOutput::bar("Copy", 100, 10), QStringLiteral("Copy [##########] 100%"));
    QCOMPARE(CliOutput::bar("Copy", 250, 10), QStringLiteral("Copy [##########] 100%"));
    QCOMPARE(CliOutput::bar("Copy", -5, 10), QStringLiteral("Copy [          ]   0%"));
}

void CliPartsTest::portNames_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("wanted");
    QTest::addColumn<bool>("matches");
    QTest::newRow("same") << "Tavlo:Tavlo MIDI 1 24:0" << "Tavlo:Tavlo MIDI 1 24:0" << true;
    QTest::newRow("after re-enumeration") << "Tavlo:Tavlo MIDI 1 28:0" << "Tavlo:Tavlo MIDI 1 24:0" << true;
    QTest::newRow("without numbers") << "Tavlo:Tavlo MIDI 1 28:0" << "Tavlo:Tavlo MIDI 1" << true;
    QTest::newRow("other device") << "Tavlo Two:Tavlo Two MIDI 1 25:0" << "Tavlo:Tavlo MIDI 1 24:0" << false;
    QTest::newRow("prefix only") << "Tavlo:Tavlo MIDI 1 24:0" << "Tavlo" << false;
    QTest::newRow("windows name") << "Tavlo" << "Tavlo" << true;
}

void CliPartsTest::portNames()
{
    QFETCH(QString, port);
    QFETCH(QString, wanted);
    QFETCH(bool, matches);
    QCOMPARE(InstrumentScan::portMatches(port, wanted), matches);
}

void CliPartsTest::sysExInHex()
{
    QCOMPARE(DeviceLog::hex({0xF0, 0x7D, 0x01, 0x0A, 0xF7}), QStringLiteral("F0 7D 01 0A F7"));
    QCOMPARE(DeviceLog::hex({}), QString());
}

void CliPartsTest::logLines()
{
    const QDateTime when(QDate(2026, 12, 8), QTime(4, 30, 12, 345), Qt::UTC);
    QCOMPARE(SessionLog::formatLine(when, QtWarningMsg, "tavlo.storage", "no volume"),
             QStringLiteral("2026-12-08T04:30:12.345Z W tavlo.storage: no volume"));
    QCOMPARE(SessionLog::formatLine(when, QtDebugMsg, nullptr, "a\nb"),
             QStringLiteral("2026-12-08T04:30:12.345Z D default: a\n    b"));
    QCOMPARE(SessionLog::sessionFileName(when, 4711), QStringLiteral("session-20261208-043012-345-4711.log"));
}

void CliPartsTest::logKeepsTheLastSessions()
{
    QTemporaryDir dir;
    // Twelve older sessions, and a file that is not a session.
    for (int i = 0; i < 12; ++i) {
        QFile f(dir.filePath(QStringLiteral("session-202511%1-000000-000-1.log").arg(i + 10)));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QFile other(dir.filePath("notes.txt"));
    QVERIFY(other.open(QIODevice::WriteOnly));
    other.close();
    {
        SessionLog log = SessionLog::inFolder(dir.path());
        QVERIFY2(log.isOpen(), qPrintable(log.problem()));
        log.install(SessionLog::Echo::None);
        qInfo("hello %d", 1);
        QCOMPARE(SessionLog::sessionFiles(dir.path()).first(), log.path());
    }
    const QStringList kept = SessionLog::sessionFiles(dir.path());
    QCOMPARE(kept.size(), SessionLog::kKeptSessions);
    // The newest nine old ones stay beside the new one; the oldest three are gone.
    QVERIFY(kept.contains(dir.filePath("session-20251121-000000-000-1.log")));
    QVERIFY(kept.contains(dir.filePath("session-20251113-000000-000-1.log")));
    QVERIFY(!kept.contains(dir.filePath("session-20251112-000000-000-1.log")));
    QVERIFY(QFile::exists(dir.filePath("notes.txt")));
    QFile newest(kept.first());
    QVERIFY(newest.open(QIODevice::ReadOnly));
    QVERIFY(newest.readAll().contains(" I default: hello 1\n"));
}

void CliPartsTest::messagesBeforeTheLogGoIntoIt()
{
    // What the program's start says before it knows its log (Qt's warning about the runtime
    // folder): kept, then the log's first lines, in order; nothing reaches standard error.
    QTemporaryDir dir;
    QTemporaryFile capture;
    QVERIFY(capture.open());
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    QVERIFY(dup2(capture.handle(), STDERR_FILENO) >= 0);
    QString path;
    {
        SessionLog::holdMessages();
        qWarning("QStandardPaths: XDG_RUNTIME_DIR not set, defaulting to '/tmp/runtime-u'");
        qInfo("second before the log");
        SessionLog log = SessionLog::toFile(dir.filePath(QStringLiteral("run.log")));
        QVERIFY2(log.isOpen(), qPrintable(log.problem()));
        log.install(SessionLog::Echo::None);
        qInfo("after the log");
        path = log.path();
    }
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = written.readAll().split('\n');
    QVERIFY(lines.size() >= 3);
    QVERIFY2(lines.at(0).endsWith(" W default: QStandardPaths: XDG_RUNTIME_DIR not set, defaulting to '/tmp/runtime-u'"),
             lines.at(0).constData());
    QVERIFY(lines.at(1).endsWith(" I default: second before the log"));
    QVERIFY(lines.at(2).endsWith(" I default: after the log"));
    QVERIFY2(capture.readAll().isEmpty(), "something reached standard error");
}

QTEST_GUILESS_MAIN(CliPartsTest)
#include "tst_cli_parts.moc"
