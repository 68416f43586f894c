// "tavlo --help", the manual page and the README against the command line's table: each
// option and exit code of the table is in all of them, in its place, and none has one the
// table lacks; the parser takes every option the table names; the manual page is clean roff.
#include "CliHelpTable.h"
#include "CliOptions.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTest>

namespace {

QString readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

QString manPage()
{
    return readAll(QStringLiteral(TAVLO_CLI_PAGES "/tavlo.1"));
}

// The lines of one section of the manual page ("OPTIONS"), up to the next.
QStringList manSection(const QString& name)
{
    const QStringList lines = manPage().split(QLatin1Char('\n'));
    const int start = lines.indexOf(QStringLiteral(".SH ") + name);
    if (start < 0)
        return {};
    int end = start + 1;
    while (end < lines.size() && !lines.at(end).startsWith(QLatin1String(".SH ")))
        ++end;
    return lines.mid(start + 1, end - start - 1);
}

// The headings (the line after each .TP) of a part of the manual page.
QStringList headings(const QStringList& lines)
{
    QStringList out;
    for (int i = 0; i + 1 < lines.size(); ++i)
        if (lines.at(i) == QLatin1String(".TP"))
            out << lines.at(i + 1);
    return out;
}

QString roff(const char* name)
{
    return QStringLiteral("\\fB") + QString::fromLatin1(name).replace(QLatin1Char('-'), QStringLiteral("\\-"))
        + QStringLiteral("\\fR");
}

QString help()
{
    static QString text;
    if (text.isEmpty()) {
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        env.insert(QStringLiteral("LANGUAGE"), QStringLiteral("C"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(TAVLO_CLI), {QStringLiteral("--help")});
        if (program.waitForFinished(30000) && program.exitCode() == 0)
            text = QString::fromUtf8(program.readAllStandardOutput());
    }
    return text;
}

// The lines of the help from a heading ("Options of update:") to the next empty line.
QStringList helpBlock(const QString& heading)
{
    const QStringList lines = help().split(QLatin1Char('\n'));
    const int start = lines.indexOf(heading);
    if (start < 0)
        return {};
    int end = start + 1;
    while (end < lines.size() && !lines.at(end).isEmpty())
        ++end;
    return lines.mid(start + 1, end - start - 1);
}

// The codes in the README's exit code table (the one after the line "Exit codes:").
QList<int> readmeCodes()
{
    const QStringList lines = readAll(QStringLiteral(TAVLO_README)).split(QLatin1Char('\n'));
    QList<int> codes;
    int i = lines.indexOf(QStringLiteral("Exit codes:"));
    if (i < 0)
        return codes;
    for (++i; i < lines.size() && (lines.at(i).isEmpty() || lines.at(i).startsWith(QLatin1Char('|'))); ++i) {
        const QRegularExpressionMatch row = QRegularExpression(QStringLiteral("^\\| (\\d+) \\|")).match(lines.at(i));
        if (row.hasMatch())
            codes << row.captured(1).toInt();
        if (lines.at(i).isEmpty() && !codes.isEmpty())
            break;
    }
    return codes;
}

// The first line that the expression matches somewhere in; -1 when none.
int lineMatching(const QStringList& lines, const QRegularExpression& expression)
{
    for (int i = 0; i < lines.size(); ++i)
        if (expression.match(lines.at(i)).hasMatch())
            return i;
    return -1;
}

} // namespace

class CliHelpTest : public QObject
{
    Q_OBJECT

private:
    static void options_data();

private Q_SLOTS:
    void optionInHelp_data() { options_data(); }
    void optionInHelp();
    void optionInManPage_data() { options_data(); }
    void optionInManPage();
    void optionTakenByTheParser_data() { options_data(); }
    void optionTakenByTheParser();
    void exitCode_data();
    void exitCode();
    void nothingBeyondTheTable_data();
    void nothingBeyondTheTable();
    void manPageIsCleanRoff();
};

void CliHelpTest::options_data()
{
    QTest::addColumn<int>("index");
    const auto& options = CliHelpTable::options();
    for (int i = 0; i < int(options.size()); ++i)
        QTest::addRow("%s %s", *options[i].command ? options[i].command : "every command", options[i].longName) << i;
}

void CliHelpTest::optionInHelp()
{
    QFETCH(int, index);
    const CliHelpTable::Option& option = CliHelpTable::options().at(index);
    QVERIFY2(!help().isEmpty(), "tavlo --help printed nothing or failed");
    const QString heading = *option.command ? QStringLiteral("Options of %1:").arg(QLatin1String(option.command))
                                            : QStringLiteral("Options:");
    QString name = QLatin1String(option.longName);
    if (*option.shortName)
        name = QLatin1String(option.shortName) + QStringLiteral(", ") + name;
    if (*option.valueName)
        name += QLatin1Char(' ') + QLatin1String(option.valueName);
    const QRegularExpression line(QStringLiteral("^  ") + QRegularExpression::escape(name) + QStringLiteral("(  |$)"));
    const QStringList block = helpBlock(heading);
    QVERIFY2(lineMatching(block, line) >= 0, qPrintable(heading + QLatin1Char('\n') + block.join(QLatin1Char('\n'))));
    // A command's own options also stand in its usage line.
    if (*option.command) {
        const QStringList commands = helpBlock(QStringLiteral("Commands:"));
        const int usage = lineMatching(commands, QRegularExpression(QStringLiteral("^  ") + QLatin1String(option.command) + QLatin1Char(' ')));
        QVERIFY(usage >= 0);
        QVERIFY2(commands.at(usage).contains(QLatin1String(option.longName)), qPrintable(commands.at(usage)));
    }
}

void CliHelpTest::optionInManPage()
{
    QFETCH(int, index);
    const CliHelpTable::Option& option = CliHelpTable::options().at(index);
    QVERIFY2(!manPage().isEmpty(), TAVLO_CLI_PAGES "/tavlo.1 is missing");
    QStringList part = manSection(QStringLiteral("OPTIONS"));
    if (*option.command) {
        // Under the command's own heading in COMMANDS.
        const QStringList commands = manSection(QStringLiteral("COMMANDS"));
        const int start = commands.indexOf(QStringLiteral(".SS ") + QLatin1String(option.command));
        QVERIFY2(start >= 0, option.command);
        int end = start + 1;
        while (end < commands.size() && !commands.at(end).startsWith(QLatin1String(".SS ")))
            ++end;
        part = commands.mid(start, end - start);
    }
    bool found = false;
    for (const QString& heading : headings(part))
        found = found || heading.startsWith(*option.shortName ? roff(option.shortName) : roff(option.longName));
    QVERIFY2(found, qPrintable(part.join(QLatin1Char('\n'))));
    if (*option.valueName)
        QVERIFY(headings(part).join(QLatin1Char('\n')).contains(QStringLiteral("\\fI%1\\fR").arg(QLatin1String(option.valueName))));
}

void CliHelpTest::optionTakenByTheParser()
{
    QFETCH(int, index);
    const CliHelpTable::Option& option = CliHelpTable::options().at(index);
    const QString command = *option.command ? QLatin1String(option.command) : QStringLiteral("list");
    QStringList words{command};
    for (const char* name : {option.shortName, option.longName}) {
        if (!*name)
            continue;
        QStringList line = words;
        line << QLatin1String(name);
        if (option.value == CliHelpTable::Value::Url)
            line << QStringLiteral("https://mirror.example/");
        else if (option.value != CliHelpTable::Value::None)
            line << QStringLiteral("1.4.0");
        const CliOptions parsed = CliOptions::parse(line);
        QVERIFY2(parsed.ok(), qPrintable(line.join(QLatin1Char(' ')) + QStringLiteral(": ") + parsed.error));
        if (*option.command && qstrcmp(option.longName, "--version") != 0) {
            // A command's own option is refused after another command.
            line[0] = command == QLatin1String("check") ? QStringLiteral("list") : QStringLiteral("check");
            QVERIFY2(!CliOptions::parse(line).ok(), qPrintable(line.join(QLatin1Char(' '))));
        }
    }
}

void CliHelpTest::exitCode_data()
{
    QTest::addColumn<int>("code");
    for (const CliHelpTable::ExitCode& exit : CliHelpTable::exitCodes())
        QTest::addRow("%d", exit.code) << exit.code;
}

void CliHelpTest::exitCode()
{
    QFETCH(int, code);
    const QRegularExpression helpLine(QStringLiteral("^  %1 +\\S").arg(code));
    QVERIFY2(lineMatching(helpBlock(QStringLiteral("Exit codes:")), helpLine) >= 0, qPrintable(help()));
    QVERIFY2(headings(manSection(QStringLiteral("EXIT STATUS"))).contains(QStringLiteral(".B %1").arg(code)),
             qPrintable(manSection(QStringLiteral("EXIT STATUS")).join(QLatin1Char('\n'))));
    QVERIFY2(readmeCodes().contains(code), "the README's exit code table lacks it");
}

void CliHelpTest::nothingBeyondTheTable_data()
{
    QTest::addColumn<QString>("document");
    QTest::newRow("help") << "help";
    QTest::newRow("manual page") << "man";
    QTest::newRow("README") << "readme";
}

void CliHelpTest::nothingBeyondTheTable()
{
    QFETCH(QString, document);
    QSet<int> table;
    for (const CliHelpTable::ExitCode& exit : CliHelpTable::exitCodes())
        table << exit.code;
    QList<int> codes;
    if (document == QLatin1String("help")) {
        for (const QString& line : helpBlock(QStringLiteral("Exit codes:")))
            codes << line.section(QLatin1Char(' '), 2, 2).toInt();
    } else if (document == QLatin1String("man")) {
        for (const QString& heading : headings(manSection(QStringLiteral("EXIT STATUS"))))
            codes << heading.mid(3).toInt();
    } else {
        codes = readmeCodes();
    }
    QCOMPARE(int(codes.size()), int(table.size()));
    for (int code : codes)
        QVERIFY2(table.contains(code), qPrintable(QStringLiteral("exit code %1 is not in the table").arg(code)));

    // Every option the help and the manual page name is one of the table's.
    QSet<QString> names;
    for (const CliHelpTable::Option& option : CliHelpTable::options())
        names << QLatin1String(option.shortName) << QLatin1String(option.longName);
    const QRegularExpression optionWord(document == QLatin1String("man") ? QStringLiteral("\\\\fB((?:\\\\-)+[a-z-]+(?:\\\\-[a-z]+)*)\\\\fR")
                                                                          : QStringLiteral("(?:^|[\\s\\[])(--?[a-z][a-z-]*)"));
    const QString text = document == QLatin1String("help") ? help()
        : document == QLatin1String("man") ? manSection(QStringLiteral("COMMANDS")).join(QLatin1Char('\n'))
                + manSection(QStringLiteral("OPTIONS")).join(QLatin1Char('\n'))
                                               : QString();
    auto it = optionWord.globalMatch(text);
    while (it.hasNext()) {
        const QString word = it.next().captured(1).replace(QStringLiteral("\\-"), QStringLiteral("-"));
        if (word != QLatin1String("--name")) // the OPTIONS section's "--name value"
            QVERIFY2(names.contains(word), qPrintable(word + QStringLiteral(" is not in the table")));
    }
}

void CliHelpTest::manPageIsCleanRoff()
{
    const QString groff = QStandardPaths::findExecutable(QStringLiteral("groff"));
    if (groff.isEmpty())
        QSKIP("groff is not installed (scripts/setup-debian.sh installs it)");
    QProcess check;
    check.start(groff, {QStringLiteral("-man"), QStringLiteral("-ww"), QStringLiteral("-z"),
                        QStringLiteral(TAVLO_CLI_PAGES "/tavlo.1")});
    QVERIFY(check.waitForFinished(30000));
    QCOMPARE(QString::fromUtf8(check.readAllStandardError()), QString());
    QCOMPARE(check.exitCode(), 0);

    // The NAME line as man-db's index reads it (apropos, whatis).
    const QString lexgrog = QStandardPaths::findExecutable(QStringLiteral("lexgrog"));
    if (lexgrog.isEmpty())
        QSKIP("lexgrog (man-db) is not installed");
    QProcess name;
    name.start(lexgrog, {QStringLiteral(TAVLO_CLI_PAGES "/tavlo.1")});
    QVERIFY(name.waitForFinished(30000));
    QCOMPARE(name.exitCode(), 0);
    QVERIFY2(name.readAllStandardOutput().contains("\"tavlo - "), "no NAME line");
}

QTEST_GUILESS_MAIN(CliHelpTest)
#include "tst_cli_help.moc"
