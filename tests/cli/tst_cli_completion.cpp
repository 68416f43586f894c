// tavlo's shell completions, as written for the package: the bash function run on command
// lines as bash hands them over, the fish completions asked by fish itself, and the zsh
// function read by zsh.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QStringList kCommands{"list", "check", "update", "transfer", "backup", "restore", "history", "doctor"};

struct Run
{
    bool finished = false;
    int exitCode = -1;
    QStringList lines;
    QString err;
};

Run run(const QString& program, const QStringList& arguments, const QString& folder)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), folder); // no shell configuration of the user's
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), folder);
    env.insert(QStringLiteral("XDG_DATA_HOME"), folder);
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    Run r;
    r.finished = process.waitForFinished(30000);
    r.exitCode = process.exitCode();
    r.lines = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    r.err = QString::fromUtf8(process.readAllStandardError());
    return r;
}

// A folder with an update file, one with a space in its name, and a subfolder.
bool fillFolder(const QTemporaryDir& dir)
{
    for (const char* name : {"fw.tvq", "my fw.tvq", "notes.txt"}) {
        QFile file(dir.filePath(QLatin1String(name)));
        if (!file.open(QIODevice::WriteOnly))
            return false;
    }
    return QDir(dir.path()).mkdir(QStringLiteral("fwdir"));
}

QString shellWord(const QString& word)
{
    return QLatin1Char('\'') + QString(word).replace(QLatin1Char('\''), QStringLiteral("'\\''")) + QLatin1Char('\'');
}

} // namespace

class CliCompletionTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bash_data();
    void bash();
    void fish_data();
    void fish();
    void syntax_data();
    void syntax();
};

void CliCompletionTest::bash_data()
{
    // words: COMP_WORDS as bash splits the line ("=" is a word of its own), the last one
    // being completed; expected: COMPREPLY, sorted; absent: names that must not be offered.
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("the commands") << QStringList{"tavlo", ""} << kCommands;
    QTest::newRow("a command begun") << QStringList{"tavlo", "up"} << QStringList{"update"};
    QTest::newRow("history begun") << QStringList{"tavlo", "hi"} << QStringList{"history"};
    QTest::newRow("history's options are every command's") << QStringList{"tavlo", "history", "--j"}
                                                           << QStringList{"--json"};
    QTest::newRow("after an option") << QStringList{"tavlo", "--json", ""} << kCommands;
    QTest::newRow("after an option's value") << QStringList{"tavlo", "--port", "p1", "c"}
                                             << QStringList{"check"};
    QTest::newRow("after --name=value") << QStringList{"tavlo", "--log-file", "=", "out.log", "t"}
                                        << QStringList{"transfer"};
    QTest::newRow("no word after the command") << QStringList{"tavlo", "list", ""} << QStringList{};
    QTest::newRow("update's options") << QStringList{"tavlo", "update", "--"}
                                      << QStringList{"--allow-downgrade", "--backup", "--file", "--help", "--json",
                                                     "--log-file", "--no-backup", "--port", "--release-server",
                                                     "--verbose", "--version", "--yes"};
    QTest::newRow("update's, before it") << QStringList{"tavlo", "--json", "update", "--a"}
                                         << QStringList{"--allow-downgrade"};
    QTest::newRow("transfer's own") << QStringList{"tavlo", "transfer", "--d"} << QStringList{"--done"};
    QTest::newRow("backup's own") << QStringList{"tavlo", "backup", "--t"} << QStringList{"--to"};
    QTest::newRow("restore's own") << QStringList{"tavlo", "restore", "--f"} << QStringList{"--from"};
    QTest::newRow("restore's yes") << QStringList{"tavlo", "restore", "--y"} << QStringList{"--yes"};
    QTest::newRow("the backups folder") << QStringList{"tavlo", "backup", "--to", "fwd"} << QStringList{"fwdir"};
    QTest::newRow("not another command's") << QStringList{"tavlo", "check", "--d"} << QStringList{};
    QTest::newRow("every command's") << QStringList{"tavlo", "check", "--v"}
                                     << QStringList{"--verbose", "--version"};
    QTest::newRow("the version to install") << QStringList{"tavlo", "update", "--version", ""} << QStringList{};
    QTest::newRow("the value skipped") << QStringList{"tavlo", "update", "--version", "1.4.0", "--y"}
                                       << QStringList{"--yes"};
    QTest::newRow("update file") << QStringList{"tavlo", "update", "--file", "f"}
                                 << QStringList{"fw.tvq", "fwdir"};
    QTest::newRow("update file with a space") << QStringList{"tavlo", "update", "--file", "my"}
                                              << QStringList{"my fw.tvq"};
    QTest::newRow("update file after =") << QStringList{"tavlo", "update", "--file", "=", "n"}
                                         << QStringList{"notes.txt"};
    QTest::newRow("right after =") << QStringList{"tavlo", "--log-file", "="}
                                   << QStringList{"fw.tvq", "fwdir", "my fw.tvq", "notes.txt"};
    QTest::newRow("release server") << QStringList{"tavlo", "--release-server", ""} << QStringList{"https://"};
    QTest::newRow("port names are not guessed") << QStringList{"tavlo", "--port", ""} << QStringList{};
}

void CliCompletionTest::bash()
{
    QFETCH(QStringList, words);
    QFETCH(QStringList, expected);
    const QString bash = QStandardPaths::findExecutable(QStringLiteral("bash"));
    if (bash.isEmpty())
        QSKIP("bash is not installed");
    QTemporaryDir dir;
    QVERIFY(dir.isValid() && fillFolder(dir));
    QStringList quoted;
    for (const QString& word : words)
        quoted << shellWord(word);
    const QString script = QStringLiteral("source %1 || exit 3\n"
                                          "COMP_WORDS=(%2); COMP_CWORD=%3\n"
                                          "_tavlo || exit 4\n"
                                          "printf '%s\\n' \"${COMPREPLY[@]}\" | sort\n")
                               .arg(shellWord(QStringLiteral(TAVLO_CLI_PAGES "/tavlo.bash")),
                                    quoted.join(QLatin1Char(' ')))
                               .arg(words.size() - 1);
    const Run r = run(bash, {QStringLiteral("--norc"), QStringLiteral("--noprofile"), QStringLiteral("-c"), script},
                      dir.path());
    QVERIFY(r.finished);
    QVERIFY2(r.exitCode == 0 && r.err.isEmpty(), qPrintable(r.err));
    expected.sort();
    QCOMPARE(r.lines, expected);
}

void CliCompletionTest::fish_data()
{
    // line: what is typed; offered: names that must be among the answers; absent: names
    // that must not.
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("offered");
    QTest::addColumn<QStringList>("absent");

    QTest::newRow("the commands") << "tavlo " << kCommands << QStringList{"fw.tvq"};
    QTest::newRow("no command after one") << "tavlo list " << QStringList{} << kCommands;
    QTest::newRow("update's options") << "tavlo update --" << QStringList{"--file", "--yes", "--allow-downgrade", "--json"}
                                      << QStringList{"--done"};
    QTest::newRow("backup's and restore's own") << "tavlo restore --" << QStringList{"--from", "--yes"}
                                                << QStringList{"--to", "--file", "--done"};
    QTest::newRow("not another command's") << "tavlo check --" << QStringList{"--json", "--version"}
                                           << QStringList{"--file", "--yes", "--done"};
    QTest::newRow("transfer's own") << "tavlo transfer --" << QStringList{"--done"} << QStringList{"--file"};
    QTest::newRow("update file") << "tavlo update --file f" << QStringList{"fw.tvq"} << QStringList{"notes.txt"};
}

void CliCompletionTest::fish()
{
    QFETCH(QString, line);
    QFETCH(QStringList, offered);
    QFETCH(QStringList, absent);
    const QString fish = QStandardPaths::findExecutable(QStringLiteral("fish"));
    if (fish.isEmpty())
        QSKIP("fish is not installed (scripts/setup-debian.sh installs it)");
    QTemporaryDir dir;
    QVERIFY(dir.isValid() && fillFolder(dir));
    const QString script = QStringLiteral("source %1; or exit 3; complete -C %2")
                               .arg(shellWord(QStringLiteral(TAVLO_CLI_PAGES "/tavlo.fish")), shellWord(line));
    const Run r = run(fish, {QStringLiteral("--no-config"), QStringLiteral("-c"), script}, dir.path());
    QVERIFY(r.finished);
    QVERIFY2(r.exitCode == 0 && r.err.isEmpty(), qPrintable(r.err));
    QStringList names;
    for (const QString& answer : r.lines)
        names << answer.section(QLatin1Char('\t'), 0, 0);
    for (const QString& name : offered)
        QVERIFY2(names.contains(name), qPrintable(name + QStringLiteral(" not in ") + names.join(QLatin1Char(' '))));
    for (const QString& name : absent)
        QVERIFY2(!names.contains(name), qPrintable(name + QStringLiteral(" in ") + names.join(QLatin1Char(' '))));
}

void CliCompletionTest::syntax_data()
{
    QTest::addColumn<QString>("shell");
    QTest::addColumn<QString>("file");
    QTest::newRow("bash") << "bash" << "tavlo.bash";
    QTest::newRow("zsh") << "zsh" << "_tavlo";
    QTest::newRow("fish") << "fish" << "tavlo.fish";
}

void CliCompletionTest::syntax()
{
    QFETCH(QString, shell);
    QFETCH(QString, file);
    const QString program = QStandardPaths::findExecutable(shell);
    if (program.isEmpty())
        QSKIP(qPrintable(shell + QStringLiteral(" is not installed (scripts/setup-debian.sh installs it)")));
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = QStringLiteral(TAVLO_CLI_PAGES "/") + file;
    QVERIFY2(QFile::exists(path), qPrintable(path));
    const Run r = run(program, {QStringLiteral("-n"), path}, dir.path());
    QVERIFY(r.finished);
    QVERIFY2(r.exitCode == 0 && r.err.isEmpty(), qPrintable(r.err));
}

QTEST_GUILESS_MAIN(CliCompletionTest)
#include "tst_cli_completion.moc"
